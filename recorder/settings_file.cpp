#include "recorder/settings_file.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "audio/volume_scale.h"
#include "codec/codec_error.h"
#include "codec/encoder.h"
#include "codec/file_io.h"
#include "codec/file_system.h"
#include "recorder/ini_file.h"

namespace lorix {
namespace {

constexpr std::string_view kWindowStart = "WindowStart";
constexpr std::string_view kWindowSK = "WindowSK";
constexpr std::string_view kOptions = "Options";

SettingsFileResult Failure(std::string error) {
  return {false, std::move(error)};
}

std::string ReadFailureText(const std::filesystem::path& path, int error_number) {
  return "Die Datei \"" + path.string() +
         "\" kann nicht gelesen werden: " + SystemErrorText(error_number);
}

void ShowNotFound(const std::filesystem::path& path, Dialogs& dialogs) {
  // The full name; the name as given when the current folder is unknown.
  const std::filesystem::path folder =
      path.is_absolute() ? std::filesystem::path() : CurrentDirectory();
  const std::string name = (folder.empty() ? path : folder / path).string();
  dialogs.Show({"Information", "Ini-Datei \"" + name + "\" nicht gefunden - Neu angelegt !!",
                DialogIcon::kInformation, DialogButtons::kOk});
}

// Loads the file that is about to be written. A missing one is announced and starts empty; one
// that exists but cannot be read fails, so that the user's file is not replaced by a new one.
SettingsFileResult LoadForWriting(const std::filesystem::path& path, IniDocument& ini,
                                  Dialogs& dialogs) {
  const int error_number = LoadIniFile(path, ini);
  if (IsMissingFile(error_number)) {
    ShowNotFound(path, dialogs);
  } else if (error_number != 0) {
    return Failure(ReadFailureText(path, error_number));
  }
  return {};
}

SettingsFileResult Save(const std::filesystem::path& path, const IniDocument& ini) {
  try {
    SaveIniFile(path, ini);
  } catch (const CodecError& error) {
    return Failure(error.what());
  }
  return {};
}

// One direction of LoadSaveIniFile: writing stores the current value, reading replaces it with
// the stored one (the current value being the default).
class SettingsSync {
 public:
  SettingsSync(IniDocument& ini, bool save) : ini_(ini), save_(save) {}

  // Values outside lo..hi are brought to the nearest end, as a slider shows them.
  template <typename T>
  void Integer(std::string_view section, std::string_view key, T& value,
               T lo = std::numeric_limits<T>::min(), T hi = std::numeric_limits<T>::max()) {
    if (save_) {
      value = std::clamp(value, lo, hi);
      ini_.WriteInteger(section, key, value);
    } else {
      value =
          static_cast<T>(std::clamp<std::int64_t>(ini_.ReadInteger(section, key, value), lo, hi));
    }
  }

  // Written as 1 or 0; any stored number other than 0 reads as true.
  void Bool(std::string_view section, std::string_view key, bool& value) {
    if (save_) {
      ini_.WriteInteger(section, key, value ? 1 : 0);
    } else {
      value = ini_.ReadInteger(section, key, value ? 1 : 0) != 0;
    }
  }

  template <typename T>
  void ReadOnlyInteger(std::string_view section, std::string_view key, T& value) {
    if (!save_) Integer(section, key, value);
  }

 private:
  IniDocument& ini_;
  bool save_;
};

void SyncSettings(SettingsSync& sync, RecorderSettings& settings, const SettingsParts& parts) {
  if (parts.main_window) {
    MainWindowSettings& w = settings.WindowStart;
    sync.Integer(kWindowStart, "Left", w.Left);
    sync.Integer(kWindowStart, "Top", w.Top);
    sync.Bool(kWindowStart, "ShowRecord", w.ShowRecord);
    sync.Bool(kWindowStart, "ShowOptionsCompress", w.ShowOptionsCompress);
    sync.Bool(kWindowStart, "ShowPlay", w.ShowPlay);
    sync.Bool(kWindowStart, "ShowPlayStatus", w.ShowPlayStatus);
    sync.Bool(kWindowStart, "ShowSpecials", w.ShowSpecials);
    sync.Bool(kWindowStart, "AlwaysOnTop", w.AlwaysOnTop);
  }
  if (parts.recording_form) {
    RecordingFormSettings& f = settings.WindowSK;
    sync.Integer(kWindowSK, "Left", f.Left);
    sync.Integer(kWindowSK, "Top", f.Top);
    sync.Integer(kWindowSK, "Width", f.Width);
    sync.Integer(kWindowSK, "Height", f.Height);
    sync.Bool(kWindowSK, "Visible", f.Visible);
  }
  if (parts.UpdateMenus) parts.UpdateMenus();

  RecorderOptions& o = settings.Options;
  sync.Integer(kOptions, "InDevID", o.InDevID);
  sync.Integer(kOptions, "OutDevID", o.OutDevID);
  sync.Bool(kOptions, "MikeToOutEnabled", o.MikeToOutEnabled);
  sync.Bool(kOptions, "AndPlayLRXFile", o.AndPlayLRXFile);
  sync.Integer(kOptions, "MailAppStartSelection", o.MailAppStartSelection);
  sync.Integer(kOptions, "CompressLevel", o.CompressLevel, 0, kMaxCompressLevel);
  sync.Integer(kOptions, "MuteLevel", o.MuteLevel, 0, kMaxMuteLevel);
  sync.Bool(kOptions, "OnStartSelectMike", o.OnStartSelectMike);
  sync.Bool(kOptions, "OnStartSetMinVols", o.OnStartSetMinVols);
  sync.Bool(kOptions, "ConfirmReset", o.ConfirmReset);
  sync.Bool(kOptions, "AutoSavePrefs", o.AutoSavePrefs);
  sync.Integer(kOptions, "AttachmentKind", o.AttachmentKind);
  sync.ReadOnlyInteger(kOptions, "PrepareMemoryMB", o.PrepareMemoryMB);
  sync.ReadOnlyInteger(kOptions, "MinVolWaveOut", o.MinVolWaveOut);
  sync.ReadOnlyInteger(kOptions, "MinVolSpeakers", o.MinVolSpeakers);
  // A hand-edited volume outside the mixer's range is brought into it, not refused.
  o.MinVolWaveOut = ClampMixerVolume(o.MinVolWaveOut);
  o.MinVolSpeakers = ClampMixerVolume(o.MinVolSpeakers);
  sync.ReadOnlyInteger(kOptions, "SKFixedFreq", o.SKFixedFreq);
}

}  // namespace

std::filesystem::path SettingsFilePath(const std::filesystem::path& program_path) {
  const std::string path = program_path.string();
  std::string upper = path;
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  std::size_t dot = upper.find(".EXE");
  if (dot == std::string::npos) dot = upper.find(".DLL");
  if (dot == std::string::npos) return program_path.parent_path() / "LORIX.INI";
  return path.substr(0, dot + 1) + "INI";
}

SettingsFileResult LoadSaveIniFile(const std::filesystem::path& path, bool save,
                                   RecorderSettings& settings, Dialogs& dialogs,
                                   const SettingsParts& parts) {
  IniDocument ini;
  SettingsFileResult result;
  if (save) {
    result = LoadForWriting(path, ini, dialogs);
    if (!result.ok) return result;
  } else {
    // Without a readable file every read falls back to the current value, so nothing changes;
    // the pass still runs for the menu hook.
    const int error_number = LoadIniFile(path, ini);
    if (error_number != 0 && !IsMissingFile(error_number)) {
      result = Failure(ReadFailureText(path, error_number));
    }
  }
  SettingsSync sync(ini, save);
  SyncSettings(sync, settings, parts);
  return save ? Save(path, ini) : result;
}

SettingsFileResult WriteIniBool(const std::filesystem::path& path, std::string_view section,
                                std::string_view key, bool value, Dialogs& dialogs) {
  IniDocument ini;
  if (SettingsFileResult loaded = LoadForWriting(path, ini, dialogs); !loaded.ok) return loaded;
  ini.WriteInteger(section, key, value ? 1 : 0);
  return Save(path, ini);
}

}  // namespace lorix
