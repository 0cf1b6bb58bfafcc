#pragma once

#include <string>

#include "audio/playback_backend.h"

namespace lorix {

// Plays sounds on an ALSA PCM device ("default" unless told otherwise), each on a thread of
// its own that writes the samples and counts what has been heard.
class AlsaPlaybackBackend : public PlaybackBackend {
 public:
  // `device_pause` false makes pausing drop the device's buffer and refill it on resume, the
  // way devices without a pause of their own are handled.
  explicit AlsaPlaybackBackend(std::string device_name = "default", bool device_pause = true)
      : device_name_(std::move(device_name)), device_pause_(device_pause) {}

  std::unique_ptr<PlaybackOutput> Start(std::shared_ptr<const PcmSound> sound,
                                        std::int64_t start_frame) override;

 private:
  std::string device_name_;
  bool device_pause_;
};

}  // namespace lorix
