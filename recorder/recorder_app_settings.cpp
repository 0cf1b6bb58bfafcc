// RecorderApp: the settings file read into the window's state, and collected from it.

#include <algorithm>

#include "recorder/recorder_app.h"
#include "recorder/settings_file.h"

namespace lorix {
namespace {

constexpr const char* kMessageCaption = "LORIX";

// The range of the compression block's two sliders; a stored value outside is clamped.
constexpr int kLevelSliderMax = 8;

}  // namespace

void RecorderApp::LoadSettings() {
  if (settings_file_.empty()) return;
  SettingsParts parts;
  parts.recording_form = services_.has_recording_form && services_.has_recording_form();
  const SettingsFileResult result =
      LoadSaveIniFile(settings_file_, false, settings_, dialogs_, parts);
  if (!result.ok) dialogs_.ShowError(kMessageCaption, result.error);
  ApplySettings();
}

void RecorderApp::SaveSettings() {
  if (settings_file_.empty()) return;
  CollectSettings();
  SettingsParts parts;
  parts.recording_form = services_.has_recording_form && services_.has_recording_form();
  const SettingsFileResult result =
      LoadSaveIniFile(settings_file_, true, settings_, dialogs_, parts);
  if (!result.ok) dialogs_.ShowError(kMessageCaption, result.error);
}

void RecorderApp::ApplySettings() {
  const MainWindowSettings& w = settings_.WindowStart;
  if (services_.move_window) services_.move_window(w.Left, w.Top);
  SetBlockVisible(Block::kRecord, w.ShowRecord);
  SetBlockVisible(Block::kOptionsCompress, w.ShowOptionsCompress);
  SetBlockVisible(Block::kPlay, w.ShowPlay);
  SetBlockVisible(Block::kPlayStatus, w.ShowPlayStatus);
  SetBlockVisible(Block::kSpecials, w.ShowSpecials);
  // The window style follows on the next timer tick.
  window_.always_on_top = w.AlwaysOnTop;
  if (services_.has_recording_form && services_.has_recording_form()) {
    const RecordingFormSettings& sk = settings_.WindowSK;
    if (services_.place_recording_form) {
      services_.place_recording_form({sk.Left, sk.Top, sk.Width, sk.Height});
    }
    if (services_.show_recording_form) services_.show_recording_form(sk.Visible);
  }
  const RecorderOptions& o = settings_.Options;
  engine_.RecordDeviceId = o.InDevID;
  engine_.RecordSampleRate = o.SKFixedFreq;
  SetMikeToOutEnabled(o.MikeToOutEnabled);
  if (const std::optional<int> tag = o.MailAppRadioButton()) {
    window_.mail_method = static_cast<MailMethod>(*tag);
  }
  // No button stands for another stored number; it stays as it is until the user picks one.
  window_.attachment_kind = o.AttachmentKindRadioButton();
  workflow_->UpdateControls();
  workflow_->CBAndPlayLRXFileClick(o.AndPlayLRXFile);
  SetCompressLevel(o.CompressLevel);
  SetMuteLevel(o.MuteLevel);
  Paint();
  UpdateMenus();
}

void RecorderApp::SetCompressLevel(int position) {
  const int level = std::clamp(position, 0, kLevelSliderMax);
  if (level != workflow_->controls().TBCompressLevel) workflow_->TBCompressLevelChange(level);
}

void RecorderApp::SetMuteLevel(int position) {
  const int level = std::clamp(position, 0, kLevelSliderMax);
  if (level != workflow_->controls().TBMuteLevel) workflow_->TBMuteLevelChange(level);
}

void RecorderApp::CollectSettings() {
  MainWindowSettings& w = settings_.WindowStart;
  // A place the window system does not report stays as it was read: the next start on a
  // system that has one opens the window where it was.
  if (services_.reports_window_position && services_.window_place) {
    const WindowPlace place = services_.window_place();
    w.Left = place.left;
    w.Top = place.top;
  }
  const auto shown = [this](Block block) {
    return window_.blocks_visible[static_cast<std::size_t>(block)];
  };
  w.ShowRecord = shown(Block::kRecord);
  w.ShowOptionsCompress = shown(Block::kOptionsCompress);
  w.ShowPlay = shown(Block::kPlay);
  w.ShowPlayStatus = shown(Block::kPlayStatus);
  w.ShowSpecials = shown(Block::kSpecials);
  w.AlwaysOnTop = window_.always_on_top;
  if (services_.has_recording_form && services_.has_recording_form()) {
    RecordingFormSettings& sk = settings_.WindowSK;
    const WindowPlace frame =
        services_.recording_form_place ? services_.recording_form_place() : WindowPlace{};
    if (services_.reports_window_position) {
      sk.Left = frame.left;
      sk.Top = frame.top;
    }
    sk.Width = frame.width;
    sk.Height = frame.height;
    sk.Visible = services_.recording_form_visible && services_.recording_form_visible();
  }
  RecorderOptions& o = settings_.Options;
  o.InDevID = engine_.RecordDeviceId;
  o.MikeToOutEnabled = window_.CBMikeToOutEnabled;
  o.AndPlayLRXFile = workflow_->controls().CBAndPlayLRXFile;
  o.CompressLevel = workflow_->controls().TBCompressLevel;
  o.MuteLevel = workflow_->controls().TBMuteLevel;
}

}  // namespace lorix
