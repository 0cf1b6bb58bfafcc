// The recorder's file dialog as Lorix.exe shows it (the system's Save As dialog for a WAV
// file), run under Wine by the Linux tests: it starts in the folder "LORIXs" of the current
// folder and writes the chosen path (UTF-8) to "chosen.txt" in the current folder. Exit code 0
// when a file was chosen, 1 when the dialog was cancelled.
//   lorix_file_dialog_probe.exe

// windows.h first: the other system headers build on it.
#include <windows.h>

#include <fstream>
#include <string>

#include "codec/win32/wide_text.h"
#include "recorder/open_save_dialog.h"
#include "recorder/win32/file_chooser_win32.h"

int main() {
  wchar_t current[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, current);
  const std::string folder = lorix::Narrow(current) + "\\LORIXs";
  const lorix::ChooseFile choose = lorix::Win32FileChooser([] { return HWND{}; });
  const auto chosen = choose(lorix::PrepareOpenSaveDialog(true, true, "", folder));
  if (!chosen) return 1;
  std::ofstream("chosen.txt", std::ios::binary) << *chosen;
  return 0;
}
