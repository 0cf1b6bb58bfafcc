#pragma once

// The folders and files beside the recorder's program file. They are formed once at start from
// the program's folder and used by every part of the recorder.

#include <filesystem>

namespace lorix {

struct RecorderPaths {
  std::filesystem::path program_folder;
  std::filesystem::path temps_folder;      // "TEMPs": temporary files
  std::filesystem::path lorixs_folder;     // "LORIXs": finished attachments
  std::filesystem::path temp_info;         // "TEMPs/TempInfo.txt"
  std::filesystem::path player_program;    // "LorixPlayer.exe"
  std::filesystem::path mail_text_mapi;    // "MailTextMAPI.txt"
  std::filesystem::path mail_text_system;  // "MailTextSystem.txt"
  std::filesystem::path temp_recording;    // "TEMPs/TempRecording.wav": the uncompressed recording
  std::filesystem::path temp_compressed;   // "TEMPs/TempCompressed.wav": the decoded version

  static RecorderPaths ForProgramFolder(const std::filesystem::path& program_folder);
  // Points the temporary files into `folder`.
  void UseTempsFolder(const std::filesystem::path& folder);
};

// Creates "TEMPs" and "LORIXs". A "TEMPs" that cannot be made or is not ours (a read-only
// program folder, a link or a folder someone else put there) is replaced by the one in the
// user's private folder, and the temporary files move with it. A "LORIXs" that cannot be
// created is passed over: the file operations that need it report the failure.
void CreateRecorderFolders(RecorderPaths& paths);

}  // namespace lorix
