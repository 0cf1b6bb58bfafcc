#include "codec/install_layout.h"

#include <system_error>

namespace lorix {

namespace fs = std::filesystem;

bool IsInstalledProgramFolder(const fs::path& program_folder) {
  std::error_code error;
  return program_folder.filename() == "bin" &&
         fs::is_directory(program_folder.parent_path() / "share" / "lorix", error);
}

fs::path WindowsPlayerProgram(const fs::path& program_folder) {
  if (IsInstalledProgramFolder(program_folder)) {
    return program_folder.parent_path() / "lib" / "lorix" / "LorixPlayer.exe";
  }
  return program_folder / "LorixPlayer.exe";
}

fs::path ProgramDataFolder(const fs::path& program_folder) {
  if (IsInstalledProgramFolder(program_folder)) {
    return program_folder.parent_path() / "share" / "lorix";
  }
  return program_folder;
}

}  // namespace lorix
