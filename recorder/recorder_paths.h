#pragma once

// The folders and files the recorder works with. They are formed once at start and used by every
// part of the recorder. A program run from its own folder (the build tree, an unpacked archive)
// keeps everything beside itself; an installed one never writes under its prefix and keeps the
// user's files in the user's own folders.

#include <filesystem>
#include <functional>

namespace lorix {

struct RecorderPaths {
  std::filesystem::path program_folder;    // the working directory
  std::filesystem::path data_folder;       // the help pages
  std::filesystem::path user_folder;       // "Empfehlung.txt" and the user's own mail texts
  std::filesystem::path settings_file;     // "LORIX.INI"
  std::filesystem::path temps_folder;      // "TEMPs": temporary files
  std::filesystem::path lorixs_folder;     // "LORIXs": finished attachments
  std::filesystem::path temp_info;         // "TEMPs/TempInfo.txt"
  std::filesystem::path player_program;    // "LorixPlayer.exe"
  std::filesystem::path mail_text_mapi;    // "MailTextMAPI.txt"
  std::filesystem::path mail_text_system;  // "MailTextSystem.txt"
  std::filesystem::path temp_recording;    // "TEMPs/TempRecording.wav": the uncompressed recording
  std::filesystem::path temp_compressed;   // "TEMPs/TempCompressed.wav": the decoded version

  // Everything beside the program, the settings in "LORIX.INI".
  static RecorderPaths ForProgramFolder(const std::filesystem::path& program_folder);
  // Decides once for the program file: beside it, or, when it runs from an installed prefix,
  // settings and the user's texts in $XDG_CONFIG_HOME/lorix (else ~/.config/lorix), temporary
  // files in $XDG_CACHE_HOME/lorix/TEMPs (else ~/.cache/lorix/TEMPs) and attachments in
  // `documents_folder()`/LORIXs. A mail text the user has not made is read from the program's
  // data folder.
  static RecorderPaths ForProgram(const std::filesystem::path& program_file,
                                  const std::function<std::filesystem::path()>& documents_folder);
  // Points the temporary files into `folder`.
  void UseTempsFolder(const std::filesystem::path& folder);
};

// The user's documents folder as the desktop names it (`xdg-user-dir DOCUMENTS`), else the home
// folder.
std::filesystem::path UserDocumentsFolder();

// Creates "TEMPs", "LORIXs" and the settings file's folder. A "TEMPs" that cannot be made or is
// not ours (a read-only program folder, a link or a folder someone else put there) is replaced by
// the one in the user's private folder, and the temporary files move with it. A "LORIXs" that
// cannot be created is passed over: the file operations that need it report the failure.
void CreateRecorderFolders(RecorderPaths& paths);

}  // namespace lorix
