#pragma once

#include <cstdint>
#include <ctime>
#include <string>

#include "codec/bytes.h"

namespace lorix {

// 16 kbit/s: 2000 bytes per second of speech, far closer to the recording than our own codec.
inline constexpr int kDefaultMp3KbitPerSecond = 16;

// About the size of the MP3 file of `sample_count` samples at `sample_rate`: the sound frames at
// the bit rate plus room for the tag and the info frame. For hints, not for buffers.
std::int64_t EstimatedMp3Size(std::int64_t sample_count, std::int32_t sample_rate,
                              int kbit_per_second = kDefaultMp3KbitPerSecond);

// The MP3 file's title: "LORIX-Sprachanhang yyyy-mm-dd hh:nn" for the time of the recording.
std::string Mp3Title(const std::tm& recorded);

// Encodes the canonical image of an 8-bit mono recording (44-byte header + samples) as a mono
// constant-bit-rate MP3 file with an ID3v2 tag (the title above, the encoder and its version in
// the comment) and the encoder's info frame, which lets players cut the encoder's delay and
// padding. The MP3 keeps the recording's rate when the format has it (11025 Hz is MPEG-2.5) and
// the bit rate fits it; otherwise LAME picks a rate for the bit rate and resamples. Throws
// CodecError with a German text when the image is no 8-bit mono recording or LAME fails.
Bytes EncodeMp3(ByteSpan wav_image, const std::tm& recorded,
                int kbit_per_second = kDefaultMp3KbitPerSecond);

}  // namespace lorix
