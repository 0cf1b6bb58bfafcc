#pragma once

// The folders and files the recorder works with. They are formed once at start and used by every
// part of the recorder. A program run from its own folder (the build tree, an unpacked archive)
// keeps everything beside itself; an installed one never writes under its prefix and keeps the
// user's files in the user's own folders.

#include <filesystem>
#include <functional>

namespace lorix {

// The folders Windows names for the user's files (its known folders).
struct KnownFolders {
  std::filesystem::path roaming_app_data;  // %APPDATA%
  std::filesystem::path local_app_data;    // %LOCALAPPDATA%
  std::filesystem::path documents;         // "Documents"
};

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
  // data folder. On Windows the program's folder and the known folders decide, as
  // ForWindowsProgram says.
  static RecorderPaths ForProgram(const std::filesystem::path& program_file,
                                  const std::function<std::filesystem::path()>& documents_folder);
  // The Windows layout: beside the program when it runs portable (RunsPortable), else the
  // settings and the user's texts in `known.roaming_app_data`\Lorix, the temporary files in
  // `known.local_app_data`\Lorix\TEMPs and the attachments in `known.documents`\LORIXs; the
  // help pages, the mail texts the user has not made and the player stay beside the program.
  // Beside the program also when a known folder is unknown (empty).
  static RecorderPaths ForWindowsProgram(const std::filesystem::path& program_file,
                                         bool runs_portable, const KnownFolders& known);
  // Points the temporary files into `folder`.
  void UseTempsFolder(const std::filesystem::path& folder);
};

// Whether the Windows recorder keeps its files beside itself: an unpacked archive or a USB stick
// (its folder is writable and holds no installer's marker). An installed one does not, even where
// its folder is writable (a per-user installation).
bool RunsPortable(bool program_folder_writable, bool installed_marker_present);

// The user's own copy of a text file in `user_folder` when there is one, else the one that came
// with the program in `data_folder`.
std::filesystem::path UserOrDefaultFile(const std::filesystem::path& user_folder,
                                        const std::filesystem::path& data_folder,
                                        const char* file_name);

// The user's documents folder as the desktop names it (`xdg-user-dir DOCUMENTS`; Windows: the
// known folder "Documents"), else the home folder.
std::filesystem::path UserDocumentsFolder();

// Creates "TEMPs", "LORIXs" and the settings file's folder. A "TEMPs" that cannot be made or is
// not ours (a read-only program folder, a link or a folder someone else put there) is replaced by
// the one in the user's private folder, and the temporary files move with it. A "LORIXs" that
// cannot be created is passed over: the file operations that need it report the failure.
void CreateRecorderFolders(RecorderPaths& paths);

}  // namespace lorix
