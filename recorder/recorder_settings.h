#pragma once

// Every value the recorder keeps in its settings file, with the value it has before the file
// is read. Member names are the file's section and key names.

#include <cstdint>
#include <optional>

#include "audio/mixer_setup.h"

namespace lorix {

// Section "WindowStart": the main window's place and which of its parts it shows.
struct MainWindowSettings {
  std::int32_t Left = 0;
  std::int32_t Top = 0;
  bool ShowRecord = true;
  bool ShowOptionsCompress = false;
  bool ShowPlay = true;
  bool ShowPlayStatus = false;
  bool ShowSpecials = false;
  bool AlwaysOnTop = false;

  bool operator==(const MainWindowSettings&) const = default;
};

// Section "WindowSK": the recording form.
struct RecordingFormSettings {
  std::int32_t Left = 602;
  std::int32_t Top = 0;
  std::int32_t Width = 422;
  std::int32_t Height = 305;
  bool Visible = false;

  bool operator==(const RecordingFormSettings&) const = default;
};

// What step 4 writes and mails: the self-playing program, an MP3 file, or both.
enum class AttachmentChoice { kProgram = 0, kAudio = 1, kBoth = 2 };

// Section "Options".
struct RecorderOptions {
  std::int32_t InDevID = 0;
  std::int32_t OutDevID = 0;
  bool MikeToOutEnabled = false;
  bool AndPlayLRXFile = true;
  // Which mail program starts: 0, 1 or 2. Any other stored number is kept as it is and written
  // back unchanged; no radio button is checked for it.
  std::int32_t MailAppStartSelection = 1;
  // What step 4 writes (AttachmentChoice). Any other stored number is kept and written back
  // unchanged; no radio button is checked for it, and step 4 writes the program.
  std::int32_t AttachmentKind = 0;
  // Slider positions, 0..8.
  std::int32_t CompressLevel = 3;
  std::int32_t MuteLevel = 4;
  // The check-mark menu items.
  bool OnStartSelectMike = true;
  bool OnStartSetMinVols = true;
  bool ConfirmReset = true;
  bool AutoSavePrefs = true;

  // Read from the file, never written: the user sets them by hand.
  std::int32_t PrepareMemoryMB = 32;
  std::int64_t MinVolWaveOut = 40960;   // 0..65535
  std::int64_t MinVolSpeakers = 40960;  // 0..65535
  std::int32_t SKFixedFreq = 11025;

  // The radio button to check for MailAppStartSelection, if any.
  std::optional<int> MailAppRadioButton() const;
  // The radio button to check for AttachmentKind, if any.
  std::optional<AttachmentChoice> AttachmentKindRadioButton() const;

  bool operator==(const RecorderOptions&) const = default;
};

struct RecorderSettings {
  MainWindowSettings WindowStart;
  RecordingFormSettings WindowSK;
  RecorderOptions Options;

  bool operator==(const RecorderSettings&) const = default;
};

// The mixer adjustments at start, as the settings ask for them.
StartupMixerSettings MixerStartupFrom(const RecorderSettings& settings);

}  // namespace lorix
