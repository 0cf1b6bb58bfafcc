#include "codec/wav_reader.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/audio/wav_builder.h"

namespace lorix {
namespace {

using testing::Chunk;
using testing::FormatChunk;
using testing::Riff;

TEST(WavParser, ReadsEightBitMonoBehindUnknownChunksWithOddPadding) {
  // A 3-byte "LIST" chunk needs a pad byte; the parser must step over it to find "fmt ".
  const Bytes image = Riff({Chunk("LIST", {1, 2, 3}), FormatChunk(1, 1, 11025, 8),
                            Chunk("fact", {0, 0, 0, 0}), Chunk("data", {10, 20, 30, 40, 50})});
  PcmSound sound;
  ASSERT_EQ(ParseWav(image, sound), WavParseError::kNone);
  EXPECT_EQ(sound.format.channels, 1);
  EXPECT_EQ(sound.format.sample_rate, 11025u);
  EXPECT_EQ(sound.format.bits_per_sample, 8);
  EXPECT_EQ(sound.samples, (Bytes{10, 20, 30, 40, 50}));
  EXPECT_EQ(sound.FrameCount(), 5);
}

TEST(WavParser, ReadsSixteenBitStereoWithFormatAfterDataAndCutsToWholeFrames) {
  // 9 data bytes of 4-byte frames: two whole frames; the format chunk follows the data.
  const Bytes data = {1, 2, 3, 4, 5, 6, 7, 8, 9};
  PcmSound sound;
  ASSERT_EQ(ParseWav(Riff({Chunk("data", data), FormatChunk(1, 2, 48000, 16)}), sound),
            WavParseError::kNone);
  EXPECT_EQ(sound.format.channels, 2);
  EXPECT_EQ(sound.format.bits_per_sample, 16);
  EXPECT_EQ(sound.format.FrameBytes(), 4u);
  EXPECT_EQ(sound.samples, (Bytes{1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST(WavParser, ClampsDeclaredSizesToTheBytesPresent) {
  // A data chunk that claims 4 GB but holds 6 bytes, and a RIFF size of 0 as streaming
  // writers leave it.
  Bytes image = Riff({FormatChunk(1, 1, 8000, 8), Chunk("data", {1, 2, 3, 4, 5, 6})});
  PutUint32(image.data() + 4, 0);
  PutUint32(image.data() + image.size() - 10, 0xFFFFFFFFu);
  PcmSound sound;
  ASSERT_EQ(ParseWav(image, sound), WavParseError::kNone);
  EXPECT_EQ(sound.samples.size(), 6u);

  // A huge unknown chunk before the format runs past the end: nothing found, no crash.
  Bytes huge = Riff({Chunk("junk", {1, 2}), FormatChunk(1, 1, 8000, 8), Chunk("data", {1})});
  PutUint32(huge.data() + 16, 0xFFFFFFFEu);
  EXPECT_EQ(ParseWav(huge, sound), WavParseError::kMissingFormat);
}

TEST(WavParser, AcceptsExtensiblePcmAndTheRateLimits) {
  PcmSound sound;
  EXPECT_EQ(
      ParseWav(Riff({testing::ExtensibleFormatChunk(1, 1, 16, 1), Chunk("data", {0, 0})}), sound),
      WavParseError::kNone);
  EXPECT_EQ(ParseWav(Riff({FormatChunk(1, 2, 384000, 16), Chunk("data", {})}), sound),
            WavParseError::kNone);
  EXPECT_EQ(sound.FrameCount(), 0);
}

TEST(WavParser, RejectsWhatIsNoPlayableWav) {
  PcmSound sound;
  const Bytes data = Chunk("data", {1, 2});
  struct Case {
    std::string what;
    Bytes image;
    WavParseError error;
  };
  Bytes rifx = Riff({FormatChunk(1, 1, 8000, 8), data});
  rifx[3] = 'X';
  Bytes avi = Riff({FormatChunk(1, 1, 8000, 8), data});
  avi[8] = 'A';
  Bytes cut_format = Riff({FormatChunk(1, 1, 8000, 8)});
  cut_format.resize(cut_format.size() - 4);
  const Case cases[] = {
      {"empty", {}, WavParseError::kNotRiffWave},
      {"garbage", Bytes(100, 0x5A), WavParseError::kNotRiffWave},
      {"RIFX", rifx, WavParseError::kNotRiffWave},
      {"not WAVE", avi, WavParseError::kNotRiffWave},
      {"header only", Riff({}), WavParseError::kMissingFormat},
      {"no format", Riff({data}), WavParseError::kMissingFormat},
      {"truncated format", cut_format, WavParseError::kMissingFormat},
      {"short format", Riff({Chunk("fmt ", Bytes(14, 1)), data}), WavParseError::kMissingFormat},
      {"no data", Riff({FormatChunk(1, 1, 8000, 8)}), WavParseError::kMissingData},
      {"compressed", Riff({FormatChunk(2, 1, 8000, 4), data}), WavParseError::kUnsupportedFormat},
      {"float", Riff({FormatChunk(3, 1, 8000, 32), data}), WavParseError::kUnsupportedFormat},
      {"24 bit", Riff({FormatChunk(1, 1, 8000, 24), data}), WavParseError::kUnsupportedFormat},
      {"6 channels", Riff({FormatChunk(1, 6, 8000, 16), data}), WavParseError::kUnsupportedFormat},
      {"0 channels", Riff({FormatChunk(1, 0, 8000, 8), data}), WavParseError::kUnsupportedFormat},
      {"rate 0", Riff({FormatChunk(1, 1, 0, 8), data}), WavParseError::kUnsupportedFormat},
      {"rate too high", Riff({FormatChunk(1, 1, 384001, 8), data}),
       WavParseError::kUnsupportedFormat},
      {"extensible float", Riff({testing::ExtensibleFormatChunk(1, 1, 32, 3), data}),
       WavParseError::kUnsupportedFormat},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseWav(c.image, sound), c.error) << c.what;
  }
  // Every prefix of a valid file is refused or read without reading past its end.
  const Bytes whole = Riff({Chunk("LIST", {1, 2, 3}), FormatChunk(1, 2, 22050, 16), data});
  for (std::size_t n = 0; n <= whole.size(); ++n) {
    const Bytes prefix(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n));
    const WavParseError error = ParseWav(prefix, sound);
    if (error == WavParseError::kNone) {
      EXPECT_LE(sound.samples.size(), 2u) << n;
    }
  }
}

}  // namespace
}  // namespace lorix
