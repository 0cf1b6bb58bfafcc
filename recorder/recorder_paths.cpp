#include "recorder/recorder_paths.h"

#include <system_error>

namespace lorix {

RecorderPaths RecorderPaths::ForProgramFolder(const std::filesystem::path& program_folder) {
  RecorderPaths p;
  p.program_folder = program_folder;
  p.temps_folder = program_folder / "TEMPs";
  p.lorixs_folder = program_folder / "LORIXs";
  p.temp_info = p.temps_folder / "TempInfo.txt";
  p.player_program = program_folder / "LorixPlayer.exe";
  p.mail_text_mapi = program_folder / "MailTextMAPI.txt";
  p.mail_text_system = program_folder / "MailTextSystem.txt";
  p.temp_recording = p.temps_folder / "TempRecording.wav";
  p.temp_compressed = p.temps_folder / "TempCompressed.wav";
  return p;
}

void CreateRecorderFolders(const RecorderPaths& paths) {
  std::error_code ignored;
  std::filesystem::create_directory(paths.temps_folder, ignored);
  std::filesystem::create_directory(paths.lorixs_folder, ignored);
}

}  // namespace lorix
