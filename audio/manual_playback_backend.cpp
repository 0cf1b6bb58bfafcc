#include "audio/manual_playback_backend.h"

#include <algorithm>

namespace lorix {

// What an output and the backend share: the backend moves the clock, the output reads it.
struct ManualPlaybackBackend::Track {
  std::shared_ptr<const PcmSound> sound;
  std::int64_t start_frame = 0;
  std::int64_t played_ms = 0;  // running time since the start, pauses excluded
  bool paused = false;
  bool failed = false;
  bool open = true;

  std::int64_t Position() const {
    const std::int64_t frames =
        start_frame + played_ms * static_cast<std::int64_t>(sound->format.sample_rate) / 1000;
    return std::min(frames, sound->FrameCount());
  }
};

class ManualPlaybackBackend::Output : public PlaybackOutput {
 public:
  Output(std::shared_ptr<Track> track, std::vector<std::string>& log)
      : track_(std::move(track)), log_(log) {}
  ~Output() override {
    track_->open = false;
    log_.push_back("stop");
  }

  void Pause() override {
    if (track_->paused) return;
    track_->paused = true;
    log_.push_back("pause");
  }
  void Resume() override {
    if (!track_->paused) return;
    track_->paused = false;
    log_.push_back("resume");
  }
  std::int64_t PositionFrames() override { return track_->Position(); }
  State GetState() override {
    if (track_->failed) return State::kFailed;
    return track_->Position() >= track_->sound->FrameCount() ? State::kEnded : State::kRunning;
  }

 private:
  std::shared_ptr<Track> track_;
  std::vector<std::string>& log_;
};

std::unique_ptr<PlaybackOutput> ManualPlaybackBackend::Start(std::shared_ptr<const PcmSound> sound,
                                                             std::int64_t start_frame) {
  if (no_device) return nullptr;
  auto track = std::make_shared<Track>();
  track->sound = std::move(sound);
  track->start_frame = start_frame;
  std::erase_if(tracks_, [](const auto& t) { return !t->open; });
  tracks_.push_back(track);
  log.push_back("start " + std::to_string(start_frame));
  return std::make_unique<Output>(track, log);
}

void ManualPlaybackBackend::Advance(std::int64_t ms) {
  for (auto& track : tracks_) {
    if (track->open && !track->paused && !track->failed) track->played_ms += ms;
  }
}

void ManualPlaybackBackend::FailRunningOutputs() {
  for (auto& track : tracks_) {
    if (track->open && !track->paused) track->failed = true;
  }
}

int ManualPlaybackBackend::OpenOutputs() const {
  return static_cast<int>(
      std::count_if(tracks_.begin(), tracks_.end(), [](const auto& t) { return t->open; }));
}

}  // namespace lorix
