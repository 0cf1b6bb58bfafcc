#pragma once

// A playback backend without a device, for tests: time moves only when the test says so, and
// every start, pause, resume and stop is logged.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "audio/playback_backend.h"

namespace lorix {

class ManualPlaybackBackend : public PlaybackBackend {
 public:
  std::unique_ptr<PlaybackOutput> Start(std::shared_ptr<const PcmSound> sound,
                                        std::int64_t start_frame) override;

  // Lets `ms` of real time pass for every output that is running and not paused.
  void Advance(std::int64_t ms);

  // Makes the outputs now running stop with a device failure at their current position.
  void FailRunningOutputs();

  // Number of outputs that exist (started and not yet destroyed).
  int OpenOutputs() const;

  // When set, Start finds no device.
  bool no_device = false;

  // "start FRAME", "pause", "resume", "stop" in the order they happened.
  std::vector<std::string> log;

 private:
  struct Track;
  class Output;

  std::vector<std::shared_ptr<Track>> tracks_;
};

}  // namespace lorix
