#pragma once

#include <cstdint>
#include <memory>

#include "codec/wav_reader.h"

namespace lorix {

// One sound being played on an output device. Destroying it stops the sound at once and
// releases the device; by then any thread of its own has ended.
class PlaybackOutput {
 public:
  enum class State {
    kRunning,  // playing or paused
    kEnded,    // every frame has been played; the position equals the frame count
    kFailed,   // the device gave up; the position is where it stopped
  };

  virtual ~PlaybackOutput() = default;

  // Both return once the device has stopped or resumed, so a position read afterwards no
  // longer (or again) advances. Calling either in the state it leads to changes nothing.
  virtual void Pause() = 0;
  virtual void Resume() = 0;

  // Frames of the sound that have been heard, counted from the start of the sound (not from
  // the frame playing began at), never more than the frame count.
  virtual std::int64_t PositionFrames() = 0;
  virtual State GetState() = 0;
};

// Opens output devices for sounds.
class PlaybackBackend {
 public:
  virtual ~PlaybackBackend() = default;

  // Starts playing `sound` at `start_frame` (0..frame count). Returns null when no device can
  // be opened for the sound's format.
  virtual std::unique_ptr<PlaybackOutput> Start(std::shared_ptr<const PcmSound> sound,
                                                std::int64_t start_frame) = 0;
};

}  // namespace lorix
