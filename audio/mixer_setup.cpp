#include "audio/mixer_setup.h"

#include "audio/volume_scale.h"

namespace lorix {

namespace {

constexpr std::uint16_t kPlayerMinWaveOut = 32768;

void RaiseVolumeTo(Mixer& mixer, std::uint32_t component_type, std::uint16_t minimum) {
  if (mixer.GetMixerVolume(kMixerDevice, component_type, kPreferPlayback) < minimum) {
    mixer.SetMixerVolume(kMixerDevice, component_type, kPreferPlayback, minimum);
  }
}

// Selects every microphone item of the wave-in destination's source list.
void SelectMicrophone(Mixer& mixer) {
  std::uint32_t id = mixer.FindMixerControl(kMixerDevice, kControlTypeMixer, kComponentDstWaveIn,
                                            kPreferRecording);
  if (id == kNoMixerControl) {
    id = mixer.FindMixerControl(kMixerDevice, kControlTypeMux, kComponentDstWaveIn,
                                kPreferRecording);
  }
  if (id == kNoMixerControl) return;
  // A list that could not be read is left alone rather than overwritten with values that
  // were never read from it.
  if (!mixer.ReadMixerList(kMixerDevice, id)) return;
  for (MixerListEntry& entry : mixer.list()) {
    if (entry.component_type == kComponentSrcMicrophone) entry.value = 1;
  }
  mixer.WriteMixerList(kMixerDevice, id);
}

}  // namespace

void StartupMixerSetup(Mixer& mixer, const StartupMixerSettings& settings) {
  mixer.SetMixerMute(kMixerDevice, kComponentDstSpeakers, kPreferPlayback, false);
  mixer.SetMixerMute(kMixerDevice, kComponentSrcWaveOut, kPreferPlayback, false);
  if (settings.MIOnStartSetMinVols) {
    RaiseVolumeTo(mixer, kComponentSrcWaveOut, ClampMixerVolume(settings.MinVolWaveOut));
    RaiseVolumeTo(mixer, kComponentDstSpeakers, ClampMixerVolume(settings.MinVolSpeakers));
  }
  if (settings.MIOnStartSelectMike) {
    mixer.SetMixerMute(kMixerDevice, kComponentSrcMicrophone, kPreferRecording, false);
    SelectMicrophone(mixer);
  }
}

void PlayerMixerSetup(Mixer& mixer) {
  mixer.SetMixerMute(kMixerDevice, kComponentDstSpeakers, kPreferPlayback, false);
  mixer.SetMixerMute(kMixerDevice, kComponentSrcWaveOut, kPreferPlayback, false);
  RaiseVolumeTo(mixer, kComponentSrcWaveOut, kPlayerMinWaveOut);
}

}  // namespace lorix
