#include "audio/mixer.h"

#include <optional>

namespace lorix {

namespace {

// The destination number a preference asks for, if it asks for one.
std::optional<std::uint32_t> PreferredDestination(std::uint8_t preference) {
  if (preference == kPreferPlayback) return kDestinationPlayback;
  if (preference == kPreferRecording) return kDestinationRecording;
  return std::nullopt;
}

}  // namespace

std::string Mixer::CacheKey(std::uint32_t mixer, std::uint32_t control_type,
                            std::uint32_t component_type, std::uint8_t preference) {
  return std::to_string(mixer) + "/" + std::to_string(control_type) + "/" +
         std::to_string(component_type) + "/" + std::to_string(preference);
}

std::uint32_t Mixer::FindMixerControl(std::uint32_t mixer, std::uint32_t control_type,
                                      std::uint32_t component_type, std::uint8_t preference) {
  if (mixer != 0) return kNoMixerControl;
  std::string key = CacheKey(mixer, control_type, component_type, preference);
  if (const auto cached = cache_.find(key); cached != cache_.end()) return cached->second;
  const std::uint32_t id = SearchControl(control_type, component_type, preference);
  // Failed lookups are not remembered, so a control that appears later is still found.
  if (id != kNoMixerControl && cache_.size() < kMixerCacheCapacity) {
    cache_.emplace(std::move(key), id);
  }
  return id;
}

std::uint32_t Mixer::SearchControl(std::uint32_t control_type, std::uint32_t component_type,
                                   std::uint8_t preference) {
  const std::optional<std::uint32_t> wanted = PreferredDestination(preference);
  std::uint32_t first = kNoMixerControl;
  for (std::uint32_t id = 0; id < kMixerControlSearchLimit; ++id) {
    const std::optional<MixerControlInfo> control = backend_.GetControl(id);
    if (!control || control->control_type != control_type ||
        control->component_type != component_type) {
      continue;
    }
    if (wanted && control->destination == *wanted) return id;
    if (first == kNoMixerControl) first = id;
  }
  return first;
}

std::uint16_t Mixer::GetMixerVolume(std::uint32_t mixer, std::uint32_t component_type,
                                    std::uint8_t preference) {
  const std::uint32_t id = FindMixerControl(mixer, kControlTypeVolume, component_type, preference);
  if (id == kNoMixerControl) return 0;
  const std::optional<std::uint32_t> value = backend_.ReadValue(id);
  return value ? static_cast<std::uint16_t>(*value) : 0;
}

void Mixer::SetMixerVolume(std::uint32_t mixer, std::uint32_t component_type,
                           std::uint8_t preference, std::uint16_t value) {
  const std::uint32_t id = FindMixerControl(mixer, kControlTypeVolume, component_type, preference);
  if (id != kNoMixerControl) backend_.WriteValue(id, value);
}

bool Mixer::GetMixerMute(std::uint32_t mixer, std::uint32_t component_type,
                         std::uint8_t preference) {
  const std::uint32_t id = FindMixerControl(mixer, kControlTypeMute, component_type, preference);
  if (id == kNoMixerControl) return false;
  const std::optional<std::uint32_t> value = backend_.ReadValue(id);
  return value && *value != 0;
}

void Mixer::SetMixerMute(std::uint32_t mixer, std::uint32_t component_type, std::uint8_t preference,
                         bool muted) {
  const std::uint32_t id = FindMixerControl(mixer, kControlTypeMute, component_type, preference);
  if (id != kNoMixerControl) backend_.WriteValue(id, muted ? 1 : 0);
}

bool Mixer::ReadMixerList(std::uint32_t mixer, std::uint32_t control_id) {
  if (mixer != 0) return false;
  const std::optional<std::vector<MixerListItem>> items = backend_.ReadListItems(control_id);
  if (!items || items->size() > kMixerListCapacity) return false;
  const std::optional<std::vector<std::uint32_t>> values = backend_.ReadListValues(control_id);
  if (!values || values->size() != items->size()) return false;
  list_.clear();
  for (std::size_t i = 0; i < items->size(); ++i) {
    list_.push_back({(*items)[i].text, (*items)[i].component_type, (*values)[i]});
  }
  return true;
}

bool Mixer::WriteMixerList(std::uint32_t mixer, std::uint32_t control_id) {
  if (mixer != 0) return false;
  const std::optional<MixerControlInfo> control = backend_.GetControl(control_id);
  if (!control || control->items != list_.size()) return false;
  std::vector<std::uint32_t> values;
  values.reserve(list_.size());
  for (const MixerListEntry& entry : list_) values.push_back(entry.value);
  return backend_.WriteListValues(control_id, values);
}

bool Mixer::FoundOnDestination(std::uint32_t mixer, std::uint32_t control_type,
                               std::uint32_t component_type, std::uint8_t preference,
                               std::uint32_t destination) {
  const std::uint32_t id = FindMixerControl(mixer, control_type, component_type, preference);
  if (id == kNoMixerControl) return false;
  const std::optional<MixerControlInfo> info = backend_.GetControl(id);
  return info && info->destination == destination;
}

}  // namespace lorix
