#pragma once

// What a listener hears from an MP3 file: LAME's decoder turns it back into samples, which are
// compared with the recording it was made from.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "codec/bytes.h"
#include "tests/support/sink_recording.h"

namespace lorix::testing {

// Decodes `mp3` with LAME's decoder (every MP3 file is 16000 Hz mono), resamples it with sox to
// the recording's `rate` into `wav` and returns the samples as 8-bit mono.
inline Bytes DecodeMp3(const std::filesystem::path& mp3, const std::filesystem::path& wav,
                       int rate = 11025) {
  const std::filesystem::path decoded = wav.string() + ".16000.wav";
  const std::string command = "lame --quiet --decode '" + mp3.string() + "' '" + decoded.string() +
                              "' && sox '" + decoded.string() + "' -r " + std::to_string(rate) +
                              " '" + wav.string() + "'";
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
  const PcmSound original = ReadSound(decoded);
  EXPECT_EQ(original.format.channels, 1);
  EXPECT_EQ(original.format.sample_rate, 16000u);
  const PcmSound sound = ReadSound(wav);
  EXPECT_EQ(sound.format.sample_rate, static_cast<std::uint32_t>(rate));
  EXPECT_EQ(sound.format.bits_per_sample, 16);
  Bytes samples;
  for (std::size_t i = 0; i + 1 < sound.samples.size(); i += 2) {
    const auto sample = static_cast<std::int16_t>(GetUint16(sound.samples.data() + i));
    samples.push_back(static_cast<std::uint8_t>((sample >> 8) + 128));
  }
  return samples;
}

// The best correlation of the recording within the decoded sound; silence around the decoded
// sound lets it find the recording at any small delay of the decoder.
inline double DecodedCorrelation(const Bytes& recording, const Bytes& decoded) {
  constexpr std::size_t kSilence = 600;
  Bytes padded(decoded.size() + 2 * kSilence, 128);
  std::copy(decoded.begin(), decoded.end(), padded.begin() + kSilence);
  return BestCorrelation(recording, padded);
}

}  // namespace lorix::testing
