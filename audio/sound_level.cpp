#include "audio/sound_level.h"

#include <cmath>

#include "audio/time_text.h"
#include "codec/rounding.h"

namespace lorix {

BufferScan ScanSoundBuffer(ByteSpan samples, const CodecTables& tables, std::uint8_t MuteLow,
                           std::uint8_t MuteHigh) {
  BufferScan scan;
  for (const std::uint8_t sample : samples) {
    if (sample > scan.peak) scan.peak = sample;
    const std::uint8_t code = tables.QuantiserTable[sample];
    if (!(MuteLow < code && code < MuteHigh)) scan.silent = false;
  }
  return scan;
}

SoundLevelScale::SoundLevelScale()
    : K1(1.0 / (std::log(255.0) - std::log(128.0))),
      K2(std::log(128.0) / (std::log(255.0) - std::log(128.0))) {}

std::int32_t SoundLevelScale::Level(std::uint8_t peak) const {
  if (peak <= 128) return 0;
  return RoundHalfEven((std::log(static_cast<double>(peak)) * K1 - K2) * 100.0);
}

std::int32_t NextMeterPosition(std::int32_t level, std::int32_t position) {
  return level > position ? level : position - 2;
}

std::int64_t RecordedMilliseconds(std::int64_t bytes, std::int32_t sample_rate) {
  if (sample_rate <= 0) return 0;
  return static_cast<std::int64_t>(
      std::nearbyint(static_cast<double>(bytes) / sample_rate * 1000.0));
}

std::string RecordedTimeText(std::int64_t ms) {
  return " [ " + FormatSeconds(ms) + " ] ";
}

double PcmBytesPerCompressedByte(std::int32_t compress_level) {
  return compress_level / 2.0 + 2.0;
}

std::int64_t ExpectedSizeIncrement(std::int32_t count, double pcm_bytes_per_compressed_byte) {
  if (!(pcm_bytes_per_compressed_byte > 0.0)) return 0;
  return static_cast<std::int64_t>(std::nearbyint(count / pcm_bytes_per_compressed_byte));
}

std::string ExpectedSizeText(const std::string& prefix, std::int64_t size) {
  return " [" + prefix + std::to_string(size / 1024) + " kB] ";
}

SoundDataResult EvaluateSoundData(ByteSpan samples, const SoundDataContext& context,
                                  const SoundLevelScale& scale, const CodecTables& tables) {
  SoundDataResult result;
  result.scan = ScanSoundBuffer(samples, tables, context.MuteLow, context.MuteHigh);
  result.level = scale.Level(result.scan.peak);
  result.Position = NextMeterPosition(result.level, context.meter_position);
  result.ExpectedAttachmentSize = context.ExpectedAttachmentSize;
  if (!context.RecordingActive) return result;

  result.labels_changed = true;
  result.LabelSmpsRecorded = RecordedTimeText(
      RecordedMilliseconds(context.pcm_stream_size - kPcmHeaderBytes, context.CurrentSampleRate));
  if (!result.scan.silent) {
    result.ExpectedAttachmentSize += ExpectedSizeIncrement(
        static_cast<std::int32_t>(samples.size()), context.PcmBytesPerCompressedByte);
    result.expected_size_changed = true;
    result.LabelKBExpectedLRX = ExpectedSizeText("ca.", result.ExpectedAttachmentSize);
  }
  return result;
}

}  // namespace lorix
