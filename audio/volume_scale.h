#pragma once

// Mixer volumes run 0..65535; the volume sliders run 0..1000 and are drawn upside down, so
// position 0 (top) is full volume and 1000 (bottom) is silence.

#include <cstdint>

namespace lorix {

inline constexpr std::int32_t kVolumeSliderMax = 1000;

// The recorder's sliders: 1000 - (value x 1000) div 65535.
std::int32_t MixerToSlider(std::uint16_t value);

// Both programs' sliders to the mixer: round((1000 - position) x 65535 / 1000), halves to even.
// Positions outside the slider's range count as its nearest end.
std::uint16_t SliderToMixer(std::int32_t position);

// The player's volume bar: 1000 - (value x 1000) div 65536, so full volume shows as 1.
std::int32_t MixerToPlayerTrack(std::uint16_t value);

// A minimum volume from the settings file, brought into the mixer's range.
std::uint16_t ClampMixerVolume(std::int64_t value);

}  // namespace lorix
