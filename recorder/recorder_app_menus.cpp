// RecorderApp: the display menu, the check-mark options, the keys and the close sequence.

#include "recorder/recorder_app.h"
#include "recorder/settings_file.h"

namespace lorix {
namespace {

constexpr const char* kMessageCaption = "LORIX";

}  // namespace

void RecorderApp::UpdateMenus() {
  MenuInputs inputs;
  inputs.blocks_visible = window_.blocks_visible;
  inputs.sound_card_window_visible =
      services_.recording_form_visible && services_.recording_form_visible();
  inputs.always_on_top = window_.always_on_top;
  inputs.always_on_top_available = services_.keeps_window_on_top;
  window_.menus =
      MenuStateFrom(inputs, settings_.Options, workflow_->state(), workflow_->controls());
  if (services_.paint_menus) services_.paint_menus(window_.menus);
}

void RecorderApp::MABlockClick(Block block) {
  SetBlockVisible(block, !window_.blocks_visible[static_cast<std::size_t>(block)]);
  UpdateMenus();
}

void RecorderApp::MAFormLorixSKClick() {
  if (services_.has_recording_form && services_.has_recording_form() &&
      services_.show_recording_form) {
    services_.show_recording_form(!services_.recording_form_visible());
  }
  UpdateMenus();
}

void RecorderApp::MAAlwaysOnTopClick() {
  if (services_.keeps_window_on_top) {
    window_.always_on_top = !window_.always_on_top;
    ApplyAlwaysOnTop();
  }
  // A check-mark item toggles itself: the marks show what is.
  UpdateMenus();
}

void RecorderApp::MIAnyCheckableClick(OptionItem item, bool checked) {
  OptionValue(settings_.Options, item) = checked;
  if (settings_file_.empty()) return;
  const SettingsFileResult result =
      WriteIniBool(settings_file_, "Options", OptionKey(item), checked, dialogs_);
  if (!result.ok) dialogs_.ShowError(kMessageCaption, result.error);
}

void RecorderApp::ApplyAlwaysOnTop() {
  if (services_.set_window_on_top) services_.set_window_on_top(window_.always_on_top);
  // A changed window style re-creates the window, which loses its extra styles.
  SetStandardWindows();
}

void RecorderApp::SetStandardWindows() {
  if (services_.set_standard_windows) services_.set_standard_windows();
}

void RecorderApp::SpaceBarPressed() {
  // The same as pressing the step's button.
  RecordingWorkflow& w = *workflow_;
  switch (SpaceBarStep(w.controls(), w.state())) {
    case SpaceStep::kCreateOpenMail:
      w.ButtonCreateOpenMailClick();
      break;
    case SpaceStep::kComprDecomprAndPlay:
      w.ButtonComprDecomprAndPlayClick();
      break;
    case SpaceStep::kRecord:
      w.ButtonRecordClick(RecordSender::kButtonRecord);
      break;
    case SpaceStep::kRecordLevelOnOff:
      w.ButtonRecordClick(RecordSender::kButtonRecordLevelOnOff);
      break;
    case SpaceStep::kNone:
      return;
  }
  Paint();
}

void RecorderApp::StepOneKeyPressed() {
  if (!workflow_->controls().ButtonRecordLevelOnOff.enabled) return;
  workflow_->ButtonRecordClick(RecordSender::kButtonRecordLevelOnOff);
  Paint();
}

bool RecorderApp::FormCloseQuery() {
  // A stopped recording is given up only after the reset question.
  if (workflow_->state().SampleCount > 0 &&
      !workflow_->ButtonResetClick(ResetSender::kButtonReset)) {
    Paint();
    return false;
  }
  if (settings_.Options.AutoSavePrefs) SaveSettings();
  ShutdownAudio();
  if (services_.run_timer) services_.run_timer(false);
  Paint();
  return true;
}

void RecorderApp::ShutdownAudio() {
  const WorkflowState& state = workflow_->state();
  if (state.RecordingActive || state.LevelMeterOn) workflow_->ButtonResetClick(ResetSender::kNone);
  if (workflow_->playback().PlaybackActive()) workflow_->playback().ClosePlayback();
  if (services_.shutdown_wait) services_.shutdown_wait();
}

}  // namespace lorix
