#include "codec/stream_header.h"

#include <algorithm>

#include "codec/codec_error.h"

namespace lorix {
namespace {

std::string TextAt(const StreamHeader& h, int offset, int size) {
  return std::string(reinterpret_cast<const char*>(h.bytes.data()) + offset,
                     static_cast<std::size_t>(size));
}

void PutPaddedText(std::uint8_t* p, std::string_view text) {
  std::string field(text.substr(0, 8));
  field.resize(8, ' ');
  PutText(p, field);
}

}  // namespace

std::string StreamHeader::MagicAndVersion() const {
  return TextAt(*this, 0, 16);
}
std::string StreamHeader::Magic() const {
  return TextAt(*this, 0, 8);
}
std::string StreamHeader::Version() const {
  return TextAt(*this, 8, 8);
}
std::string StreamHeader::CodecName() const {
  return TextAt(*this, 28, 8);
}

StreamHeader BuildStreamHeader(std::string_view version, std::int32_t payload_size,
                               std::int32_t sample_count, std::int32_t sample_rate,
                               std::string_view codec_name, std::int32_t info_length) {
  StreamHeader h;
  std::uint8_t* p = h.bytes.data();
  PutPaddedText(p + 0, kStreamMagic);
  PutPaddedText(p + 8, version);
  PutInt32(p + 16, payload_size);
  PutInt32(p + 20, sample_count);
  PutInt32(p + 24, sample_rate);
  PutPaddedText(p + 28, codec_name);
  PutInt32(p + 36, info_length);
  PutInt32(p + 40, kStreamHeaderSize);
  return h;
}

StreamHeader ReadStreamHeader(ByteSpan stream) {
  StreamHeader h;
  std::copy(stream.end() - kStreamHeaderSize, stream.end(), h.bytes.begin());
  return h;
}

void CheckStreamHeader(const StreamHeader& header, std::int64_t stream_size) {
  if (stream_size < kStreamHeaderSize) {
    throw CodecError("Die Datei ist kürzer als 44 Bytes und enthält keine LORIX-Aufnahme.");
  }
  if (stream_size > kMaxInputBytes) {
    throw CodecError("Die LORIX-Daten sind 2 GB groß oder größer und werden nicht gelesen.");
  }
  const std::int64_t payload = header.PayloadSize();
  if (payload < 0 || payload > stream_size - kStreamHeaderSize) {
    throw CodecError("Ungültiger LORIX-Kopf: die Länge der Aufnahmedaten (" +
                     std::to_string(payload) + " Bytes) passt nicht zur Dateigröße (" +
                     std::to_string(stream_size) + " Bytes).");
  }
  if (header.SampleCount() < 0) {
    throw CodecError("Ungültiger LORIX-Kopf: negative Anzahl der Samples (" +
                     std::to_string(header.SampleCount()) + ").");
  }
  if (header.InfoLength() < 0) {
    throw CodecError("Ungültiger LORIX-Kopf: negative Länge des Infotextes (" +
                     std::to_string(header.InfoLength()) + ").");
  }
}

StreamHeader ReadCheckedStreamHeader(ByteSpan stream) {
  if (stream.size() < static_cast<std::size_t>(kStreamHeaderSize)) {
    CheckStreamHeader(StreamHeader{}, static_cast<std::int64_t>(stream.size()));
  }
  StreamHeader header = ReadStreamHeader(stream);
  CheckStreamHeader(header, static_cast<std::int64_t>(stream.size()));
  return header;
}

bool HasStreamMagic(const StreamHeader& header) {
  std::string text = header.MagicAndVersion();
  std::erase(text, '\0');
  return text.compare(0, kStreamMagic.size(), kStreamMagic) == 0;
}

StreamLayout LocateStream(const StreamHeader& header, std::int64_t stream_size) {
  StreamLayout layout;
  layout.header_start = stream_size - kStreamHeaderSize;
  layout.payload_start = layout.header_start - header.PayloadSize();
  layout.info_start = layout.payload_start - header.InfoLength();
  return layout;
}

StreamTrailer ReadStreamTrailer(ByteSpan stream) {
  StreamTrailer trailer;
  trailer.header = ReadCheckedStreamHeader(stream);
  if (trailer.header.HeaderLength() != kStreamHeaderSize) {
    throw CodecError("Ungültiger LORIX-Kopf: Kopflänge " +
                     std::to_string(trailer.header.HeaderLength()) + " statt 44.");
  }
  trailer.payload_size = trailer.header.PayloadSize();
  trailer.sample_rate = trailer.header.SampleRate();
  trailer.info_length = trailer.header.InfoLength();
  return trailer;
}

}  // namespace lorix
