#pragma once

// Finds mixer controls by line component type and control type, remembers what it found, and
// reads and writes single control values and the item list of a recording-source selector.
// Only mixer number 0 exists: it is the backend given to the constructor; any other number
// finds nothing. Everything runs on the user-interface thread.

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "audio/mixer_backend.h"

namespace lorix {

inline constexpr std::uint32_t kNoMixerControl = 9999;

// Control identifiers searched, 0 up to (not including) this.
inline constexpr std::uint32_t kMixerControlSearchLimit = 60;

// Successful lookups remembered for the whole run.
inline constexpr std::size_t kMixerCacheCapacity = 99;

// Room for the items of one list control.
inline constexpr std::size_t kMixerListCapacity = 99;

// The one mixer device the programs use.
inline constexpr std::uint32_t kMixerDevice = 0;

// Destination preferences that go with every lookup; any other value prefers nothing.
inline constexpr std::uint8_t kPreferPlayback = 1;
inline constexpr std::uint8_t kPreferRecording = 2;

// One item of the list last read, with its selection value.
struct MixerListEntry {
  std::string text;
  std::uint32_t component_type = 0;
  std::uint32_t value = 0;
};

class Mixer {
 public:
  explicit Mixer(MixerBackend& backend) : backend_(backend) {}

  // The identifier of the control of `control_type` on a line of `component_type`, preferring
  // a line of the destination that `preference` names; kNoMixerControl when none exists.
  std::uint32_t FindMixerControl(std::uint32_t mixer, std::uint32_t control_type,
                                 std::uint32_t component_type, std::uint8_t preference);

  // 0 when the line has no volume control or the read fails.
  std::uint16_t GetMixerVolume(std::uint32_t mixer, std::uint32_t component_type,
                               std::uint8_t preference);
  void SetMixerVolume(std::uint32_t mixer, std::uint32_t component_type, std::uint8_t preference,
                      std::uint16_t value);

  // True only when a mute control exists and reads non-zero.
  bool GetMixerMute(std::uint32_t mixer, std::uint32_t component_type, std::uint8_t preference);
  void SetMixerMute(std::uint32_t mixer, std::uint32_t component_type, std::uint8_t preference,
                    bool muted);

  // Reads the item texts, then the item values, of a list control into list(). Returns false
  // when either read fails or the control has more items than the list can hold; list() then
  // keeps what it held before the failing read.
  bool ReadMixerList(std::uint32_t mixer, std::uint32_t control_id);

  // Writes the values of list() to the control. False when the list does not match the
  // control's items or the write fails.
  bool WriteMixerList(std::uint32_t mixer, std::uint32_t control_id);

  std::vector<MixerListEntry>& list() { return list_; }
  const std::vector<MixerListEntry>& list() const { return list_; }

  std::size_t cache_size() const { return cache_.size(); }

  // True when the control FindMixerControl finds lies on `destination` itself, not on a line
  // of another destination taken in its place.
  bool FoundOnDestination(std::uint32_t mixer, std::uint32_t control_type,
                          std::uint32_t component_type, std::uint8_t preference,
                          std::uint32_t destination);

  // "mixer/controltype/componenttype/preference", each in decimal.
  static std::string CacheKey(std::uint32_t mixer, std::uint32_t control_type,
                              std::uint32_t component_type, std::uint8_t preference);

 private:
  std::uint32_t SearchControl(std::uint32_t control_type, std::uint32_t component_type,
                              std::uint8_t preference);

  MixerBackend& backend_;
  std::map<std::string, std::uint32_t> cache_;
  std::vector<MixerListEntry> list_;
};

}  // namespace lorix
