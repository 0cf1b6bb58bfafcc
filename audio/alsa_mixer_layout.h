#pragma once

// How the simple-mixer elements of a sound card become the numbered mixer controls of
// mixer_backend.h. Kept apart from the ALSA calls so that card layouts can be checked without
// the card.
//
//   Master                  speakers destination: volume, mute (the playback switch, inverted)
//   PCM                     wave-out source: volume, mute
//   a microphone element    microphone source on the playback side: volume, mute
//     with playback volume  (a plain "Mic"-like element before a "... Boost" one)
//   Capture                 voice-in destination: volume; microphone source on the recording
//                           side: volume, mute (the capture switch, inverted)
//   capture-source enums    wave-in destination: single-select list of the enum's items
//   else capture switches   wave-in destination: multiple-select list, one item per element
//
// Controls are numbered from 0 in this order. What a card lacks is left out.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "audio/mixer_backend.h"

namespace lorix {

// What one simple-mixer element offers.
struct MixerElementCaps {
  std::string name{};
  bool playback_volume = false;
  bool playback_switch = false;
  bool capture_volume = false;
  bool capture_switch = false;
  bool capture_enum = false;
  std::uint32_t playback_channels = 1;
  std::uint32_t capture_channels = 1;
  std::vector<std::string> enum_items{};
};

// How a control's value is read from and written to its element(s).
enum class ElementAccess : std::uint8_t {
  kPlaybackVolume,
  kPlaybackMute,
  kCaptureVolume,
  kCaptureMute,
  kCaptureSourceEnum,  // the item selected in one enumerated element
  kCaptureSwitches,    // the capture switch of one element per item
};

struct PlannedMixerControl {
  MixerControlInfo info;
  ElementAccess access = ElementAccess::kPlaybackVolume;
  std::vector<std::size_t> elements;  // indices into the element list; one per item for lists
  std::vector<MixerListItem> items;
};

// The line component type of a recording source named `name`: microphone for "Mic",
// "Mikrofon", "Front Mic", "Internal Mic" and the like; line, CD, auxiliary and digital inputs by
// their usual names; undefined otherwise.
std::uint32_t SourceComponentType(std::string_view name);

std::vector<PlannedMixerControl> PlanMixerControls(const std::vector<MixerElementCaps>& elements);

}  // namespace lorix
