#pragma once

// The system's Open and Save As dialogs (GetOpenFileNameW / GetSaveFileNameW), UTF-8 on the
// program's side.

// windows.h first: the other system headers build on it.
#include <windows.h>

#include <optional>
#include <string>

namespace lorix {

struct FileDialogSetup {
  HWND owner = nullptr;
  std::string title;
  std::string filter;             // entries separated by '|': description, pattern, …
  int filter_index = 1;           // 1-based pair of `filter` selected at first
  std::string default_extension;  // appended to a name typed without one
  bool save = false;
  bool overwrite_prompt = false;
  bool file_must_exist = false;
  std::string ok_word;  // the OK button's caption; the system's own when empty
  std::string initial_folder;
  std::string file_name;  // the name the dialog starts with
};

// The chosen path, or nothing when the user cancelled.
std::optional<std::string> ShowFileDialog(const FileDialogSetup& setup);

}  // namespace lorix
