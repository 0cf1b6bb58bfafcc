#include "audio/alsa_mixer_backend.h"

#include <alsa/asoundlib.h>
#include <poll.h>

#include <algorithm>

#include "codec/rounding.h"

namespace lorix {

namespace {

constexpr std::uint32_t kScaleMax = 65535;
constexpr std::size_t kItemNameLength = 64;

std::uint32_t ToMixerScale(long raw, long min, long max) {
  if (max <= min) return 0;
  const long clamped = std::clamp(raw, min, max);
  const double scaled =
      static_cast<double>(clamped - min) * kScaleMax / static_cast<double>(max - min);
  return static_cast<std::uint32_t>(RoundHalfEven(scaled));
}

long FromMixerScale(std::uint32_t value, long min, long max) {
  if (max <= min) return min;
  const double scaled =
      static_cast<double>(std::min(value, kScaleMax)) * static_cast<double>(max - min) / kScaleMax;
  return min + RoundHalfEven(scaled);
}

bool IsCapture(ElementAccess access) {
  return access == ElementAccess::kCaptureVolume || access == ElementAccess::kCaptureMute;
}

bool IsList(const PlannedMixerControl& control) {
  return control.access == ElementAccess::kCaptureSourceEnum ||
         control.access == ElementAccess::kCaptureSwitches;
}

bool HasChannel(snd_mixer_elem_t* element, bool capture, snd_mixer_selem_channel_id_t channel) {
  return capture ? snd_mixer_selem_has_capture_channel(element, channel) != 0
                 : snd_mixer_selem_has_playback_channel(element, channel) != 0;
}

// The louder channel stands for the whole line, so a line with its balance shifted still
// reads as loud as it sounds.
std::optional<std::uint32_t> ReadVolume(snd_mixer_elem_t* element, bool capture) {
  long min = 0;
  long max = 0;
  const int range = capture ? snd_mixer_selem_get_capture_volume_range(element, &min, &max)
                            : snd_mixer_selem_get_playback_volume_range(element, &min, &max);
  if (range < 0) return std::nullopt;
  std::optional<long> loudest;
  for (int c = 0; c <= SND_MIXER_SCHN_LAST; ++c) {
    const auto channel = static_cast<snd_mixer_selem_channel_id_t>(c);
    if (!HasChannel(element, capture, channel)) continue;
    long raw = 0;
    const int read = capture ? snd_mixer_selem_get_capture_volume(element, channel, &raw)
                             : snd_mixer_selem_get_playback_volume(element, channel, &raw);
    if (read >= 0) loudest = std::max(loudest.value_or(raw), raw);
  }
  if (!loudest) return std::nullopt;
  return ToMixerScale(*loudest, min, max);
}

bool WriteVolume(snd_mixer_elem_t* element, bool capture, std::uint32_t value) {
  long min = 0;
  long max = 0;
  const int range = capture ? snd_mixer_selem_get_capture_volume_range(element, &min, &max)
                            : snd_mixer_selem_get_playback_volume_range(element, &min, &max);
  if (range < 0) return false;
  const long raw = FromMixerScale(value, min, max);
  return (capture ? snd_mixer_selem_set_capture_volume_all(element, raw)
                  : snd_mixer_selem_set_playback_volume_all(element, raw)) >= 0;
}

// Whether any channel's switch is on.
std::optional<bool> ReadSwitch(snd_mixer_elem_t* element, bool capture) {
  std::optional<bool> on;
  for (int c = 0; c <= SND_MIXER_SCHN_LAST; ++c) {
    const auto channel = static_cast<snd_mixer_selem_channel_id_t>(c);
    if (!HasChannel(element, capture, channel)) continue;
    int value = 0;
    const int read = capture ? snd_mixer_selem_get_capture_switch(element, channel, &value)
                             : snd_mixer_selem_get_playback_switch(element, channel, &value);
    if (read >= 0) on = on.value_or(false) || value != 0;
  }
  return on;
}

bool WriteSwitch(snd_mixer_elem_t* element, bool capture, bool on) {
  return (capture ? snd_mixer_selem_set_capture_switch_all(element, on ? 1 : 0)
                  : snd_mixer_selem_set_playback_switch_all(element, on ? 1 : 0)) >= 0;
}

std::uint32_t CountChannels(snd_mixer_elem_t* element, bool capture) {
  std::uint32_t count = 0;
  for (int c = 0; c <= SND_MIXER_SCHN_LAST; ++c) {
    if (HasChannel(element, capture, static_cast<snd_mixer_selem_channel_id_t>(c))) ++count;
  }
  return count;
}

MixerElementCaps DescribeElement(snd_mixer_elem_t* element) {
  MixerElementCaps caps;
  caps.name = snd_mixer_selem_get_name(element);
  caps.playback_volume = snd_mixer_selem_has_playback_volume(element) != 0;
  caps.playback_switch = snd_mixer_selem_has_playback_switch(element) != 0;
  caps.capture_volume = snd_mixer_selem_has_capture_volume(element) != 0;
  caps.capture_switch = snd_mixer_selem_has_capture_switch(element) != 0;
  caps.playback_channels = CountChannels(element, false);
  caps.capture_channels = CountChannels(element, true);
  if (snd_mixer_selem_is_enumerated(element) && snd_mixer_selem_is_enum_capture(element)) {
    caps.capture_enum = true;
    const int items = snd_mixer_selem_get_enum_items(element);
    for (int i = 0; i < items; ++i) {
      char name[kItemNameLength] = {};
      if (snd_mixer_selem_get_enum_item_name(element, static_cast<unsigned>(i), sizeof name, name) <
          0) {
        name[0] = '\0';
      }
      caps.enum_items.emplace_back(name);
    }
  }
  return caps;
}

// Forgets an element that the device removed (the card went away), so that its controls fail
// from then on instead of reaching freed memory.
int ElementEvent(snd_mixer_elem_t* element, unsigned int mask) {
  if (mask == SND_CTL_EVENT_MASK_REMOVE) {
    auto* elements =
        static_cast<std::vector<snd_mixer_elem_t*>*>(snd_mixer_elem_get_callback_private(element));
    if (elements)
      std::replace(elements->begin(), elements->end(), element,
                   static_cast<snd_mixer_elem_t*>(nullptr));
  }
  return 0;
}

}  // namespace

AlsaMixerBackend::AlsaMixerBackend(const std::string& device) {
  snd_mixer_t* mixer = nullptr;
  if (snd_mixer_open(&mixer, 0) < 0) return;
  if (snd_mixer_attach(mixer, device.c_str()) < 0 ||
      snd_mixer_selem_register(mixer, nullptr, nullptr) < 0 || snd_mixer_load(mixer) < 0) {
    snd_mixer_close(mixer);
    return;
  }
  mixer_ = mixer;
  std::vector<MixerElementCaps> caps;
  for (snd_mixer_elem_t* element = snd_mixer_first_elem(mixer_); element != nullptr;
       element = snd_mixer_elem_next(element)) {
    if (!snd_mixer_selem_is_active(element)) continue;
    elements_.push_back(element);
    caps.push_back(DescribeElement(element));
  }
  // The vector is not resized from here on, so the callbacks may hold on to it.
  for (snd_mixer_elem_t* element : elements_) {
    snd_mixer_elem_set_callback_private(element, &elements_);
    snd_mixer_elem_set_callback(element, ElementEvent);
  }
  controls_ = PlanMixerControls(caps);
}

AlsaMixerBackend::~AlsaMixerBackend() {
  if (mixer_ != nullptr) snd_mixer_close(mixer_);
}

const PlannedMixerControl* AlsaMixerBackend::Control(std::uint32_t id) const {
  return id < controls_.size() ? &controls_[id] : nullptr;
}

snd_mixer_elem_t* AlsaMixerBackend::Element(const PlannedMixerControl& control,
                                            std::size_t i) const {
  return i < control.elements.size() ? elements_[control.elements[i]] : nullptr;
}

void AlsaMixerBackend::TakeEvents() {
  if (mixer_ == nullptr) return;
  const int count = snd_mixer_poll_descriptors_count(mixer_);
  if (count <= 0) return;
  std::vector<pollfd> fds(static_cast<std::size_t>(count));
  const int filled = snd_mixer_poll_descriptors(mixer_, fds.data(), static_cast<unsigned>(count));
  if (filled <= 0 || poll(fds.data(), static_cast<nfds_t>(filled), 0) <= 0) return;
  unsigned short revents = 0;
  if (snd_mixer_poll_descriptors_revents(mixer_, fds.data(), static_cast<unsigned>(filled),
                                         &revents) < 0) {
    return;
  }
  if (revents & (POLLIN | POLLERR | POLLHUP)) snd_mixer_handle_events(mixer_);
}

std::optional<MixerControlInfo> AlsaMixerBackend::GetControl(std::uint32_t id) {
  const PlannedMixerControl* control = Control(id);
  if (control == nullptr) return std::nullopt;
  return control->info;
}

std::optional<std::uint32_t> AlsaMixerBackend::ReadValue(std::uint32_t id) {
  const PlannedMixerControl* control = Control(id);
  if (control == nullptr || IsList(*control)) return std::nullopt;
  TakeEvents();
  snd_mixer_elem_t* element = Element(*control);
  if (element == nullptr) return std::nullopt;
  const bool capture = IsCapture(control->access);
  if (control->info.control_type == kControlTypeVolume) return ReadVolume(element, capture);
  const std::optional<bool> on = ReadSwitch(element, capture);
  if (!on) return std::nullopt;
  return *on ? 0u : 1u;  // muted while switched off
}

bool AlsaMixerBackend::WriteValue(std::uint32_t id, std::uint32_t value) {
  const PlannedMixerControl* control = Control(id);
  if (control == nullptr || IsList(*control)) return false;
  TakeEvents();
  snd_mixer_elem_t* element = Element(*control);
  if (element == nullptr) return false;
  const bool capture = IsCapture(control->access);
  if (control->info.control_type == kControlTypeVolume) {
    return WriteVolume(element, capture, value);
  }
  return WriteSwitch(element, capture, value == 0);
}

std::optional<std::vector<MixerListItem>> AlsaMixerBackend::ReadListItems(std::uint32_t id) {
  const PlannedMixerControl* control = Control(id);
  if (control == nullptr || !IsList(*control)) return std::nullopt;
  return control->items;
}

std::optional<std::vector<std::uint32_t>> AlsaMixerBackend::ReadListValues(std::uint32_t id) {
  const PlannedMixerControl* control = Control(id);
  if (control == nullptr || !IsList(*control)) return std::nullopt;
  TakeEvents();
  std::vector<std::uint32_t> values(control->items.size(), 0);
  if (control->access == ElementAccess::kCaptureSourceEnum) {
    snd_mixer_elem_t* element = Element(*control);
    unsigned int selected = 0;
    if (element == nullptr ||
        snd_mixer_selem_get_enum_item(element, SND_MIXER_SCHN_FRONT_LEFT, &selected) < 0) {
      return std::nullopt;
    }
    if (selected < values.size()) values[selected] = 1;
    return values;
  }
  for (std::size_t i = 0; i < values.size(); ++i) {
    snd_mixer_elem_t* element = Element(*control, i);
    if (element == nullptr) return std::nullopt;
    const std::optional<bool> on = ReadSwitch(element, true);
    if (!on) return std::nullopt;
    values[i] = *on ? 1 : 0;
  }
  return values;
}

bool AlsaMixerBackend::WriteListValues(std::uint32_t id, const std::vector<std::uint32_t>& values) {
  const PlannedMixerControl* control = Control(id);
  if (control == nullptr || !IsList(*control) || values.size() != control->items.size()) {
    return false;
  }
  TakeEvents();
  if (control->access == ElementAccess::kCaptureSwitches) {
    bool written = true;
    for (std::size_t i = 0; i < values.size(); ++i) {
      snd_mixer_elem_t* element = Element(*control, i);
      written = element != nullptr && WriteSwitch(element, true, values[i] != 0) && written;
    }
    return written;
  }
  // A single-select list holds one item. A write that marks another item besides the current
  // one switches to it (the first such item); marking only the current one keeps it.
  snd_mixer_elem_t* element = Element(*control);
  unsigned int current = 0;
  if (element == nullptr ||
      snd_mixer_selem_get_enum_item(element, SND_MIXER_SCHN_FRONT_LEFT, &current) < 0) {
    return false;
  }
  std::optional<unsigned int> chosen;
  for (std::size_t i = 0; i < values.size() && !chosen; ++i) {
    if (values[i] != 0 && i != current) chosen = static_cast<unsigned int>(i);
  }
  if (!chosen) return current < values.size() && values[current] != 0;
  bool written = false;
  for (int c = 0; c <= SND_MIXER_SCHN_LAST; ++c) {
    const auto channel = static_cast<snd_mixer_selem_channel_id_t>(c);
    unsigned int item = 0;
    if (snd_mixer_selem_get_enum_item(element, channel, &item) < 0) break;
    if (snd_mixer_selem_set_enum_item(element, channel, *chosen) < 0) return false;
    written = true;
  }
  return written;
}

}  // namespace lorix
