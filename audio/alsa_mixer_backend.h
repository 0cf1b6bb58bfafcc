#pragma once

// The mixer of an ALSA device (normally "default"), seen through its simple-mixer elements and
// laid out as in alsa_mixer_layout.h. Volumes are scaled between each element's own range and
// 0..65535. Every read first takes in the device's pending change events, so changes made by
// other programs show. A device that cannot be opened has no controls.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "audio/alsa_mixer_layout.h"
#include "audio/mixer_backend.h"

typedef struct _snd_mixer snd_mixer_t;
typedef struct _snd_mixer_elem snd_mixer_elem_t;

namespace lorix {

class AlsaMixerBackend : public MixerBackend {
 public:
  explicit AlsaMixerBackend(const std::string& device = "default");
  ~AlsaMixerBackend() override;
  AlsaMixerBackend(const AlsaMixerBackend&) = delete;
  AlsaMixerBackend& operator=(const AlsaMixerBackend&) = delete;

  bool is_open() const { return mixer_ != nullptr; }
  const std::vector<PlannedMixerControl>& controls() const { return controls_; }

  std::optional<MixerControlInfo> GetControl(std::uint32_t id) override;
  std::optional<std::uint32_t> ReadValue(std::uint32_t id) override;
  bool WriteValue(std::uint32_t id, std::uint32_t value) override;
  std::optional<std::vector<MixerListItem>> ReadListItems(std::uint32_t id) override;
  std::optional<std::vector<std::uint32_t>> ReadListValues(std::uint32_t id) override;
  bool WriteListValues(std::uint32_t id, const std::vector<std::uint32_t>& values) override;

 private:
  const PlannedMixerControl* Control(std::uint32_t id) const;
  snd_mixer_elem_t* Element(const PlannedMixerControl& control, std::size_t i = 0) const;
  void TakeEvents();

  snd_mixer_t* mixer_ = nullptr;
  std::vector<snd_mixer_elem_t*> elements_;
  std::vector<PlannedMixerControl> controls_;
};

}  // namespace lorix
