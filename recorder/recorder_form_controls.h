#pragma once

// The controls of the recorder's two forms as tables: the main form TFormStart and the
// recording form TFormLorixSK. A row says what a control is, where it sits at 96 DPI, what it
// says, how the keyboard reaches it and which part of the state it shows. The Qt window keeps
// its layouts and takes names, captions and hints from here; a Win32 window creates every
// control from the rows in order (a panel before the controls inside it) and copies the state
// onto them in one loop. The state itself stays in RecorderControls and RecorderWindowState.

#include <optional>
#include <span>
#include <string_view>

#include "audio/error_log.h"
#include "audio/mixer_bindings.h"
#include "audio/recording_engine.h"
#include "recorder/recorder_app.h"
#include "recorder/recorder_controls.h"
#include "recorder/window_blocks.h"

namespace lorix {

enum class FormControl {
  // TFormStart, top to bottom.
  kPanelTitle,
  kPanelRecord,
  kLabel3,
  kPanelTipRecordLevelOnOff,
  kButtonRecordLevelOnOff,
  kPanelTipRecord,
  kButtonRecord,
  kPanelTipComprDecomprAndPlay,
  kButtonComprDecomprAndPlay,
  kPanelTipCreateOpenMail,
  kButtonCreateOpenMail,
  kLabel5,
  kButtonAndPlayOrig,
  kButtonAndPlay,
  kButtonReset,
  kButtonExplorer,
  kCBAndPlayLRXFile,
  kCBMikeToOutEnabled,
  kGroupBoxMailApp,
  kLabel10,
  kRBMailAppMAPI,
  kRBMailAppNo,
  kRBMailAppShell,
  kButtonMailAppHelp,
  kGroupBoxAttachmentKind,
  kLabelAttachmentKind,
  kRBAttachmentProgram,
  kRBAttachmentAudio,
  kRBAttachmentBoth,
  kLabelRecordedOrLoaded,
  kLabelRecordedWAV_File,
  kLabelSmpsRecorded,
  kLabelKBExpectedLRX,
  kPanelTipRecordLevelOnOffMicro,
  kScrollBarRecordLevel,
  kDbMeterRecordLevel,
  kPanelScrollBarMikeOut,
  kScrollBarMikeOut,
  kButtonWinMixerRecord,
  kPanelOptionsCompress,
  kLabel9,
  kLabel1,
  kLabelQuality,
  kTBCompressLevel,
  kLabelCompressLevel,
  kLabel2,
  kLabel4,
  kLabelMuteLevel,
  kTBMuteLevel,
  kLabelMutePercent,
  kPanelPlay,
  kLabelPlayHeading,
  kButtonPlay,
  kButtonPause,
  kButtonStop,
  kScrollbarPlay,
  kLabelPlayPos,
  kLabelPlayFile,
  kButtonStartApplication,
  kScrollbarVolWaveout,
  kScrollBarVolSpeakers,
  kButtonWinMixerPlay,
  kPanelPlayStatus,
  kLabelPlayStatus,
  kPanelSpecials,
  kLabelSpecialsHeading,
  kLabelMSPCMInfo,
  kLabelPCMInfo,
  kLabelFreq,
  kLabelMSLRXInfo,
  kLabel6,
  kLabelLoadedFile,
  kButtonShowMSINFofMail,
  kPanelExpertButtons,
  kPanelButtons,
  kButtonLoadPCMFile,
  kButtonCompress,
  kButtonLoadLRXFile,
  kButtonSavePCMFile,
  kButtonDecompress,
  kButtonSaveLRXFile,
  kButtonGraphPCM,
  kButtonGraphLRX,
  kPanelBottom,
  kPanelWait,
  // TFormLorixSK.
  kFormLorixSK,
  kLabel23,
  kLabel1SK,
  kLabel_In_Count,
  kLabel2SK,
  kLabel_Out_Count,
  kLabel24,
  kLabelWaveFormat,
  kButtonStart,
  kCBShowWaveErrors,
  kMemoErrors,
  kCBDoOut,
  kCount
};

enum class FormControlKind {
  kBlock,    // a block of the main form or a form's own edge; holds controls
  kGroup,    // a borderless panel inside a block; holds controls
  kTitle,    // the title panel
  kHeading,  // a bold label
  kLabel,    // one line of text
  kStepTip,  // a step's number; clicking it acts like the step's button
  kButton,   // a push button; a glyph button has no caption
  kCheckBox,
  kRadioButton,
  kTrackBar,
  kLevelMeter,
  kStatusLine,  // the sunken panel at the bottom
  kWaitPanel,   // shown over the blocks while the codec runs
  kMemo,        // a read-only text of several lines
};

// Whether the keyboard reaches the kind with the tab key.
bool IsTabStop(FormControlKind kind);

// Rows' flags.
inline constexpr unsigned kFormToggle = 1u << 0;      // a button that stays pressed
inline constexpr unsigned kFormVertical = 1u << 1;    // a track bar from top to bottom
inline constexpr unsigned kFormInverted = 1u << 2;    // a vertical track bar with 0 at the top
inline constexpr unsigned kFormHidden = 1u << 3;      // hidden when the form is created
inline constexpr unsigned kFormMultiLine = 1u << 4;   // the caption may take several lines
inline constexpr unsigned kFormGroupStart = 1u << 5;  // the first control of a radio row
inline constexpr unsigned kFormChecked = 1u << 6;     // checked when the form is created
inline constexpr unsigned kFormDisabled = 1u << 7;    // disabled when the form is created
inline constexpr unsigned kFormGreen = 1u << 8;       // green text

// A rectangle at 96 DPI. A block's is in the client area of its form with every block shown;
// the others are in the coordinates of the block they sit in, so a block moves as one when a
// block above it is hidden.
struct FormRect {
  int x = 0, y = 0, w = 0, h = 0;

  bool Contains(const FormRect& inner) const {
    return inner.x >= x && inner.y >= y && inner.x + inner.w <= x + w && inner.y + inner.h <= y + h;
  }
};

// A track bar's values and marks (tick_every 0: no marks).
struct FormRange {
  int min = 0, max = 0, line = 0, page = 0, tick_every = 0;
};

// The radio rows, with the value each button stands for.
enum class RadioRow { kNone, kMailMethod, kAttachmentKind };

// The parts of the playback that the play block and its status line show.
enum class PlaybackPart {
  kNone,
  kScrollbarPlay,
  kLabelPlayPos,
  kLabelPlayFile,
  kLabelPlayStatus,
  kButtonStartApplication
};

// How long a control's hint stays, shown as soon as the pointer rests on the control: the step
// hints are long and are read while the user decides what to do next.
inline constexpr int kHintDisplayMs = 30000;

struct FormControlRow {
  FormControl id;
  const char* name;  // the control's name in the forms, for the widgets and tests
  FormControlKind kind;
  // The block or group the control sits in; its own id for blocks, which sit on the form.
  FormControl block;
  FormRect rect;
  // Texts with their '&' marks and CR LF line breaks; empty where the state brings its own.
  std::string_view caption{};
  std::string_view hint{};
  int tab_order = 0;  // 1, 2, ... for tab stops, in the order the tab key walks; 0 for none
  unsigned flags = 0;
  FormRange range{};

  // The state the control shows (null or none where it shows none of these).
  ControlState RecorderControls::*state = nullptr;
  TipPanel RecorderControls::*tip = nullptr;
  std::string RecorderControls::*text = nullptr;
  int RecorderControls::*position = nullptr;
  bool RecorderControls::*checked = nullptr;
  bool RecorderControls::*enabled = nullptr;
  bool RecorderControls::*visible = nullptr;
  bool RecorderWindowState::*window_checked = nullptr;
  bool RecorderWindowState::*window_visible = nullptr;
  std::optional<Block> shows_block{};
  std::optional<VolumeSlider> volume{};
  RadioRow radio_row = RadioRow::kNone;
  int radio_value = 0;
  PlaybackPart playback = PlaybackPart::kNone;
  std::string SoundCardTexts::*card_text = nullptr;
  bool ErrorLog::*card_checked = nullptr;
};

// The rows of each form in creation order.
std::span<const FormControlRow> MainFormControlTable();
std::span<const FormControlRow> SoundCardFormControlTable();
// The row of `id` in either table.
const FormControlRow& FormControlRowOf(FormControl id);

// The client areas with every block shown.
inline constexpr int kMainFormClientWidth = 602;
inline constexpr int kMainFormClientHeight = 752;
inline constexpr int kSoundCardFormClientWidth = 360;
inline constexpr int kSoundCardFormClientHeight = 240;

}  // namespace lorix
