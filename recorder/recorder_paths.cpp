#include "recorder/recorder_paths.h"

#include "codec/file_system.h"
#include "codec/own_folder.h"
#include "recorder/settings_file.h"

namespace lorix {

namespace fs = std::filesystem;

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

RecorderPaths RecorderPaths::ForWindowsProgram(const fs::path& program_file, bool runs_portable,
                                               const KnownFolders& known) {
  const fs::path program_folder = program_file.parent_path();
  RecorderPaths p = ForProgramFolder(program_folder);
  if (runs_portable || known.roaming_app_data.empty() || known.local_app_data.empty() ||
      known.documents.empty()) {
    p.settings_file = SettingsFilePath(program_file);
    return p;
  }
  p.user_folder = known.roaming_app_data / "Lorix";
  p.settings_file = p.user_folder / "LORIX.INI";
  p.mail_text_mapi = UserOrDefaultFile(p.user_folder, p.data_folder, "MailTextMAPI.txt");
  p.mail_text_system = UserOrDefaultFile(p.user_folder, p.data_folder, "MailTextSystem.txt");
  p.lorixs_folder = known.documents / "LORIXs";
  p.UseTempsFolder(known.local_app_data / "Lorix" / "TEMPs");
  return p;
}

void RecorderPaths::UseTempsFolder(const fs::path& folder) {
  temps_folder = folder;
  temp_info = folder / "TempInfo.txt";
  temp_recording = folder / "TempRecording.wav";
  temp_compressed = folder / "TempCompressed.wav";
}

bool RunsPortable(bool program_folder_writable, bool installed_marker_present) {
  return program_folder_writable && !installed_marker_present;
}

fs::path UserOrDefaultFile(const fs::path& user_folder, const fs::path& data_folder,
                           const char* file_name) {
  const fs::path own = user_folder / file_name;
  return IsRegularFile(own) ? own : data_folder / file_name;
}

void CreateRecorderFolders(RecorderPaths& paths) {
  MakeDirectories(paths.settings_file.parent_path());
  MakeDirectories(paths.temps_folder.parent_path());
  paths.UseTempsFolder(UsableTempFolder(paths.temps_folder));
  // Only "LORIXs" itself is made, not a documents folder that is missing above it.
  if (KindOf(paths.lorixs_folder.parent_path()) == FileKind::kDirectory) {
    MakeDirectories(paths.lorixs_folder);
  }
}

}  // namespace lorix
