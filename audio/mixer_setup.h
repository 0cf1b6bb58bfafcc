#pragma once

// The mixer adjustments each program makes once at start, so that recording and playback work
// without a trip to the desktop's mixer program.

#include <cstdint>

#include "audio/mixer.h"

namespace lorix {

// The recorder's start-up options: two menu items and two settings-file values. The minimum
// volumes are taken as stored and brought into 0..65535 before use.
struct StartupMixerSettings {
  bool MIOnStartSetMinVols = true;
  bool MIOnStartSelectMike = true;
  std::int64_t MinVolWaveOut = 40960;
  std::int64_t MinVolSpeakers = 40960;
};

// The recorder: unmutes the speakers and the wave output; raises their volumes to the minimums
// when asked to and they are below; when asked to, unmutes the microphone on the recording side
// and selects it in the recording-source list (a multiple-select list first, else a
// single-select one), leaving the other items as they were.
void StartupMixerSetup(Mixer& mixer, const StartupMixerSettings& settings);

// The player: unmutes the speakers and the wave output and raises the wave output to half
// volume (32768) if it is below that.
void PlayerMixerSetup(Mixer& mixer);

}  // namespace lorix
