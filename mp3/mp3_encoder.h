#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <string>

#include "codec/bytes.h"

namespace lorix {

// Every MP3 file is MPEG-2 Layer III at this rate, whatever the recording's rate: standard MPEG
// (the rates below 16000 Hz are the MPEG-2.5 extension, which not every decoder plays) and wide
// enough for speech. LAME resamples.
inline constexpr int kMp3SampleRate = 16000;

// The bit rates MPEG-2 Layer III has, in kbit/s.
inline constexpr std::array<int, 14> kMp3KbitRates = {8,  16, 24, 32,  40,  48,  56,
                                                      64, 80, 96, 112, 128, 144, 160};

// 24 kbit/s: 3000 bytes per second of speech, far closer to the recording than our own codec.
inline constexpr int kDefaultMp3KbitPerSecond = 24;

// Whether `kbit_per_second` is one of kMp3KbitRates.
bool IsMp3KbitRate(int kbit_per_second);

// About the size of the MP3 file of `sample_count` samples at `sample_rate`: the sound frames at
// the bit rate plus room for the tag and the info frame. For hints, not for buffers.
std::int64_t EstimatedMp3Size(std::int64_t sample_count, std::int32_t sample_rate,
                              int kbit_per_second = kDefaultMp3KbitPerSecond);

// The MP3 file's title: "LORIX-Sprachanhang yyyy-mm-dd hh:nn" for the time of the recording.
std::string Mp3Title(const std::tm& recorded);

// Encodes the canonical image of an 8-bit mono recording (44-byte header + samples) of any rate
// as a mono MPEG-2 Layer III file at kMp3SampleRate, every sound frame at `kbit_per_second` (one
// of kMp3KbitRates), with an ID3v2 tag (the title above, the encoder and its version in the
// comment) and, where it fits a frame of that rate, the encoder's info frame, which lets players
// cut the encoder's delay and padding. Throws CodecError with a German text when the image is no
// 8-bit mono recording, the bit rate is none of MPEG-2's, or LAME fails.
Bytes EncodeMp3(ByteSpan wav_image, const std::tm& recorded,
                int kbit_per_second = kDefaultMp3KbitPerSecond);

}  // namespace lorix
