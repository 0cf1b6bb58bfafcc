#pragma once

#include <string>

namespace lorix {

enum class DialogIcon { kNone, kInformation, kWarning, kError, kQuestion };
enum class DialogButtons { kOk, kOkCancel, kYesNo };
enum class DialogAnswer { kOk, kCancel, kYes, kNo };
// kTaskModal: the box holds every window of the program until it is answered (questions always
// do).
enum class DialogModality { kDefault, kTaskModal };

// One message box or question, with the exact German texts the user sees.
struct DialogRequest {
  std::string caption;
  std::string text;
  DialogIcon icon = DialogIcon::kInformation;
  DialogButtons buttons = DialogButtons::kOk;
  DialogModality modality = DialogModality::kDefault;
};

// Every message box and question of a program goes through one object of this kind. The real
// one shows the toolkit's dialog; tests put in one that records the texts and answers as told.
class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual DialogAnswer Show(const DialogRequest& request) = 0;

  // An OK box with the error icon, the form most error reports take.
  void ShowError(const std::string& caption, const std::string& text) {
    Show({caption, text, DialogIcon::kError, DialogButtons::kOk});
  }
};

}  // namespace lorix
