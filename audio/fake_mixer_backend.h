#pragma once

// A mixer that exists only in memory, for tests: controls are placed at chosen identifiers,
// hold their values, and every query and write is counted or logged. Single queries can be
// made to fail.

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "audio/mixer_backend.h"

namespace lorix {

class FakeMixerBackend : public MixerBackend {
 public:
  struct Control {
    MixerControlInfo info;
    std::uint32_t value = 0;
    std::vector<MixerListItem> items;
    std::vector<std::uint32_t> list_values;
  };

  struct Write {
    std::uint32_t id = 0;
    std::vector<std::uint32_t> values;  // one for a single value, one per item for a list

    bool operator==(const Write&) const = default;
  };

  // Places a single-value control at `id`.
  void AddControl(std::uint32_t id, std::uint32_t control_type, std::uint32_t component_type,
                  std::uint32_t destination, std::uint32_t value = 0);

  // Places a list control at `id`; values start at `selected`.
  void AddList(std::uint32_t id, std::uint32_t control_type, std::uint32_t component_type,
               std::uint32_t destination, std::vector<MixerListItem> items,
               std::vector<std::uint32_t> selected);

  std::uint32_t value(std::uint32_t id) const { return controls_.at(id).value; }
  const std::vector<std::uint32_t>& list_values(std::uint32_t id) const {
    return controls_.at(id).list_values;
  }

  std::optional<MixerControlInfo> GetControl(std::uint32_t id) override;
  std::optional<std::uint32_t> ReadValue(std::uint32_t id) override;
  bool WriteValue(std::uint32_t id, std::uint32_t value) override;
  std::optional<std::vector<MixerListItem>> ReadListItems(std::uint32_t id) override;
  std::optional<std::vector<std::uint32_t>> ReadListValues(std::uint32_t id) override;
  bool WriteListValues(std::uint32_t id, const std::vector<std::uint32_t>& values) override;

  int control_queries = 0;  // GetControl calls
  bool fail_value_reads = false;
  bool fail_list_texts = false;
  std::vector<Write> writes;  // in order

 private:
  std::map<std::uint32_t, Control> controls_;
};

}  // namespace lorix
