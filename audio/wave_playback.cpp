#include "audio/wave_playback.h"

#include <algorithm>
#include <charconv>
#include <limits>

#include "audio/mci_errors.h"
#include "audio/mci_service.h"
#include "audio/time_text.h"
#include "codec/rounding.h"

namespace lorix {
namespace {

const char kAlias[] = "mciAlias";
const char kCaption[] = "Information";
// The service's error text fits a buffer of 1024 characters with its terminator.
constexpr std::size_t kMaxErrorText = 1023;

// A decimal reply as a number; a reply that is no number counts as 0.
std::int64_t ParseReply(const std::string& reply) {
  std::int64_t value = 0;
  const auto result = std::from_chars(reply.data(), reply.data() + reply.size(), value);
  return result.ec == std::errc() ? value : 0;
}

std::int32_t ClampToInt32(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// Rounds half to even into the 32-bit range; values beyond it are clamped first.
std::int32_t Round32(double value) {
  constexpr double kMin = std::numeric_limits<std::int32_t>::min();
  constexpr double kMax = std::numeric_limits<std::int32_t>::max();
  return RoundHalfEven(std::clamp(value, kMin, kMax));
}

}  // namespace

WavePlayback::WavePlayback(Services services, Dialogs& dialogs)
    : services_(std::move(services)), dialogs_(dialogs) {
  if (!services_.error_text) services_.error_text = MciGetErrorString;
}

int WavePlayback::Send(const std::string& command) {
  std::string reply;
  return Send(command, reply);
}

int WavePlayback::Send(const std::string& command, std::string& reply) {
  reply.clear();
  return services_.send_command(command, reply);
}

void WavePlayback::MciErrorText(const std::string& prefix, int code) {
  std::string text = services_.error_text(code);
  if (text.size() > kMaxErrorText) text.resize(kMaxErrorText);
  dialogs_.ShowError(kCaption, prefix + text);
}

void WavePlayback::UpdateControls() {
  if (services_.update_controls) services_.update_controls();
}

int WavePlayback::PlayWave(const std::string& file, std::int32_t start_ms) {
  if (playback_active_) ClosePlayback();
  playback_paused_ = false;
  playback_active_ = false;

  int result = Send("open " + MciQuoted(file) + " type waveaudio alias " + kAlias);
  if (result != 0) {
    MciErrorText("mci-Open: ", result);
    return result;
  }
  result = Send(std::string("set ") + kAlias + " time format milliseconds");
  if (result != 0) MciErrorText("mci-SetTimeFormat: ", result);

  std::string reply;
  result = Send(std::string("status ") + kAlias + " length", reply);
  if (result != 0) {
    MciErrorText("mci-GetLength: ", result);
  } else {
    play_length_samples_ =
        Round32(static_cast<double>(ParseReply(reply)) / 1000.0 * current_sample_rate_);
  }

  std::string play = std::string("play ") + kAlias;
  if (start_ms > 0) play += " from " + std::to_string(start_ms);
  result = Send(play);
  playback_paused_ = false;
  playback_active_ = true;
  play_position_ms_ = 0;
  if (result != 0) MciErrorText("mci-Play: ", result);
  return result;
}

std::int32_t WavePlayback::GetPlayPosition() {
  std::string reply;
  const int result = Send(std::string("status ") + kAlias + " position", reply);
  if (result != 0) {
    MciErrorText("mci-status: ", result);
    return 0;
  }
  return ClampToInt32(ParseReply(reply));
}

void WavePlayback::TogglePause() {
  if (!playback_active_) return;
  playback_paused_ = !playback_paused_;
  Send((playback_paused_ ? "pause " : "resume ") + std::string(kAlias));
}

void WavePlayback::ClosePlayback() {
  playback_paused_ = false;
  playback_active_ = false;
  Send(std::string("close ") + kAlias);
}

int WavePlayback::SetPlayFile(const std::string& file, bool play_now) {
  if (file.empty()) return 0;
  play_file_ = file;
  if (!wave_app_looked_) FindWaveApplication(file);
  const int result = play_now ? PlayWave(file, 0) : 0;
  // The length shown is that of the file opened last; without a rate there is none to show.
  if (current_sample_rate_ > 0) {
    const double ms = static_cast<double>(play_length_samples_) / current_sample_rate_ * 1000.0;
    play_length_text_ = " [" + FormatSeconds(Round32(ms)) + "]";
  } else {
    play_length_text_ = "  ";
  }
  label_play_file_ = file + play_length_text_;
  UpdateControls();
  return result;
}

void WavePlayback::ShowPlayPosition(std::int32_t ms) {
  label_play_pos_ = "Pos.: " + FormatSeconds(ms) + play_length_text_;
  // Formed in floating point: ms x rate overflows 32 bits after a few minutes.
  const int value = play_length_samples_ <= 0
                        ? 0
                        : Round32(static_cast<double>(ms) * current_sample_rate_ /
                                  static_cast<double>(play_length_samples_));
  scrollbar_play_ = std::clamp(value, 0, kSliderMax);
  // The service gives no notice at the end of a file: reaching the end is seen here.
  if (value >= kSliderMax && playback_active_) StopPlayback();
}

std::int32_t WavePlayback::PerMilleToMs(int value) const {
  if (current_sample_rate_ < 100) return 0;
  return Round32(static_cast<double>(play_length_samples_) / current_sample_rate_ * 1000.0 * value /
                 1000.0);
}

void WavePlayback::PeriodicRefresh() {
  if (services_.refresh_devices) services_.refresh_devices();
  if (playback_active_ && !playback_paused_) {
    play_position_ms_ = GetPlayPosition();
    ShowPlayPosition(play_position_ms_);
  }
}

void WavePlayback::ButtonPlayClick() {
  if (play_file_.empty()) return;
  if (playback_paused_) {
    ButtonPauseClick();  // resumes
    return;
  }
  PlayWave(play_file_, 0);
  ShowPlayStatus("ok.   (Datei \"" + play_file_ + "\" gestartet ...)");
  UpdateControls();
}

void WavePlayback::ButtonPauseClick() {
  if (!playback_active_) return;
  PeriodicRefresh();
  TogglePause();
  ShowPlayStatus(playback_paused_ ? "angehalten nach " + FormatSeconds(GetPlayPosition())
                                  : std::string("ok."));
  UpdateControls();
}

void WavePlayback::StopPlayback() {
  if (playback_paused_) ButtonPauseClick();  // resumes
  if (playback_active_) {
    ShowPlayStatus("gestoppt nach " + FormatSeconds(GetPlayPosition()));
    ClosePlayback();
    ShowPlayPosition(0);
  }
}

void WavePlayback::ButtonStopClick() {
  StopPlayback();
  UpdateControls();
}

void WavePlayback::ScrollbarPlayPosScroll(int scroll_code, int position) {
  if (playback_active_) StopPlayback();
  if (!play_file_.empty()) {
    const std::int32_t start_ms = PerMilleToMs(position);
    if (scroll_code == kScrollThumbTrack) {
      label_play_pos_ = "Start ab Pos.: " + FormatSeconds(start_ms) + play_length_text_;
    } else if (scroll_code == kScrollEndScroll) {
      PlayWave(play_file_, start_ms);
      ShowPlayStatus("ok.   (gestartet bei " + FormatSeconds(GetPlayPosition()) + " ...)");
    }
  }
  // The slider stays where the user moved it.
  scrollbar_play_ = position;
  UpdateControls();
}

void WavePlayback::FindWaveApplication(const std::string& file) {
  wave_app_looked_ = true;
  const std::string program = services_.find_application ? services_.find_application(file) : "";
  ApplicationButton& button = button_start_application_;
  if (program.empty()) {
    button.enabled = false;
    button.hint = "(keine verknüpfte Anwendung gefunden)";
    return;
  }
  // "/usr/bin/app.bin" -> "app": no folder, nothing from the first point on.
  std::string name = program.substr(program.find_last_of("/\\") + 1);
  name = name.substr(0, name.find('.'));
  wave_app_name_ = name;
  button.hint = "Datei \"" + file + "\" mit \"" + name + "\" öffnen";
  button.caption = "Wave-Datei mit \"" + name + "\" öffnen";
  button.enabled = true;
}

void WavePlayback::ButtonStartApplicationClick() {
  if (play_file_.empty()) return;
  const DialogAnswer answer = dialogs_.Show(
      {"Datei öffnen",
       "Wollen Sie die Datei \"" + play_file_ + "\" mit \"" + wave_app_name_ + "\" öffnen?",
       DialogIcon::kNone, DialogButtons::kYesNo});
  if (answer == DialogAnswer::kYes && services_.open_file) services_.open_file(play_file_);
}

}  // namespace lorix
