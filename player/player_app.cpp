#include "player/player_app.h"

#include <algorithm>
#include <system_error>

#include "audio/mixer_setup.h"
#include "audio/time_text.h"
#include "codec/rounding.h"
#include "codec/sound_file_type.h"
#include "desktop/wav_application.h"
#include "player/player_texts.h"

namespace lorix {

PlayerApp::PlayerApp(PlayerServices services, Mixer& mixer, Dialogs& dialogs, PlayerSetup setup)
    : services_(std::move(services)),
      mixer_(mixer),
      dialogs_(dialogs),
      setup_(std::move(setup)),
      tables_(InitCodecTables()),
      playback_({services_.send_command, services_.error_text, {}, {}, {}, {}}, dialogs) {
  // "TEMPs" in the current directory, an existing one kept. Where it cannot be made, is not
  // ours (a read-only folder, a link or folder someone else put there) or another player plays
  // from it, one in the user's private folder takes its place, so the message still plays.
  temp_folder_ = ClaimPlayerTempFolder(setup_.base_dir, setup_.installed, temp_hold_);
  screen_.Title = "LORIX-Player V." + setup_.version;
}

void PlayerApp::Start(const std::vector<std::string>& arguments) {
  PlayerMixerSetup(mixer_);
  const std::string first = arguments.empty() ? std::string() : arguments.front();
  LoadSoundFile(first.empty() ? setup_.own_executable.string() : first);
}

void PlayerApp::LoadSoundFile(const std::string& file) {
  if (IsWavFile(file)) {
    current_wav_file_ = file;
  } else {
    ShowStatus("dekomprimieren ...");
    ShowFileLine("geladen:  ", file, "");
    screen_.TrackPosition = 0;
    Repaint();
    ExtractOptions options;
    options.temp_folder = temp_folder_;
    options.own_executable = setup_.own_executable;
    options.close_playback = [this] {
      if (playback_.PlaybackActive()) playback_.ClosePlayback();
      screen_.PauseIcon = PlayerIcon::kPause;
    };
    options.progress = [this](std::int32_t token, std::int32_t samples) {
      ShowDecodeProgress(token, samples);
    };
    // A refused file leaves nothing of itself behind: a WAV file played next keeps the rate
    // of the last recording that was accepted.
    const PlayerExtraction accepted = extraction_;
    const ExtractResult result = ExtractPayload(file, extraction_, tables_, options);
    if (result.outcome != ExtractOutcome::kExtracted) extraction_ = accepted;
    current_wav_file_ =
        result.outcome == ExtractOutcome::kExtracted ? result.wav_path.string() : "";
    if (!result.message.empty()) {
      dialogs_.ShowError(result.outcome == ExtractOutcome::kFailed ? "Fehler" : "Information",
                         result.message);
    }
    ShowStatus("ok.");
  }
  if (current_wav_file_.empty()) return;

  // The sound starts before the association lookup: asking the desktop takes a moment.
  PlayCurrentFrom(0);
  FindWaveApplication();
  EnablePlayButtons();
  std::string text = file;
  if (file != current_wav_file_) text += " (" + current_wav_file_ + ")";
  const double ms =
      static_cast<double>(playback_.PlayLengthSamples()) / extraction_.SampleRate * 1000.0;
  playback_.SetPlayLengthText(" [" + FormatSeconds(RoundHalfEven(std::clamp(ms, 0.0, 2e9))) +
                              "]  ");
  ShowFileLine("abspielen:  ", text, playback_.PlayLengthText());
}

void PlayerApp::ShowFileLine(const std::string& label, const std::string& files,
                             const std::string& length) {
  screen_.LineFile = label + files + length;
  screen_.LineFileLabelSize = label.size();
  screen_.LineFileLengthSize = length.size();
}

void PlayerApp::DropFiles(const std::vector<std::string>& files) {
  for (const std::string& file : files) LoadSoundFile(file);
}

void PlayerApp::FindWaveApplication() {
  const std::string program =
      services_.find_wave_application ? services_.find_wave_application(current_wav_file_) : "";
  if (program.empty()) {
    screen_.BtnWaveAppEnabled = false;
    return;
  }
  wave_app_name_ = ApplicationName(program);
  screen_.BtnWaveAppEnabled = true;
}

void PlayerApp::Command(PlayerControl sender) {
  switch (sender) {
    case PlayerControl::kBtnPlay:
      PlayPressed();
      break;
    case PlayerControl::kBtnPause:
      PausePressed();
      break;
    case PlayerControl::kBtnStop:
      StopPressed();
      break;
    case PlayerControl::kBtnWaveApp:
      StartWaveApplication();
      break;
    case PlayerControl::kBtnView:
      ToggleView();
      break;
    case PlayerControl::kBtnMixer:
      StartSystemMixer();
      break;
    case PlayerControl::kBtnHelp:
      ShowHelp();
      break;
    case PlayerControl::kBtnInfo:
      OpenInfoText();
      break;
    case PlayerControl::kBtnWebPage:
    case PlayerControl::kBtnCopyWebPage:
      OpenWebPage(sender);
      break;
    case PlayerControl::kBtnDownload:
    case PlayerControl::kBtnCopyDownload:
      OpenDownloadPage(sender);
      break;
    case PlayerControl::kBtnMail:
    case PlayerControl::kBtnCopyMail:
      MailToAuthor(sender);
      break;
    default:
      break;
  }
}

void PlayerApp::KeyDown(PlayerKey key) {
  switch (key) {
    case PlayerKey::kF1:
    case PlayerKey::kH:
      ShowHelp();
      break;
    case PlayerKey::kSpace:
      if (playback_.PlaybackActive()) {
        PausePressed();
      } else {
        PlayPressed();
      }
      break;
    case PlayerKey::kY:
      PlayPressed();
      break;
    case PlayerKey::kA:
      PausePressed();
      break;
    case PlayerKey::kS:
      StopPressed();
      break;
    case PlayerKey::kN:
      StartWaveApplication();
      break;
    case PlayerKey::kE:
      ToggleView();
      break;
    case PlayerKey::kM:
      StartSystemMixer();
      break;
    // The arrows reach the track bars: a bar moves by its line size and then reports the step.
    case PlayerKey::kLeft:
      TrackBarMoved(PlayerControl::kTrackPosition, screen_.TrackPosition - kTrackLineSize);
      HandleSliderScroll(kScrollLineUp, screen_.TrackPosition, PlayerControl::kTrackPosition);
      break;
    case PlayerKey::kRight:
      TrackBarMoved(PlayerControl::kTrackPosition, screen_.TrackPosition + kTrackLineSize);
      HandleSliderScroll(kScrollLineDown, screen_.TrackPosition, PlayerControl::kTrackPosition);
      break;
    case PlayerKey::kUp:
      TrackBarMoved(PlayerControl::kTrackVolume, screen_.TrackVolume - kTrackLineSize);
      HandleSliderScroll(kScrollLineUp, screen_.TrackVolume, PlayerControl::kTrackVolume);
      break;
    case PlayerKey::kDown:
      TrackBarMoved(PlayerControl::kTrackVolume, screen_.TrackVolume + kTrackLineSize);
      HandleSliderScroll(kScrollLineDown, screen_.TrackVolume, PlayerControl::kTrackVolume);
      break;
    case PlayerKey::kI:
      OpenInfoText();
      break;
    case PlayerKey::kW:
      OpenWebPage(PlayerControl::kKeyboard);
      break;
    case PlayerKey::kD:
      OpenDownloadPage(PlayerControl::kBtnDownload);
      break;
    case PlayerKey::kL:
      MailToAuthor(PlayerControl::kBtnMail);
      break;
    case PlayerKey::kOther:
      break;
  }
}

void PlayerApp::KeyUp(PlayerKey key) {
  // Letting go of an arrow ends the position bar's scroll: the sound plays from there.
  if (key == PlayerKey::kLeft || key == PlayerKey::kRight) {
    HandleSliderScroll(kScrollEndScroll, screen_.TrackPosition, PlayerControl::kTrackPosition);
  }
}

void PlayerApp::ToggleView() {
  screen_.CompactView = !screen_.CompactView;
}

void PlayerApp::ShowHelp() {
  dialogs_.Show({"Kurz-Hilfe", HelpText(), DialogIcon::kNone, DialogButtons::kOk});
}

void PlayerApp::ShowStatus(const std::string& text) {
  screen_.LineStatus = text;
}

void PlayerApp::EnablePlayButtons() {
  screen_.BtnPlayEnabled = screen_.BtnPauseEnabled = screen_.BtnStopEnabled = true;
}

void PlayerApp::EnablePlayOnly() {
  screen_.BtnPlayEnabled = true;
  screen_.BtnPauseEnabled = screen_.BtnStopEnabled = false;
}

void PlayerApp::PlayerShutdown() {
  if (playback_.PlaybackActive()) playback_.ClosePlayback();
  if (services_.shutdown_wait) services_.shutdown_wait();
}

void PlayerApp::Repaint() {
  if (services_.repaint) services_.repaint();
}

}  // namespace lorix
