#include "audio/fake_mixer_backend.h"

#include <utility>

namespace lorix {

void FakeMixerBackend::AddControl(std::uint32_t id, std::uint32_t control_type,
                                  std::uint32_t component_type, std::uint32_t destination,
                                  std::uint32_t value) {
  Control control;
  control.info = {id, control_type, component_type, destination, 1, 0};
  control.value = value;
  controls_[id] = std::move(control);
}

void FakeMixerBackend::AddList(std::uint32_t id, std::uint32_t control_type,
                               std::uint32_t component_type, std::uint32_t destination,
                               std::vector<MixerListItem> items,
                               std::vector<std::uint32_t> selected) {
  Control control;
  control.info = {
      id, control_type, component_type, destination, 1, static_cast<std::uint32_t>(items.size())};
  control.items = std::move(items);
  control.list_values = std::move(selected);
  controls_[id] = std::move(control);
}

std::optional<MixerControlInfo> FakeMixerBackend::GetControl(std::uint32_t id) {
  ++control_queries;
  const auto found = controls_.find(id);
  if (found == controls_.end()) return std::nullopt;
  return found->second.info;
}

std::optional<std::uint32_t> FakeMixerBackend::ReadValue(std::uint32_t id) {
  const auto found = controls_.find(id);
  if (found == controls_.end() || fail_value_reads) return std::nullopt;
  return found->second.value;
}

bool FakeMixerBackend::WriteValue(std::uint32_t id, std::uint32_t value) {
  const auto found = controls_.find(id);
  if (found == controls_.end()) return false;
  found->second.value = value;
  writes.push_back({id, {value}});
  return true;
}

std::optional<std::vector<MixerListItem>> FakeMixerBackend::ReadListItems(std::uint32_t id) {
  const auto found = controls_.find(id);
  if (found == controls_.end() || fail_list_texts || found->second.info.items == 0) {
    return std::nullopt;
  }
  return found->second.items;
}

std::optional<std::vector<std::uint32_t>> FakeMixerBackend::ReadListValues(std::uint32_t id) {
  const auto found = controls_.find(id);
  if (found == controls_.end() || found->second.info.items == 0) return std::nullopt;
  return found->second.list_values;
}

bool FakeMixerBackend::WriteListValues(std::uint32_t id, const std::vector<std::uint32_t>& values) {
  const auto found = controls_.find(id);
  if (found == controls_.end() || values.size() != found->second.info.items) return false;
  found->second.list_values = values;
  writes.push_back({id, values});
  return true;
}

}  // namespace lorix
