#include "desktop/win32/ui/file_dialog_win32.h"

#include <commdlg.h>

#include <algorithm>
#include <string_view>
#include <vector>

#include "codec/win32/wide_text.h"
#include "desktop/file_dialog_filter.h"

namespace lorix {
namespace {

// Room for the longest path the system knows.
constexpr std::size_t kPathRoom = 32768;

// Labels the OK button once the dialog is complete; the word comes in lCustData.
UINT_PTR CALLBACK OkWordHook(HWND dialog, UINT message, WPARAM, LPARAM l) {
  if (message == WM_INITDIALOG) {
    const auto* setup = reinterpret_cast<const OPENFILENAMEW*>(l);
    SetWindowLongPtrW(dialog, DWLP_USER, static_cast<LONG_PTR>(setup->lCustData));
  } else if (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(l)->code == CDN_INITDONE) {
    const LONG_PTR word = GetWindowLongPtrW(dialog, DWLP_USER);
    // The hook's window is a child of the dialog itself.
    SendMessageW(GetParent(dialog), CDM_SETCONTROLTEXT, IDOK, static_cast<LPARAM>(word));
  }
  return 0;
}

const wchar_t* OrNull(const std::wstring& text) {
  return text.empty() ? nullptr : text.c_str();
}

}  // namespace

std::optional<std::string> ShowFileDialog(const FileDialogSetup& setup) {
  const std::wstring filter = Widen(NulSeparatedFilter(setup.filter));
  const std::wstring title = Widen(setup.title);
  const std::wstring extension = Widen(DialogDefaultExtension(setup.default_extension));
  const std::wstring folder = Widen(BackslashPath(setup.initial_folder));
  const std::wstring ok_word = Widen(setup.ok_word);
  const std::wstring start_name = Widen(BackslashPath(setup.file_name));

  std::vector<wchar_t> file(kPathRoom, L'\0');
  start_name.copy(file.data(), std::min(start_name.size(), kPathRoom - 1));

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = setup.owner;
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = static_cast<DWORD>(setup.filter_index > 0 ? setup.filter_index : 1);
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrInitialDir = OrNull(folder);
  dialog.lpstrTitle = OrNull(title);
  dialog.lpstrDefExt = OrNull(extension);
  // The working directory stays where it was: the programs' relative paths depend on it.
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_ENABLESIZING;
  if (setup.overwrite_prompt) dialog.Flags |= OFN_OVERWRITEPROMPT;
  if (setup.file_must_exist) dialog.Flags |= OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
  if (!ok_word.empty()) {
    dialog.Flags |= OFN_ENABLEHOOK;
    dialog.lpfnHook = &OkWordHook;
    dialog.lCustData = reinterpret_cast<LPARAM>(ok_word.c_str());
  }

  const BOOL chosen = setup.save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
  if (!chosen) return std::nullopt;
  return Narrow(std::wstring_view(file.data()));
}

}  // namespace lorix
