#include "recorder/recorder_paths.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <system_error>

#include "codec/install_layout.h"
#include "codec/own_folder.h"
#include "desktop/command_output.h"
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

// The user's own copy of a text file when there is one, else the one that came with the program.
fs::path UserOrDefault(const fs::path& user_folder, const fs::path& data_folder,
                       const char* file_name) {
  std::error_code error;
  const fs::path own = user_folder / file_name;
  return fs::is_regular_file(own, error) ? own : data_folder / file_name;
}

}  // namespace

RecorderPaths RecorderPaths::ForProgramFolder(const fs::path& program_folder) {
  RecorderPaths p;
  p.program_folder = program_folder;
  p.data_folder = program_folder;
  p.user_folder = program_folder;
  p.settings_file = program_folder / "LORIX.INI";
  p.lorixs_folder = program_folder / "LORIXs";
  p.player_program = program_folder / "LorixPlayer.exe";
  p.mail_text_mapi = program_folder / "MailTextMAPI.txt";
  p.mail_text_system = program_folder / "MailTextSystem.txt";
  p.UseTempsFolder(program_folder / "TEMPs");
  return p;
}

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
  p.mail_text_mapi = UserOrDefault(p.user_folder, p.data_folder, "MailTextMAPI.txt");
  p.mail_text_system = UserOrDefault(p.user_folder, p.data_folder, "MailTextSystem.txt");
  p.lorixs_folder = documents_folder() / "LORIXs";
  p.UseTempsFolder(XdgFolder("XDG_CACHE_HOME", ".cache") / "lorix" / "TEMPs");
  return p;
}

void RecorderPaths::UseTempsFolder(const fs::path& folder) {
  temps_folder = folder;
  temp_info = folder / "TempInfo.txt";
  temp_recording = folder / "TempRecording.wav";
  temp_compressed = folder / "TempCompressed.wav";
}

fs::path UserDocumentsFolder() {
  const CommandOutput documents = RunAndCapture({"xdg-user-dir", "DOCUMENTS"});
  std::string folder = documents.output;
  while (!folder.empty() && (folder.back() == '\n' || folder.back() == '\r')) folder.pop_back();
  std::error_code error;
  if (documents.exit_status == 0 && !folder.empty() && folder[0] == '/' &&
      fs::is_directory(folder, error)) {
    return folder;
  }
  return HomeFolder();
}

void CreateRecorderFolders(RecorderPaths& paths) {
  std::error_code ignored;
  fs::create_directories(paths.settings_file.parent_path(), ignored);
  fs::create_directories(paths.temps_folder.parent_path(), ignored);
  paths.UseTempsFolder(UsableTempFolder(paths.temps_folder));
  fs::create_directory(paths.lorixs_folder, ignored);
}

}  // namespace lorix
