#pragma once

#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>
#include <vector>

namespace lorix {

using Bytes = std::vector<std::uint8_t>;
using ByteSpan = std::span<const std::uint8_t>;

// The largest file or stream the programs take in. From 2 GB on, offsets and sizes no longer fit
// the signed 32-bit fields of the WAV and stream headers, so such inputs are refused.
inline constexpr std::int64_t kMaxInputBytes = (std::int64_t{1} << 31) - 1;

// Little-endian field access. Callers check the bounds before they read.
inline std::int32_t GetInt32(const std::uint8_t* p) {
  return static_cast<std::int32_t>(
      static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
      (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24));
}

inline std::uint32_t GetUint32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(GetInt32(p));
}

inline std::uint16_t GetUint16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

inline void PutUint32(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
  p[2] = static_cast<std::uint8_t>(v >> 16);
  p[3] = static_cast<std::uint8_t>(v >> 24);
}

inline void PutInt32(std::uint8_t* p, std::int32_t v) {
  PutUint32(p, static_cast<std::uint32_t>(v));
}

inline void PutUint16(std::uint8_t* p, std::uint16_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}

inline void PutText(std::uint8_t* p, std::string_view text) {
  std::memcpy(p, text.data(), text.size());
}

inline void AppendBytes(Bytes& out, ByteSpan bytes) {
  out.insert(out.end(), bytes.begin(), bytes.end());
}

}  // namespace lorix
