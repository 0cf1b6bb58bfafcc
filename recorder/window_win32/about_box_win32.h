#pragma once

// The about box "Programm-Informationen" on Windows: a modal window over the main window with
// the version lines, the running time, the maker's contact lines and the recommendation mail.
// Its texts come from recorder/about_texts.h, as the Qt box's do.

// windows.h first: the other system headers build on it.
#include <windows.h>

#include <filesystem>
#include <string>

#include "audio/dialogs.h"
#include "desktop/win32/ui/window_base.h"
#include "recorder/about_texts.h"

namespace lorix {

struct AboutBoxTexts {
  // The program file's name up to its first '.'.
  std::string program_name = "LORIX";
  // Where "Empfehlung.txt" is looked for.
  std::filesystem::path program_folder;
  WallClock::time_point start_time = WallClock::now();
};

class Win32AboutBox : public WindowBase {
 public:
  Win32AboutBox(HINSTANCE instance, HWND owner, Dialogs& dialogs, AboutBoxTexts texts);
  ~Win32AboutBox();

  // Shows the box and returns when it is closed; the owner waits meanwhile.
  void ShowModal();

 protected:
  bool HandleMessage(UINT message, WPARAM w, LPARAM l, LRESULT& result) override;

 private:
  void CreateControls();
  void FormActivate();
  void LabelRunTimeMinutesClick();
  void LabelWebsiteClick();
  void LabelEMailsClick(int id);
  void ButtonRecommandClick();
  void ButtonCloseClick();
  HWND Control(int id) const { return GetDlgItem(handle(), id); }

  HINSTANCE instance_;
  HWND owner_;
  Dialogs& dialogs_;
  AboutBoxTexts texts_;
  HFONT font_ = nullptr;
  HFONT bold_font_ = nullptr;
  HFONT title_font_ = nullptr;
  bool open_ = false;
};

}  // namespace lorix
