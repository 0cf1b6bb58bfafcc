#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "codec/bytes.h"

namespace lorix {

inline constexpr int kStreamHeaderSize = 44;
inline constexpr std::string_view kStreamMagic = "LORIX   ";
inline constexpr std::string_view kCodecName = "4BitLog ";
inline constexpr std::int32_t kMinPlayerSampleRate = 1000;
inline constexpr std::int32_t kMaxPlayerSampleRate = 200000;

// The rates the player decodes and plays; a stream with any other rate is refused.
inline constexpr bool IsPlayerSampleRate(std::int32_t rate) {
  return rate >= kMinPlayerSampleRate && rate <= kMaxPlayerSampleRate;
}

// The 44-byte trailer at the end of every compressed stream.
struct StreamHeader {
  std::array<std::uint8_t, kStreamHeaderSize> bytes{};

  std::string MagicAndVersion() const;  // the 16 bytes at offset 0, as stored
  std::string Magic() const;            // offset 0, 8 bytes
  std::string Version() const;          // offset 8, 8 bytes
  std::string CodecName() const;        // offset 28, 8 bytes
  std::int32_t PayloadSize() const { return GetInt32(bytes.data() + 16); }
  std::int32_t SampleCount() const { return GetInt32(bytes.data() + 20); }
  std::int32_t SampleRate() const { return GetInt32(bytes.data() + 24); }
  std::int32_t InfoLength() const { return GetInt32(bytes.data() + 36); }
  std::int32_t HeaderLength() const { return GetInt32(bytes.data() + 40); }
  // The block of payload and header, counted in 64 bits: the sum exceeds 32 bits near 2 GB.
  std::int64_t PayloadAndHeaderSize() const {
    return std::int64_t{PayloadSize()} + kStreamHeaderSize;
  }
};

// Text fields are padded with blanks or cut to their width of 8 bytes.
StreamHeader BuildStreamHeader(std::string_view version, std::int32_t payload_size,
                               std::int32_t sample_count, std::int32_t sample_rate,
                               std::string_view codec_name, std::int32_t info_length);

// The last 44 bytes of `stream`, which must be at least that long.
StreamHeader ReadStreamHeader(ByteSpan stream);

// Throws CodecError unless the stream is at least 44 bytes and less than 2 GB long and its header
// holds no impossible length: a negative payload size, sample count or information length, or a
// payload larger than what stands in front of the header.
StreamHeader ReadCheckedStreamHeader(ByteSpan stream);
void CheckStreamHeader(const StreamHeader& header, std::int64_t stream_size);

// The player's magic test: the first 16 header bytes with every zero byte removed must begin
// with "LORIX   ".
bool HasStreamMagic(const StreamHeader& header);

// Where the parts of a stream (or of a file that ends in one) begin.
struct StreamLayout {
  std::int64_t header_start = 0;
  std::int64_t payload_start = 0;
  std::int64_t info_start = 0;  // may be negative: the text would start in front of the file
};
StreamLayout LocateStream(const StreamHeader& header, std::int64_t stream_size);

// The header as the file loader reads it: the last four bytes give the header length, which
// must be 44 (the only length ever written).
struct StreamTrailer {
  StreamHeader header;
  std::int32_t payload_size = 0;
  std::int32_t sample_rate = 0;
  std::int32_t info_length = 0;
};
StreamTrailer ReadStreamTrailer(ByteSpan stream);

}  // namespace lorix
