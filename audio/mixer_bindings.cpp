#include "audio/mixer_bindings.h"

#include "audio/volume_scale.h"

namespace lorix {

namespace {


// BindingOf indexes the table by the slider's number.
constexpr bool TableFollowsSliderOrder() {
  for (std::size_t i = 0; i < kVolumeSliderBindings.size(); ++i) {
    if (static_cast<std::size_t>(kVolumeSliderBindings[i].slider) != i) return false;
  }
  return true;
}
static_assert(TableFollowsSliderOrder());

}  // namespace

const VolumeSliderBinding& BindingOf(VolumeSlider slider) {
  return kVolumeSliderBindings[static_cast<std::size_t>(slider)];
}

std::int32_t ReadVolumeSlider(Mixer& mixer, VolumeSlider slider) {
  const MixerTarget& target = BindingOf(slider).reads;
  return MixerToSlider(
      mixer.GetMixerVolume(kMixerDevice, target.component_type, target.preference));
}

void WriteVolumeSlider(Mixer& mixer, VolumeSlider slider, std::int32_t position) {
  const VolumeSliderBinding& binding = BindingOf(slider);
  const std::uint16_t value = SliderToMixer(position);
  for (std::size_t i = 0; i < binding.write_count; ++i) {
    const MixerTarget& target = binding.writes[i];
    mixer.SetMixerVolume(kMixerDevice, target.component_type, target.preference, value);
  }
}

bool ReadMikeToOutEnabled(Mixer& mixer) {
  return !mixer.GetMixerMute(kMixerDevice, kComponentSrcMicrophone, kPreferPlayback);
}

void WriteMikeToOutEnabled(Mixer& mixer, bool checked) {
  mixer.SetMixerMute(kMixerDevice, kComponentSrcMicrophone, kPreferPlayback, !checked);
}

}  // namespace lorix
