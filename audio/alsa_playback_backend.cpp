#include "audio/alsa_playback_backend.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace lorix {
namespace {

// Output latency asked of ALSA: short enough for pause and position to follow promptly.
constexpr unsigned kLatencyUs = 250000;
// Longest single wait of the playback thread for room in the device's buffer.
constexpr int kWaitMs = 20;
// How long Pause and Resume wait for the playback thread to carry them out.
constexpr auto kCommandTimeout = std::chrono::seconds(2);

// Plays one sound on its own thread. The thread alone touches the PCM handle after the
// constructor; the UI thread talks to it through the requests and results under `mutex_`.
//
// The position is the number of frames written minus those still queued in the device
// (snd_pcm_delay). Once the sound is written, silence follows it, so that the device keeps
// running until the last real frame has been heard; then the output has ended.
class AlsaPlaybackOutput : public PlaybackOutput {
 public:
  AlsaPlaybackOutput(snd_pcm_t* pcm, std::shared_ptr<const PcmSound> sound,
                     std::int64_t start_frame, bool widen, bool can_pause, snd_pcm_uframes_t period)
      : pcm_(pcm),
        sound_(std::move(sound)),
        total_(sound_->FrameCount()),
        widen_(widen),
        can_pause_(can_pause),
        period_(std::max<snd_pcm_uframes_t>(period, 64)),
        cursor_(start_frame),
        base_(start_frame),
        heard_(start_frame),
        position_(start_frame) {
    thread_ = std::thread([this] { Run(); });
  }

  ~AlsaPlaybackOutput() override {
    {
      std::lock_guard lock(mutex_);
      stop_ = true;
    }
    changed_.notify_all();
    thread_.join();
    snd_pcm_close(pcm_);
  }

  void Pause() override { Request(true); }
  void Resume() override { Request(false); }

  std::int64_t PositionFrames() override {
    std::lock_guard lock(mutex_);
    return position_;
  }

  State GetState() override {
    std::lock_guard lock(mutex_);
    return state_;
  }

 private:
  void Request(bool pause) {
    std::unique_lock lock(mutex_);
    if (state_ != State::kRunning) return;
    want_paused_ = pause;
    changed_.notify_all();
    changed_.wait_for(lock, kCommandTimeout,
                      [&] { return paused_ == pause || state_ != State::kRunning; });
  }

  void Run() {
    State final_state = State::kRunning;
    while (final_state == State::kRunning) {
      {
        std::unique_lock lock(mutex_);
        if (stop_) break;
        if (want_paused_ != paused_) {
          const bool pause = want_paused_;
          lock.unlock();
          if (pause) {
            ApplyPause();
          } else {
            ApplyResume();
          }
          const std::int64_t heard = Heard();
          lock.lock();
          paused_ = pause;
          position_ = heard;
          changed_.notify_all();
          continue;
        }
        if (paused_) {
          changed_.wait(lock, [&] { return stop_ || want_paused_ != paused_; });
          continue;
        }
      }
      if (!WriteChunk()) {
        final_state = State::kFailed;
      }
      const std::int64_t heard = Heard();
      if (final_state == State::kRunning && heard >= total_) final_state = State::kEnded;
      std::lock_guard lock(mutex_);
      position_ = heard;
    }
    snd_pcm_drop(pcm_);
    std::lock_guard lock(mutex_);
    if (final_state == State::kEnded) position_ = total_;
    if (final_state != State::kRunning) state_ = final_state;
    changed_.notify_all();
  }

  // Frames of the sound heard so far.
  std::int64_t Heard() {
    std::int64_t queued = 0;
    const snd_pcm_state_t state = snd_pcm_state(pcm_);
    if (state == SND_PCM_STATE_PREPARED || state == SND_PCM_STATE_SETUP) {
      queued = written_;  // not started yet: nothing has been heard
    } else if (state != SND_PCM_STATE_XRUN) {
      snd_pcm_sframes_t delay = 0;
      const int result = snd_pcm_delay(pcm_, &delay);
      if (result == -EPIPE) {
        queued = 0;  // an underrun: all of it was heard
      } else if (result < 0) {
        return heard_;  // no answer this time: stay where we were
      } else {
        queued = std::clamp<std::int64_t>(delay, 0, written_);
      }
    }
    heard_ = std::min(base_ + written_ - queued, total_);
    return heard_;
  }

  // Writes the next period of the sound, or of silence behind its end. False when the
  // device cannot go on.
  bool WriteChunk() {
    std::int64_t frames = static_cast<std::int64_t>(period_);
    if (cursor_ < total_) frames = std::min(frames, total_ - cursor_);
    // Writes never block for long: the thread waits for room a short while at a time, so that
    // a pause or stop is carried out promptly even while the device is slow to take data.
    const snd_pcm_sframes_t room = snd_pcm_avail_update(pcm_);
    if (room < 0) return Recover(static_cast<int>(room));
    if (room < frames) {
      const int ready = snd_pcm_wait(pcm_, kWaitMs);
      return ready >= 0 || Recover(ready);
    }
    const std::size_t channels = sound_->format.channels;
    const bool eight_bit = sound_->format.bits_per_sample == 8;
    const std::size_t in_frame_bytes = sound_->format.FrameBytes();
    const std::uint8_t* source = nullptr;
    if (cursor_ < total_) {
      source = sound_->samples.data() + static_cast<std::size_t>(cursor_) * in_frame_bytes;
    }
    const std::size_t values = static_cast<std::size_t>(frames) * channels;
    const void* data = source;
    if (widen_) {
      // The device takes no 8-bit samples: widen them to 16 bits.
      wide_.assign(values, 0);
      for (std::size_t i = 0; source && i < values; ++i) {
        wide_[i] = static_cast<std::int16_t>((source[i] - 128) * 256);
      }
      data = wide_.data();
    } else if (!source) {
      silence_.assign(values * (eight_bit ? 1 : 2), eight_bit ? 0x80 : 0x00);
      data = silence_.data();
    }
    const snd_pcm_sframes_t written =
        snd_pcm_writei(pcm_, data, static_cast<snd_pcm_uframes_t>(frames));
    if (written < 0) return Recover(static_cast<int>(written));
    written_ += written;
    if (source) cursor_ += written;
    return true;
  }

  // Brings the device back after an underrun or a suspend. False when it cannot go on.
  bool Recover(int error) {
    if (error == -EPIPE) {
      // Underrun: the device played everything it had. Count it as heard and start anew.
      base_ = std::min(base_ + written_, cursor_);
      written_ = 0;
    }
    return snd_pcm_recover(pcm_, error, 1) == 0;
  }

  void ApplyPause() {
    if (can_pause_ && snd_pcm_state(pcm_) == SND_PCM_STATE_RUNNING && snd_pcm_pause(pcm_, 1) == 0) {
      hw_paused_ = true;
      return;
    }
    Reposition();
  }

  void ApplyResume() {
    if (hw_paused_) {
      hw_paused_ = false;
      if (snd_pcm_pause(pcm_, 0) == 0) return;
      Reposition();
    }
  }

  // Throws away what the device still holds and goes on from the frame heard last.
  void Reposition() {
    const std::int64_t heard = Heard();
    snd_pcm_drop(pcm_);
    snd_pcm_prepare(pcm_);
    base_ = heard;
    cursor_ = heard;
    written_ = 0;
  }

  snd_pcm_t* const pcm_;
  const std::shared_ptr<const PcmSound> sound_;
  const std::int64_t total_;
  const bool widen_;
  const bool can_pause_;
  const snd_pcm_uframes_t period_;

  // Used by the playback thread only.
  std::int64_t cursor_;       // next frame of the sound to write
  std::int64_t base_;         // frame of the sound the device counted from when written_ was 0
  std::int64_t written_ = 0;  // frames written since then, silence included
  std::int64_t heard_ = 0;    // the last position worked out
  bool hw_paused_ = false;
  std::vector<std::int16_t> wide_;
  std::vector<std::uint8_t> silence_;

  std::mutex mutex_;
  std::condition_variable changed_;
  bool stop_ = false;
  bool want_paused_ = false;
  bool paused_ = false;
  std::int64_t position_;
  State state_ = State::kRunning;
  std::thread thread_;
};

snd_pcm_format_t AlsaFormat(const PcmFormat& format) {
  return format.bits_per_sample == 8 ? SND_PCM_FORMAT_U8 : SND_PCM_FORMAT_S16_LE;
}

}  // namespace

std::unique_ptr<PlaybackOutput> AlsaPlaybackBackend::Start(std::shared_ptr<const PcmSound> sound,
                                                           std::int64_t start_frame) {
  if (!sound || sound->format.FrameBytes() == 0) return nullptr;
  snd_pcm_t* pcm = nullptr;
  if (snd_pcm_open(&pcm, device_name_.c_str(), SND_PCM_STREAM_PLAYBACK, 0) < 0) return nullptr;
  const PcmFormat& format = sound->format;
  // The sound's own format, with ALSA resampling to what the device runs at; 8-bit sounds are
  // widened to 16 bits for a device that refuses them.
  bool widen = false;
  int result = snd_pcm_set_params(pcm, AlsaFormat(format), SND_PCM_ACCESS_RW_INTERLEAVED,
                                  format.channels, format.sample_rate, 1, kLatencyUs);
  if (result < 0 && format.bits_per_sample == 8) {
    widen = true;
    result = snd_pcm_set_params(pcm, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED,
                                format.channels, format.sample_rate, 1, kLatencyUs);
  }
  snd_pcm_uframes_t buffer_size = 0;
  snd_pcm_uframes_t period_size = 0;
  if (result < 0 || snd_pcm_get_params(pcm, &buffer_size, &period_size) < 0) {
    snd_pcm_close(pcm);
    return nullptr;
  }
  bool can_pause = false;
  snd_pcm_hw_params_t* params = nullptr;
  if (device_pause_ && snd_pcm_hw_params_malloc(&params) == 0) {
    if (snd_pcm_hw_params_current(pcm, params) == 0) {
      can_pause = snd_pcm_hw_params_can_pause(params) == 1;
    }
    snd_pcm_hw_params_free(params);
  }
  start_frame = std::clamp<std::int64_t>(start_frame, 0, sound->FrameCount());
  try {
    return std::make_unique<AlsaPlaybackOutput>(pcm, std::move(sound), start_frame, widen,
                                                can_pause, period_size);
  } catch (const std::system_error&) {
    snd_pcm_close(pcm);
    return nullptr;
  }
}

}  // namespace lorix
