#pragma once

// What the recorder's data sink computes for each buffer the recording engine delivers: the
// peak and the silence test, the level on the meter's 0..100 scale, the meter's next position,
// and while recording the recorded-time label and the running attachment-size estimate. The
// main form owns PcmStream and the labels; it calls EvaluateSoundData after appending the
// buffer and takes over the results.

#include <cstdint>
#include <string>

#include "codec/bytes.h"
#include "codec/codec_tables.h"

namespace lorix {

struct BufferScan {
  std::uint8_t peak = 0;  // the largest sample value
  bool silent = true;     // every sample's code lies strictly between MuteLow and MuteHigh
};

BufferScan ScanSoundBuffer(ByteSpan samples, const CodecTables& tables, std::uint8_t MuteLow,
                           std::uint8_t MuteHigh);

// The level of the upper half-wave: 0 for a peak of 128 or less, 1 for 129, 100 for 255.
class SoundLevelScale {
 public:
  SoundLevelScale();
  std::int32_t Level(std::uint8_t peak) const;

 private:
  double K1;
  double K2;
};

// The meter rises at once to a higher level and otherwise falls by 2, without a lower limit.
std::int32_t NextMeterPosition(std::int32_t level, std::int32_t position);

// Milliseconds of `bytes` samples at `sample_rate`, rounded; 0 without a valid rate.
std::int64_t RecordedMilliseconds(std::int64_t bytes, std::int32_t sample_rate);

// " [ 1.50 Sek. ] "
std::string RecordedTimeText(std::int64_t ms);

// PCM bytes per compressed byte for the size estimate: 2.0 at level 0 up to 6.0 at level 8.
double PcmBytesPerCompressedByte(std::int32_t compress_level);

// How much a buffer of `count` bytes adds to the size estimate; 0 for a ratio that is not
// positive.
std::int64_t ExpectedSizeIncrement(std::int32_t count, double pcm_bytes_per_compressed_byte);

// " [" + prefix + whole kilobytes + " kB] "
std::string ExpectedSizeText(const std::string& prefix, std::int64_t size);

inline constexpr std::int64_t kPcmHeaderBytes = 44;

// The main form's values at the time a buffer arrives; pcm_stream_size is taken after the
// buffer has been appended.
struct SoundDataContext {
  bool RecordingActive = false;
  std::int64_t pcm_stream_size = kPcmHeaderBytes;
  std::int32_t CurrentSampleRate = 11025;
  std::int32_t meter_position = 0;
  std::int64_t ExpectedAttachmentSize = 0;
  double PcmBytesPerCompressedByte = 2.0;
  std::uint8_t MuteLow = 8;
  std::uint8_t MuteHigh = 8;
};

struct SoundDataResult {
  BufferScan scan;
  std::int32_t level = 0;
  std::int32_t Position = 0;  // the meter's new position
  // Set only while recording:
  bool labels_changed = false;
  std::string LabelSmpsRecorded;
  std::int64_t ExpectedAttachmentSize = 0;  // unchanged unless the buffer was not silent
  bool expected_size_changed = false;
  std::string LabelKBExpectedLRX;
};

SoundDataResult EvaluateSoundData(ByteSpan samples, const SoundDataContext& context,
                                  const SoundLevelScale& scale, const CodecTables& tables);

}  // namespace lorix
