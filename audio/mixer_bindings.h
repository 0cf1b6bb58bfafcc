#pragma once

// What the recorder's volume sliders and its monitoring check box read and write on the mixer.
// The window calls these from its refresh timer and its change handlers; the slider positions
// are the upside-down 0..1000 scale of volume_scale.h.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "audio/mixer.h"

namespace lorix {

// One line volume: component type and destination preference.
struct MixerTarget {
  std::uint32_t component_type = 0;
  std::uint8_t preference = 0;
};

enum class VolumeSlider : std::uint8_t {
  kScrollbarVolWaveout,
  kScrollBarVolSpeakers,
  kScrollBarRecordLevel,
  kScrollBarMikeOut,
};

struct VolumeSliderBinding {
  VolumeSlider slider;
  std::string_view name;
  std::string_view hint;
  MixerTarget reads;
  std::array<MixerTarget, 2> writes;  // in this order
  std::size_t write_count = 1;
};

inline constexpr std::array<VolumeSliderBinding, 4> kVolumeSliderBindings{{
    {VolumeSlider::kScrollbarVolWaveout,
     "ScrollbarVolWaveout",
     "Wiedergabe-Lautstärke WaveOut",
     {kComponentSrcWaveOut, kPreferPlayback},
     {{{kComponentSrcWaveOut, kPreferPlayback}, {}}},
     1},
    {VolumeSlider::kScrollBarVolSpeakers,
     "ScrollBarVolSpeakers",
     "Wiedergabe-Lautstärke gesamt",
     {kComponentDstSpeakers, kPreferPlayback},
     {{{kComponentDstSpeakers, kPreferPlayback}, {}}},
     1},
    {VolumeSlider::kScrollBarRecordLevel,
     "ScrollBarRecordLevel",
     "Aufnahme-Pegel",
     {kComponentSrcMicrophone, kPreferRecording},
     {{{kComponentSrcMicrophone, kPreferRecording}, {kComponentDstVoiceIn, kPreferRecording}}},
     2},
    {VolumeSlider::kScrollBarMikeOut,
     "ScrollBarMikeOut",
     "Mikrofon-Pegel der Wiedergabe",
     {kComponentSrcMicrophone, kPreferPlayback},
     {{{kComponentSrcMicrophone, kPreferPlayback}, {}}},
     1},
}};

const VolumeSliderBinding& BindingOf(VolumeSlider slider);

// The slider position that shows the slider's line volume.
std::int32_t ReadVolumeSlider(Mixer& mixer, VolumeSlider slider);

// Writes the volume of a slider position to each of the slider's targets.
void WriteVolumeSlider(Mixer& mixer, VolumeSlider slider, std::int32_t position);

// The monitoring check box CBMikeToOutEnabled: checked while the microphone is not muted on the
// playback side.
inline constexpr std::string_view kCBMikeToOutEnabledCaption = "m&ithören";
bool ReadMikeToOutEnabled(Mixer& mixer);
void WriteMikeToOutEnabled(Mixer& mixer, bool checked);

}  // namespace lorix
