#pragma once

// The sound card's mixer as the rest of the program sees it: a numbered list of controls, each
// belonging to one line (a destination such as the speakers, or a source feeding one), described
// with the line and control type numbers below. The mixer code finds controls by these numbers
// and reads or writes one 32-bit value per control, or one value per item of a list control.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lorix {

// Line component types.
inline constexpr std::uint32_t kComponentDstSpeakers = 4;
inline constexpr std::uint32_t kComponentDstWaveIn = 7;
inline constexpr std::uint32_t kComponentDstVoiceIn = 8;
inline constexpr std::uint32_t kComponentSrcUndefined = 0x1000;
inline constexpr std::uint32_t kComponentSrcDigital = 0x1001;
inline constexpr std::uint32_t kComponentSrcLine = 0x1002;
inline constexpr std::uint32_t kComponentSrcMicrophone = 0x1003;
inline constexpr std::uint32_t kComponentSrcCompactDisc = 0x1005;
inline constexpr std::uint32_t kComponentSrcWaveOut = 0x1008;
inline constexpr std::uint32_t kComponentSrcAuxiliary = 0x1009;

// Control types.
inline constexpr std::uint32_t kControlTypeVolume = 0x50030001;
inline constexpr std::uint32_t kControlTypeMute = 0x20010002;
inline constexpr std::uint32_t kControlTypeMixer = 0x71010001;  // several items selectable
inline constexpr std::uint32_t kControlTypeMux = 0x70010001;    // exactly one item selected

// Destination numbers of the lines.
inline constexpr std::uint32_t kDestinationPlayback = 0;
inline constexpr std::uint32_t kDestinationRecording = 1;

// One control together with the line it belongs to.
struct MixerControlInfo {
  std::uint32_t id = 0;
  std::uint32_t control_type = 0;
  std::uint32_t component_type = 0;
  std::uint32_t destination = 0;
  std::uint32_t channels = 1;
  std::uint32_t items = 0;  // list controls only

  bool operator==(const MixerControlInfo&) const = default;
};

// One item of a list control: its text and the component type of the line it selects.
struct MixerListItem {
  std::string text;
  std::uint32_t component_type = 0;

  bool operator==(const MixerListItem&) const = default;
};

// Volumes are 0..65535, mutes are non-zero when muted, list values are 0 or 1 per item.
// Every query can fail (no such control, the device went away): an empty optional or false.
class MixerBackend {
 public:
  virtual ~MixerBackend() = default;

  virtual std::optional<MixerControlInfo> GetControl(std::uint32_t id) = 0;
  virtual std::optional<std::uint32_t> ReadValue(std::uint32_t id) = 0;
  virtual bool WriteValue(std::uint32_t id, std::uint32_t value) = 0;
  virtual std::optional<std::vector<MixerListItem>> ReadListItems(std::uint32_t id) = 0;
  virtual std::optional<std::vector<std::uint32_t>> ReadListValues(std::uint32_t id) = 0;
  virtual bool WriteListValues(std::uint32_t id, const std::vector<std::uint32_t>& values) = 0;
};

}  // namespace lorix
