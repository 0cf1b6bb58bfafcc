// Where the recorder finds the user's folders on Linux: the home folder, the desktop's base
// folders and its documents folder.

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "codec/file_system.h"
#include "codec/install_layout.h"
#include "desktop/command_output.h"
#include "recorder/recorder_paths.h"
#include "recorder/settings_file.h"

namespace lorix {

namespace fs = std::filesystem;

namespace {

fs::path HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] == '/') return home;
  const passwd* entry = ::getpwuid(::getuid());
  return entry != nullptr && entry->pw_dir != nullptr ? fs::path(entry->pw_dir) : fs::path("/");
}

// An XDG base folder: the variable's value when it is an absolute path (relative ones are
// invalid by the desktop's rules), else `fallback` in the home folder.
fs::path XdgFolder(const char* variable, const char* fallback) {
  const char* value = std::getenv(variable);
  if (value != nullptr && value[0] == '/') return value;
  return HomeFolder() / fallback;
}

}  // namespace

RecorderPaths RecorderPaths::ForProgram(const fs::path& program_file,
                                        const std::function<fs::path()>& documents_folder) {
  const fs::path program_folder = program_file.parent_path();
  RecorderPaths p = ForProgramFolder(program_folder);
  if (!IsInstalledProgramFolder(program_folder)) {
    p.settings_file = SettingsFilePath(program_file);
    return p;
  }
  p.data_folder = ProgramDataFolder(program_folder);
  p.user_folder = XdgFolder("XDG_CONFIG_HOME", ".config") / "lorix";
  p.settings_file = p.user_folder / "LORIX.INI";
  p.player_program = WindowsPlayerProgram(program_folder);
  p.mail_text_mapi = UserOrDefaultFile(p.user_folder, p.data_folder, "MailTextMAPI.txt");
  p.mail_text_system = UserOrDefaultFile(p.user_folder, p.data_folder, "MailTextSystem.txt");
  p.lorixs_folder = documents_folder() / "LORIXs";
  p.UseTempsFolder(XdgFolder("XDG_CACHE_HOME", ".cache") / "lorix" / "TEMPs");
  return p;
}

fs::path UserDocumentsFolder() {
  const CommandOutput documents = RunAndCapture({"xdg-user-dir", "DOCUMENTS"});
  std::string folder = documents.output;
  while (!folder.empty() && (folder.back() == '\n' || folder.back() == '\r')) folder.pop_back();
  if (documents.exit_status == 0 && !folder.empty() && folder[0] == '/' &&
      KindOf(folder) == FileKind::kDirectory) {
    return folder;
  }
  return HomeFolder();
}

}  // namespace lorix
