#pragma once

// Builds RIFF/WAVE images chunk by chunk, for tests of the WAV reading code.

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>

#include "codec/bytes.h"

namespace lorix::testing {

// One chunk: id, little-endian size, body, and the pad byte an odd body needs.
inline Bytes Chunk(const char* id, const Bytes& body) {
  Bytes chunk(8 + body.size() + body.size() % 2, 0);
  std::copy(id, id + 4, chunk.begin());
  PutUint32(chunk.data() + 4, static_cast<std::uint32_t>(body.size()));
  std::copy(body.begin(), body.end(), chunk.begin() + 8);
  return chunk;
}

inline Bytes FormatChunk(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate,
                         std::uint16_t bits) {
  Bytes body(16);
  const std::uint16_t align = static_cast<std::uint16_t>(channels * bits / 8);
  PutUint16(body.data(), tag);
  PutUint16(body.data() + 2, channels);
  PutUint32(body.data() + 4, rate);
  PutUint32(body.data() + 8, rate * align);
  PutUint16(body.data() + 12, align);
  PutUint16(body.data() + 14, bits);
  return Chunk("fmt ", body);
}

// The 40-byte extensible format block with the given plain format tag in its sub-format.
inline Bytes ExtensibleFormatChunk(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
                                   std::uint16_t sub_tag) {
  Bytes chunk = FormatChunk(0xFFFE, channels, rate, bits);
  Bytes body(chunk.begin() + 8, chunk.end());
  const std::uint8_t tail[] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                               0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
  body.resize(40);
  PutUint16(body.data() + 16, 22);
  PutUint16(body.data() + 18, bits);
  PutUint16(body.data() + 24, sub_tag);
  std::copy(std::begin(tail), std::end(tail), body.begin() + 26);
  return Chunk("fmt ", body);
}

inline Bytes Riff(std::initializer_list<Bytes> chunks) {
  Bytes image = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
  for (const Bytes& chunk : chunks) image.insert(image.end(), chunk.begin(), chunk.end());
  PutUint32(image.data() + 4, static_cast<std::uint32_t>(image.size() - 8));
  return image;
}

// An 8-bit mono file of `ms` milliseconds at `rate`.
inline Bytes MonoWav(std::uint32_t rate, std::uint32_t ms) {
  return Riff({FormatChunk(1, 1, rate, 8),
               Chunk("data", Bytes(static_cast<std::size_t>(rate) * ms / 1000, 128))});
}

inline void WriteFile(const std::filesystem::path& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

}  // namespace lorix::testing
