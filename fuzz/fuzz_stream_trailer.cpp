// Fuzzes the reading of the 44-byte trailer at the end of a stream: the magic test, the checked
// header, the layout computed from it and the file loader's trailer.

#include <cstddef>
#include <cstdint>

#include "codec/bytes.h"
#include "codec/codec_error.h"
#include "codec/stream_header.h"
#include "fuzz/fuzz_support.h"

namespace {

using lorix::kStreamHeaderSize;

// What ReadCheckedStreamHeader must accept, derived from the raw fields on its own.
bool IsPlausible(const lorix::StreamHeader& header, std::int64_t size) {
  const std::int64_t payload = header.PayloadSize();
  return size >= kStreamHeaderSize && payload >= 0 && payload <= size - kStreamHeaderSize &&
         header.SampleCount() >= 0 && header.InfoLength() >= 0;
}

// The magic test done byte by byte: the first 16 bytes, zero bytes skipped, begin with the magic.
bool StartsWithMagic(const lorix::StreamHeader& header) {
  std::size_t matched = 0;
  for (int i = 0; i < 16 && matched < lorix::kStreamMagic.size(); ++i) {
    const auto byte = static_cast<char>(header.bytes[static_cast<std::size_t>(i)]);
    if (byte == '\0') continue;
    if (byte != lorix::kStreamMagic[matched]) return false;
    ++matched;
  }
  return matched == lorix::kStreamMagic.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const lorix::ByteSpan stream(data, size);
  const auto stream_size = static_cast<std::int64_t>(size);

  lorix::StreamHeader raw;
  if (size >= static_cast<std::size_t>(kStreamHeaderSize)) {
    raw = lorix::ReadStreamHeader(stream);
    // The player tests the magic on any file before it looks at the lengths.
    LORIX_FUZZ_CHECK(lorix::HasStreamMagic(raw) == StartsWithMagic(raw));
    LORIX_FUZZ_CHECK(raw.Magic().size() == 8 && raw.Version().size() == 8 &&
                     raw.CodecName().size() == 8);
  }
  const bool plausible = IsPlausible(raw, stream_size);

  bool accepted = false;
  try {
    const lorix::StreamHeader header = lorix::ReadCheckedStreamHeader(stream);
    accepted = true;
    LORIX_FUZZ_CHECK(header.bytes == raw.bytes);
    const lorix::StreamLayout layout = lorix::LocateStream(header, stream_size);
    // An accepted header places payload and header inside the stream.
    LORIX_FUZZ_CHECK(layout.header_start == stream_size - kStreamHeaderSize);
    LORIX_FUZZ_CHECK(layout.payload_start >= 0 && layout.payload_start <= layout.header_start);
    LORIX_FUZZ_CHECK(layout.info_start <= layout.payload_start);
  } catch (const lorix::CodecError&) {
  }
  LORIX_FUZZ_CHECK(accepted == plausible);

  bool trailer_read = false;
  try {
    const lorix::StreamTrailer trailer = lorix::ReadStreamTrailer(stream);
    trailer_read = true;
    LORIX_FUZZ_CHECK(trailer.header.HeaderLength() == kStreamHeaderSize);
    LORIX_FUZZ_CHECK(trailer.payload_size == raw.PayloadSize());
    LORIX_FUZZ_CHECK(trailer.sample_rate == raw.SampleRate());
    LORIX_FUZZ_CHECK(trailer.info_length == raw.InfoLength());
  } catch (const lorix::CodecError&) {
  }
  LORIX_FUZZ_CHECK(trailer_read == (plausible && raw.HeaderLength() == kStreamHeaderSize));
  return 0;
}
