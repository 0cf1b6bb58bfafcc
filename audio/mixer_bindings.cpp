#include "audio/mixer_bindings.h"

#include "audio/volume_scale.h"

namespace lorix {

namespace {

// The microphone of the playback mix (monitoring) must be a line of the playback side. A mixer
// without one, such as a sound server's with only its capture switch and volume, would
// otherwise hand over the recording input, and the recorder would silence what it records.
bool HasPlaybackMicrophone(Mixer& mixer, std::uint32_t control_type) {
  return mixer.FoundOnDestination(kMixerDevice, control_type, kComponentSrcMicrophone,
                                  kPreferPlayback, kDestinationPlayback);
}

bool IsPlaybackMicrophone(const MixerTarget& target) {
  return target.component_type == kComponentSrcMicrophone && target.preference == kPreferPlayback;
}

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
  if (IsPlaybackMicrophone(target) && !HasPlaybackMicrophone(mixer, kControlTypeVolume)) {
    return MixerToSlider(0);  // as for a line without a volume control
  }
  return MixerToSlider(
      mixer.GetMixerVolume(kMixerDevice, target.component_type, target.preference));
}

void WriteVolumeSlider(Mixer& mixer, VolumeSlider slider, std::int32_t position) {
  const VolumeSliderBinding& binding = BindingOf(slider);
  const std::uint16_t value = SliderToMixer(position);
  for (std::size_t i = 0; i < binding.write_count; ++i) {
    const MixerTarget& target = binding.writes[i];
    if (IsPlaybackMicrophone(target) && !HasPlaybackMicrophone(mixer, kControlTypeVolume)) {
      continue;
    }
    mixer.SetMixerVolume(kMixerDevice, target.component_type, target.preference, value);
  }
}

bool ReadMikeToOutEnabled(Mixer& mixer) {
  // Without a mute of its own the microphone counts as not muted, as for any missing control.
  if (!HasPlaybackMicrophone(mixer, kControlTypeMute)) return true;
  return !mixer.GetMixerMute(kMixerDevice, kComponentSrcMicrophone, kPreferPlayback);
}

void WriteMikeToOutEnabled(Mixer& mixer, bool checked) {
  if (!HasPlaybackMicrophone(mixer, kControlTypeMute)) return;
  mixer.SetMixerMute(kMixerDevice, kComponentSrcMicrophone, kPreferPlayback, !checked);
}

}  // namespace lorix
