#include "audio/volume_scale.h"

#include <algorithm>

#include "codec/rounding.h"

namespace lorix {

std::int32_t MixerToSlider(std::uint16_t value) {
  return kVolumeSliderMax - static_cast<std::int32_t>(value) * kVolumeSliderMax / 65535;
}

std::uint16_t SliderToMixer(std::int32_t position) {
  const std::int32_t p = std::clamp(position, 0, kVolumeSliderMax);
  const std::int32_t product = (kVolumeSliderMax - p) * 65535;
  return static_cast<std::uint16_t>(RoundHalfEven(static_cast<double>(product) / kVolumeSliderMax));
}

std::int32_t MixerToPlayerTrack(std::uint16_t value) {
  return kVolumeSliderMax - ((static_cast<std::int32_t>(value) * kVolumeSliderMax) >> 16);
}

std::uint16_t ClampMixerVolume(std::int64_t value) {
  return static_cast<std::uint16_t>(std::clamp<std::int64_t>(value, 0, 65535));
}

}  // namespace lorix
