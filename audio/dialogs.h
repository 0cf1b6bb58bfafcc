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

// Passes every box on to another Dialogs and knows whether one is open. A box runs an event
// loop of its own; windows ask here so that they refuse what would run into the handler that
// is waiting for the answer (a dropped file, for one).
class CountedDialogs : public Dialogs {
 public:
  explicit CountedDialogs(Dialogs& shown_by) : shown_by_(shown_by) {}

  DialogAnswer Show(const DialogRequest& request) override {
    ++open_;
    struct Closing {
      int& count;
      ~Closing() { --count; }
    } closing{open_};
    return shown_by_.Show(request);
  }

  bool BoxOpen() const { return open_ > 0; }

 private:
  Dialogs& shown_by_;
  int open_ = 0;
};

}  // namespace lorix
