#pragma once

// The recorder's main window TFormStart on Windows, registered under the class "LORIX" so
// that a second start finds it. Like the Qt window it holds no decisions of its own: it makes
// its controls and menus from the recorder's tables, implements RecorderWindowServices with
// Win32 means, routes the window's events (controls, menus and keys, Timer1, the close request,
// the second start, dropped files) to RecorderApp and copies RecorderApp's state back onto the
// window in one loop.

// windows.h first: the other system headers build on it.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "audio/dialogs.h"
#include "desktop/win32/ui/window_base.h"
#include "recorder/about_texts.h"
#include "recorder/form_commands.h"
#include "recorder/recorder_app.h"
#include "recorder/window_win32/form_controls_win32.h"
#include "recorder/window_win32/main_menu_win32.h"

namespace lorix {

class Win32SoundCardForm;
class Win32AboutBox;

class Win32MainWindow : public WindowBase {
 public:
  // Creates the window with its controls and menus, hidden; boxes of the window's own go
  // through `dialogs`.
  Win32MainWindow(HINSTANCE instance, Dialogs& dialogs, std::string program_name,
                  WallClock::time_point start_time);
  ~Win32MainWindow();

  // The program logic, made once the window exists.
  void StartApp(RecorderAppParts parts);
  void SetSoundCardForm(Win32SoundCardForm* form) { sound_card_form_ = form; }

  // Shows the window and asks for the first activation's start with `arguments`; relative
  // paths among them name files in `start_folder`.
  void Show(std::vector<std::string> arguments, std::wstring start_folder);

  // The program's first look at a message in the loop: the space bar and the key "1".
  bool PreFilter(MSG& message);
  HACCEL accelerators() const { return menu_.accelerators(); }

  RecorderApp& app() { return *app_; }

 protected:
  bool HandleMessage(UINT message, WPARAM w, LPARAM l, LRESULT& result) override;

 private:
  RecorderWindowServices Services();
  WindowCommands Commands();
  void Paint();
  void ShowBlocks();
  void Focus(FocusTarget target);
  void Command(int id, int code, HWND control);
  void Scroll(HWND control, int code);
  void WMSecondInstance();
  void DropFiles(HDROP drop);
  void OpenHelp(const char* page);
  void StartProgram(SystemProgram program);
  void MIInfoRegClick();
  std::string ResolveArgument(const std::string& argument) const;
  std::string Caption() const;

  HINSTANCE instance_;
  Dialogs& dialogs_;
  std::string program_name_;
  WallClock::time_point start_time_;
  Win32FormControls form_;
  Win32MainMenu menu_;
  std::unique_ptr<RecorderApp> app_;
  std::unique_ptr<Win32AboutBox> about_box_;
  Win32SoundCardForm* sound_card_form_ = nullptr;
  std::vector<std::string> arguments_;
  std::wstring start_folder_;
  std::string caption_shown_;
  // The track bar whose thumb the user holds.
  std::optional<FormControl> held_track_bar_;
};

}  // namespace lorix
