#pragma once

// The recorder's main window TFormStart on Windows, registered under the class "LORIX" so
// that a second start finds it. Like the Qt window it holds no decisions of its own: it
// implements RecorderWindowServices with Win32 means, routes the window's events (Timer1,
// the close request, the second start, dropped files, the menus) to RecorderApp and copies
// RecorderApp's state back onto the window.

// windows.h first: the other system headers build on it.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "audio/dialogs.h"
#include "desktop/win32/ui/window_base.h"
#include "recorder/about_texts.h"
#include "recorder/recorder_app.h"

namespace lorix {

class Win32SoundCardForm;
class Win32AboutBox;

class Win32MainWindow : public WindowBase {
 public:
  // Creates the window, hidden; boxes of the window's own go through `dialogs`.
  Win32MainWindow(HINSTANCE instance, Dialogs& dialogs, std::string program_name,
                  WallClock::time_point start_time);
  ~Win32MainWindow();

  // The program logic, made once the window exists; the window goes on without a sound-card
  // form until SetSoundCardForm.
  void StartApp(RecorderAppParts parts);
  void SetSoundCardForm(Win32SoundCardForm* form) { sound_card_form_ = form; }

  // Shows the window and asks for the first activation's start with `arguments`; relative
  // paths among them name files in `start_folder`.
  void Show(std::vector<std::string> arguments, std::wstring start_folder);

  RecorderApp& app() { return *app_; }

 protected:
  bool HandleMessage(UINT message, WPARAM w, LPARAM l, LRESULT& result) override;

 private:
  RecorderWindowServices Services();
  void Paint();
  void WMSecondInstance();
  void DropFiles(HDROP drop);
  void OpenHelp(const char* page);
  void MIInfoRegClick();
  std::string ResolveArgument(const std::string& argument) const;

  HINSTANCE instance_;
  Dialogs& dialogs_;
  std::string program_name_;
  WallClock::time_point start_time_;
  std::unique_ptr<RecorderApp> app_;
  std::unique_ptr<Win32AboutBox> about_box_;
  Win32SoundCardForm* sound_card_form_ = nullptr;
  std::vector<std::string> arguments_;
  std::wstring start_folder_;
};

}  // namespace lorix
