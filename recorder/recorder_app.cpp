#include "recorder/recorder_app.h"

#include <cctype>
#include <utility>

#include "audio/mixer_setup.h"

namespace lorix {
namespace {

constexpr const char* kMessageCaption = "LORIX";

std::string UpperAscii(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

RecorderApp::RecorderApp(RecorderAppParts parts, RecorderWindowServices services)
    : engine_(parts.engine),
      dialogs_(parts.dialogs),
      settings_(parts.settings),
      mixer_(parts.mixer),
      settings_file_(std::move(parts.settings_file)),
      services_(std::move(services)),
      mail_handoff_(LoadMailTexts(parts.paths), parts.paths.program_folder, parts.dialogs,
                    std::move(parts.mail)) {
  // The timer's device refresh of the playback also moves the volume sliders.
  WavePlayback::Services playback = std::move(parts.playback);
  playback.refresh_devices = [this, given = std::move(playback.refresh_devices)] {
    if (given) given();
    RefreshMixerControls();
  };
  WorkflowHooks hooks;
  hooks.repaint_now = [this] {
    if (services_.repaint_now) services_.repaint_now();
  };
  hooks.focus = [this](FocusTarget target) {
    if (services_.focus) services_.focus(target);
  };
  hooks.choose_file = std::move(parts.choose_file);
  hooks.open_file = std::move(parts.open_file);
  hooks.show_play_block = [this] { SetBlockVisible(Block::kPlay, true); };
  hooks.open_mail = [this](const MailAttachment& attachment) {
    mail_handoff_.OpenMailProgram(window_.mail_method, attachment);
  };
  workflow_ = std::make_unique<RecordingWorkflow>(engine_, dialogs_, settings_.Options,
                                                  std::move(parts.paths), std::move(playback),
                                                  std::move(hooks), mixer_);
  workflow_->SetAttachmentOverhead(parts.attachment_overhead);
  // Every buffer the device hands back moves the meter and the recording labels at once.
  engine_.OnSoundData = [this](const std::uint8_t* data, std::int32_t count) {
    workflow_->ProcessSoundData(data, count);
    Paint();
  };
}

RecorderApp::~RecorderApp() {
  // The engine outlives the program logic; its buffers must not reach a workflow that is gone.
  engine_.OnSoundData = nullptr;
}

void RecorderApp::FormCreate() {
  workflow_->ButtonResetClick(ResetSender::kNone);
  workflow_->UpdateControls();
  workflow_->TBCompressLevelChange(workflow_->controls().TBCompressLevel);
  Paint();
  if (services_.focus) services_.focus(FocusTarget::kScrollBarRecordLevel);
}

void RecorderApp::FormActivate(const std::vector<std::string>& arguments) {
  if (!app_started_) AppStart(arguments);
}

void RecorderApp::AppStart(const std::vector<std::string>& arguments) {
  LoadSettings();
  // The mixer as recording and playback need it.
  workflow_->TBMuteLevelChange(workflow_->controls().TBMuteLevel);
  if (mixer_ != nullptr) StartupMixerSetup(*mixer_, MixerStartupFrom(settings_));
  workflow_->CBMikeToOutEnabledClick(window_.CBMikeToOutEnabled);
  SetStandardWindows();
  app_started_ = true;
  UpdateMenus();
  workflow_->ButtonResetClick(ResetSender::kNone);
  // After the settings, before the command line: a recording a crash left behind comes first.
  workflow_->OfferUnfinishedRecording();
  if (services_.run_timer) services_.run_timer(true);
  for (const std::string& argument : arguments) {
    if (UpperAscii(argument) == "/X") {
      SetExpertMode(true);
    } else {
      workflow_->AddMoreToList(services_.resolve_argument ? services_.resolve_argument(argument)
                                                          : argument);
    }
  }
  Paint();
}

void RecorderApp::Timer1Timer() {
  workflow_->PlaybackTick();  // the mixer refresh first, then the position
  // A flag read from the settings takes effect here.
  if (window_.always_on_top && services_.keeps_window_on_top &&
      !(services_.window_on_top && services_.window_on_top())) {
    ApplyAlwaysOnTop();
  }
  Paint();
}

void RecorderApp::RefreshMixerControls() {
  if (mixer_ == nullptr) return;
  // As the window's sliders do: a position that changes is written back to the mixer.
  for (const VolumeSlider slider :
       {VolumeSlider::kScrollbarVolWaveout, VolumeSlider::kScrollBarVolSpeakers,
        VolumeSlider::kScrollBarMikeOut, VolumeSlider::kScrollBarRecordLevel}) {
    // A thumb the user holds stays where the user has put it.
    if (services_.volume_slider_held && services_.volume_slider_held(slider)) continue;
    const int position = ReadVolumeSlider(*mixer_, slider);
    if (position != window_.volume_sliders[static_cast<std::size_t>(slider)]) {
      TrackbarAnyChange(slider, position);
    }
  }
  SetMikeToOutEnabled(ReadMikeToOutEnabled(*mixer_));
}

void RecorderApp::TrackbarAnyChange(VolumeSlider slider, int position) {
  window_.volume_sliders[static_cast<std::size_t>(slider)] = position;
  if (mixer_ != nullptr) WriteVolumeSlider(*mixer_, slider, position);
  workflow_->UpdateControls();
  Paint();
}

void RecorderApp::CBMikeToOutEnabledClick(bool checked) {
  SetMikeToOutEnabled(checked);
  Paint();
}

void RecorderApp::SetMikeToOutEnabled(bool checked) {
  if (checked == window_.CBMikeToOutEnabled) return;
  window_.CBMikeToOutEnabled = checked;
  workflow_->CBMikeToOutEnabledClick(checked);
}

void RecorderApp::RBMailAppClick(MailMethod method) {
  // Stored at once; the hand-off goes by the checked button, not by the stored number.
  window_.mail_method = method;
  settings_.Options.MailAppStartSelection = static_cast<int>(method);
}

void RecorderApp::RBAttachmentKindClick(AttachmentChoice kind) {
  // Stored at once too; the step-4 hint names what will be written.
  window_.attachment_kind = kind;
  settings_.Options.AttachmentKind = static_cast<int>(kind);
  workflow_->UpdateControls();
  Paint();
}

void RecorderApp::SetBlockVisible(Block block, bool visible) {
  window_.blocks_visible[static_cast<std::size_t>(block)] = visible;
  ShowBlocks();
}

void RecorderApp::ShowBlocks() {
  if (services_.show_blocks) services_.show_blocks();
}

void RecorderApp::ShowInformation(const std::string& text) {
  dialogs_.Show({kMessageCaption, text, DialogIcon::kInformation, DialogButtons::kOk});
}

void RecorderApp::SetExpertMode(bool on) {
  if (on && !window_.expert_mode) ShowInformation("Setze Expertenmodus auf EIN !");
  if (!on && window_.expert_mode) ShowInformation("Setze Expertenmodus auf AUS !");
  const bool has_form = services_.has_recording_form && services_.has_recording_form();
  if (on && has_form && services_.show_recording_form) services_.show_recording_form(true);
  // Switching off leaves the two menu items shown.
  if (on) window_.expert_items_visible = true;
  window_.expert_mode = on;
  Paint();
  ShowBlocks();
}

void RecorderApp::WMSecondInstance(bool activated) {
  // The box claims the activation only when it has happened or the window system was asked.
  ShowInformation(activated
                      ? "Programm \"LORIX\" wurde schon gestartet! Erst-Instanz aktiviert!"
                      : "Programm \"LORIX\" wurde schon gestartet! Dies ist die Erst-Instanz.");
}

void RecorderApp::MPDescParamsClick() {
  ShowInformation("Parameter-Übergabe per Aufruf oder \"Drag-and-Drop\":\n" + std::string(47, '=') +
                  "\n");
}

void RecorderApp::MSExpertModeClick() {
  SetExpertMode(!window_.expert_mode);
}

void RecorderApp::Paint() {
  if (services_.paint) services_.paint();
}

}  // namespace lorix
