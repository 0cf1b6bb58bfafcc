#pragma once

// The recorder's settings file: where it lives, and the one routine that reads or writes every
// setting in it, so that both directions always cover the same keys in the same order.

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "audio/dialogs.h"
#include "recorder/recorder_settings.h"

namespace lorix {

// The program's path up to its first ".EXE" (else ".DLL"), found in any case, followed by "INI"
// ("/x/Rec.exe" gives "/x/Rec.INI"); without either, "LORIX.INI" in the program's folder (the
// recorder's working directory).
std::filesystem::path SettingsFilePath(const std::filesystem::path& program_path);

// Which parts of the recorder exist when the settings are read or written.
struct SettingsParts {
  bool main_window = true;     // section "WindowStart"
  bool recording_form = true;  // section "WindowSK"
  // Called in both directions between the window sections and "Options": the window brings
  // its menus in line with the window settings.
  std::function<void()> UpdateMenus;
};

// What a call did. A file that cannot be read or written is reported here, never thrown: the
// German `error` names the file and the reason, for the caller to show.
struct SettingsFileResult {
  bool ok = true;
  std::string error;
};

// save = false: every setting is read from the file, the current value serving as the default
// for a missing or unreadable one; a missing file leaves every value as it was and shows
// nothing. A number outside its setting's range (a slider's 0..8, a volume's 0..65535, a
// window's 32-bit coordinate) is taken as the nearest end of that range.
// save = true: every setting except the read-only ones is written; a missing file is announced
// in an information box, then created. Lines the program does not write stay as they are. A
// file that exists but cannot be read is not overwritten.
SettingsFileResult LoadSaveIniFile(const std::filesystem::path& path, bool save,
                                   RecorderSettings& settings, Dialogs& dialogs,
                                   const SettingsParts& parts);

// Writes one boolean setting at once ("1" or "0"), as when a check-mark menu item changes; a
// missing file is announced as by LoadSaveIniFile.
SettingsFileResult WriteIniBool(const std::filesystem::path& path, std::string_view section,
                                std::string_view key, bool value, Dialogs& dialogs);

}  // namespace lorix
