#include "desktop/win32/ui/message_box_dialogs.h"

#include "codec/win32/wide_text.h"

namespace lorix {
namespace {

UINT IconStyle(DialogIcon icon) {
  switch (icon) {
    case DialogIcon::kInformation:
      return MB_ICONINFORMATION;
    case DialogIcon::kWarning:
      return MB_ICONWARNING;
    case DialogIcon::kError:
      return MB_ICONERROR;
    case DialogIcon::kQuestion:
      return MB_ICONQUESTION;
    case DialogIcon::kNone:
      break;
  }
  return 0;
}

}  // namespace

DialogAnswer Win32Dialogs::Show(const DialogRequest& request) {
  UINT style = IconStyle(request.icon) | MB_SETFOREGROUND;
  if (request.modality == DialogModality::kTaskModal) style |= MB_TASKMODAL;
  switch (request.buttons) {
    case DialogButtons::kOk:
      style |= MB_OK;
      break;
    // Questions hold the whole program until they are answered.
    case DialogButtons::kOkCancel:
      style |= MB_OKCANCEL | MB_TASKMODAL;
      break;
    case DialogButtons::kYesNo:
      style |= MB_YESNO | MB_TASKMODAL;
      break;
  }
  const int answer =
      MessageBoxW(owner_, Widen(request.text).c_str(), Widen(request.caption).c_str(), style);
  switch (answer) {
    case IDCANCEL:
      return DialogAnswer::kCancel;
    case IDYES:
      return DialogAnswer::kYes;
    case IDNO:
      return DialogAnswer::kNo;
    default:
      return DialogAnswer::kOk;
  }
}

}  // namespace lorix
