#pragma once

// Mixer device 0 of Windows (winmm's mixer API) as the mixer code's list of controls: a control
// is fetched by its identifier, its line by the line identifier the control names.

#include "audio/mixer_backend.h"

namespace lorix {

class WinmmMixerBackend : public MixerBackend {
 public:
  std::optional<MixerControlInfo> GetControl(std::uint32_t id) override;
  std::optional<std::uint32_t> ReadValue(std::uint32_t id) override;
  bool WriteValue(std::uint32_t id, std::uint32_t value) override;
  std::optional<std::vector<MixerListItem>> ReadListItems(std::uint32_t id) override;
  std::optional<std::vector<std::uint32_t>> ReadListValues(std::uint32_t id) override;
  bool WriteListValues(std::uint32_t id, const std::vector<std::uint32_t>& values) override;
};

}  // namespace lorix
