// The play, pause and stop buttons, the two track bars, the 100 ms timer and the progress shown
// while a recording is decoded.

#include <algorithm>

#include "audio/mixer_backend.h"
#include "audio/time_text.h"
#include "audio/volume_scale.h"
#include "codec/rounding.h"
#include "player/player_app.h"

namespace lorix {
namespace {

int ClampTrack(int value) {
  return std::clamp(value, 0, kTrackMax);
}

// Rounds half to even; values far outside any track or time range are clamped first.
std::int32_t RoundClamped(double value) {
  return RoundHalfEven(std::clamp(value, -2e9, 2e9));
}

}  // namespace

void PlayerApp::PlayCurrentFrom(std::int32_t start_ms) {
  playback_.SetCurrentSampleRate(extraction_.SampleRate);
  playback_.PlayWave(current_wav_file_, start_ms);
  // Opening closes any earlier playback, a paused one included.
  screen_.PauseIcon = PlayerIcon::kPause;
}

void PlayerApp::PlayPressed() {
  if (current_wav_file_.empty()) return;
  if (playback_.PlaybackPaused()) {
    PausePressed();  // resumes
    return;
  }
  PlayCurrentFrom(0);
  EnablePlayButtons();
  ShowStatus("ok.   (gestartet ...)");
}

void PlayerApp::PausePressed() {
  if (!playback_.PlaybackActive()) return;
  PlayerTimerTick();
  playback_.TogglePause();
  if (playback_.PlaybackPaused()) {
    ShowStatus("angehalten nach " + FormatSeconds(playback_.GetPlayPosition()));
  } else {
    ShowStatus("ok.");
  }
  screen_.PauseIcon = playback_.PlaybackPaused() ? PlayerIcon::kPausing : PlayerIcon::kPause;
}

void PlayerApp::StopPressed() {
  if (playback_.PlaybackPaused()) PausePressed();
  if (!playback_.PlaybackActive()) return;
  ShowStatus("gestoppt nach " + FormatSeconds(playback_.GetPlayPosition()));
  playback_.ClosePlayback();
  ShowPlayerPosition(0);
  EnablePlayOnly();
}

void PlayerApp::PlayerTimerTick() {
  const std::uint16_t volume =
      mixer_.GetMixerVolume(kMixerDevice, kComponentDstSpeakers, kPreferPlayback);
  screen_.TrackVolume = MixerToPlayerTrack(volume);
  if (!playback_.PlaybackPaused() && playback_.PlaybackActive()) {
    play_position_ms_ = playback_.GetPlayPosition();
    ShowPlayerPosition(play_position_ms_);
  }
}

void PlayerApp::ShowPlayerPosition(std::int32_t ms) {
  screen_.LabelPosition = "Pos.: " + FormatSeconds(ms) + playback_.PlayLengthText();
  const std::int32_t length = playback_.PlayLengthSamples();
  const std::int32_t value =
      length <= 0 ? 0
                  : RoundClamped(1.0 / length * ms * static_cast<double>(extraction_.SampleRate));
  screen_.TrackPosition = ClampTrack(value);
  // The service sends no notice at the end of a sound: reaching the end is noticed here.
  if (value >= kTrackMax && playback_.PlaybackActive()) StopPressed();
}

std::int32_t PlayerApp::PerMilleToMs(int value) const {
  const std::int32_t rate = extraction_.SampleRate;
  if (rate < 100) return 0;
  return RoundClamped(static_cast<double>(playback_.PlayLengthSamples()) / rate * 1000.0 * value /
                      1000.0);
}

void PlayerApp::TrackBarMoved(PlayerControl bar, int value) {
  if (bar == PlayerControl::kTrackPosition) screen_.TrackPosition = ClampTrack(value);
  if (bar == PlayerControl::kTrackVolume) screen_.TrackVolume = ClampTrack(value);
}

void PlayerApp::HandleSliderScroll(int code, int thumb_position, PlayerControl sender) {
  const bool position_bar = sender == PlayerControl::kTrackPosition;
  if (!position_bar && sender != PlayerControl::kTrackVolume) return;
  // Line and page steps count from where the bar already stands, its own move included.
  const int current = position_bar ? screen_.TrackPosition : screen_.TrackVolume;
  int value = thumb_position;
  switch (code) {
    case kScrollPageUp:
      value = std::max(current - kTrackPageSize, 0);
      break;
    case kScrollPageDown:
      value = std::min(current + kTrackPageSize, kTrackMax);
      break;
    case kScrollLineUp:
      value = std::max(current - kTrackLineSize, 0);
      break;
    case kScrollLineDown:
      value = std::min(current + kTrackLineSize, kTrackMax);
      break;
    default:
      break;
  }
  if (code == kScrollPageUp || code == kScrollPageDown || code == kScrollLineUp ||
      code == kScrollLineDown) {
    code = kScrollThumbTrack;
  }
  value = ClampTrack(value);

  if (position_bar && !current_wav_file_.empty()) {
    if (code == kScrollThumbTrack) {
      if (playback_.PlaybackActive()) StopPressed();
      screen_.LabelPosition =
          "Start: " + FormatSeconds(PerMilleToMs(value)) + playback_.PlayLengthText();
      screen_.TrackPosition = value;
    } else if (code == kScrollEndScroll) {
      PlayCurrentFrom(PerMilleToMs(screen_.TrackPosition));
      EnablePlayButtons();
      ShowStatus("ok.   (gestartet bei " + FormatSeconds(playback_.GetPlayPosition()) + " ...)");
    }
  }
  if (!position_bar && code == kScrollThumbTrack) {
    screen_.TrackVolume = value;
    mixer_.SetMixerVolume(kMixerDevice, kComponentDstSpeakers, kPreferPlayback,
                          SliderToMixer(value));
  }
}

void PlayerApp::ShowDecodeProgress(std::int32_t token_number, std::int32_t samples_decoded) {
  playback_.SetPlayLengthSamples(samples_decoded);
  const std::int32_t rate = extraction_.SampleRate;
  const double seconds = rate > 0 ? static_cast<double>(samples_decoded) / rate : 0.0;
  screen_.LabelPosition = "dekomprimiert: " + FormatDecimal(seconds, 2) + " Sek.  ";
  // Measured against the whole file, so for an attachment the bar ends short of 1000.
  const std::int64_t size = extraction_.SourceFileSize;
  screen_.TrackPosition =
      size > 0 ? ClampTrack(static_cast<int>(std::int64_t{token_number} * 1000 / size)) : 0;
  Repaint();
}

}  // namespace lorix
