#include "codec/wav_header.h"

#include <algorithm>

namespace lorix {

WavHeader BuildWavHeader(std::int32_t data_size, std::uint16_t channels, std::uint16_t block_align,
                         std::uint16_t bits_per_sample, std::int32_t sample_rate,
                         std::int32_t byte_rate) {
  WavHeader h{};
  std::uint8_t* p = h.data();
  PutText(p + 0, "RIFF");
  PutUint32(p + 4, static_cast<std::uint32_t>(data_size) + kWavHeaderSize - 8);
  PutText(p + 8, "WAVE");
  PutText(p + 12, "fmt ");
  PutUint32(p + 16, 16);
  PutUint16(p + 20, 1);  // PCM
  PutUint16(p + 22, channels);
  PutInt32(p + 24, sample_rate);
  PutInt32(p + 28, byte_rate);
  PutUint16(p + 32, block_align);
  PutUint16(p + 34, bits_per_sample);
  PutText(p + 36, "data");
  PutInt32(p + 40, data_size);
  return h;
}

WavHeader BuildMonoWavHeader(std::int32_t sample_count, std::int32_t sample_rate) {
  return BuildWavHeader(sample_count, 1, 1, 8, sample_rate, sample_rate);
}

WavFormat ReadWavHeader(ByteSpan image) {
  WavFormat f;
  std::copy_n(image.begin(), kWavHeaderSize, f.header.begin());
  f.channels = GetUint16(image.data() + 22);
  f.sample_rate = GetInt32(image.data() + 24);
  f.bits_per_sample = GetUint16(image.data() + 34);
  f.sample_count = GetInt32(image.data() + 40);
  return f;
}

void ResetPcmStream(Bytes& pcm_stream, std::int32_t sample_rate, std::size_t reserve_bytes) {
  pcm_stream.clear();
  pcm_stream.reserve(reserve_bytes);
  const WavHeader h = BuildMonoWavHeader(0, sample_rate);
  pcm_stream.assign(h.begin(), h.end());
}

std::int32_t FinishPcmStream(Bytes& pcm_stream, std::int32_t sample_rate) {
  const auto sample_count = static_cast<std::int32_t>(pcm_stream.size() - kWavHeaderSize);
  const WavHeader h = BuildMonoWavHeader(sample_count, sample_rate);
  std::copy(h.begin(), h.end(), pcm_stream.begin());
  return sample_count;
}

}  // namespace lorix
