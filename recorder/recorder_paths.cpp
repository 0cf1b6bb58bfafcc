#include "recorder/recorder_paths.h"

#include <system_error>

#include "codec/own_folder.h"

namespace lorix {

RecorderPaths RecorderPaths::ForProgramFolder(const std::filesystem::path& program_folder) {
  RecorderPaths p;
  p.program_folder = program_folder;
  p.lorixs_folder = program_folder / "LORIXs";
  p.player_program = program_folder / "LorixPlayer.exe";
  p.mail_text_mapi = program_folder / "MailTextMAPI.txt";
  p.mail_text_system = program_folder / "MailTextSystem.txt";
  p.UseTempsFolder(program_folder / "TEMPs");
  return p;
}

void RecorderPaths::UseTempsFolder(const std::filesystem::path& folder) {
  temps_folder = folder;
  temp_info = folder / "TempInfo.txt";
  temp_recording = folder / "TempRecording.wav";
  temp_compressed = folder / "TempCompressed.wav";
}

void CreateRecorderFolders(RecorderPaths& paths) {
  paths.UseTempsFolder(UsableTempFolder(paths.temps_folder));
  std::error_code ignored;
  std::filesystem::create_directory(paths.lorixs_folder, ignored);
}

}  // namespace lorix
