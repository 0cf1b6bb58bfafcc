#pragma once

// Whether an MP3 file is the standard file every player takes: MPEG-2 Layer III frames at
// 16000 Hz mono, all at one bit rate and back to back behind the ID3v2 tag, and four programs
// that check or play MP3 files accept it.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "codec/bytes.h"

namespace lorix::testing {

struct CommandResult {
  int status = -1;
  std::string output;  // stdout and stderr
};

inline CommandResult RunShellCommand(const std::string& command,
                                     const std::filesystem::path& output_file) {
  CommandResult result;
  const int status = std::system((command + " >'" + output_file.string() + "' 2>&1").c_str());
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::ifstream in(output_file, std::ios::binary);
  result.output.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return result;
}

// The number of sound frames (every frame but the info frame) of `mp3`, after checking each
// frame header: MPEG-2, Layer III, 16000 Hz, one channel, `kbit_per_second`, no padding (there
// is none at 16000 Hz), each frame right behind the one before, the last one ending the file.
inline std::int64_t CountStandardFrames(const Bytes& mp3, int kbit_per_second) {
  std::size_t at = 0;
  if (mp3.size() >= 10 && mp3[0] == 'I' && mp3[1] == 'D' && mp3[2] == '3') {
    at = 10 + (std::size_t{mp3[6]} << 21 | std::size_t{mp3[7]} << 14 | std::size_t{mp3[8]} << 7 |
               mp3[9]);
  }
  constexpr int kMpeg2Layer3KbitRates[] = {0,  8,  16, 24,  32,  40,  48, 56,
                                           64, 80, 96, 112, 128, 144, 160};
  const std::size_t frame_size = std::size_t(72 * 1000 * kbit_per_second / 16000);
  std::int64_t frames = 0;
  bool info_frame = false;
  while (at + 4 <= mp3.size()) {
    const std::uint8_t* h = &mp3[at];
    const bool sync = h[0] == 0xFF && (h[1] & 0xE0) == 0xE0;
    const int version = (h[1] >> 3) & 3, layer = (h[1] >> 1) & 3, rate = (h[2] >> 2) & 3;
    const int kbit = kMpeg2Layer3KbitRates[h[2] >> 4 == 15 ? 0 : h[2] >> 4];
    const bool padded = (h[2] >> 1) & 1;
    const int mode = h[3] >> 6;
    if (!sync || version != 2 || layer != 1 || rate != 2 || mode != 3 || padded ||
        kbit != kbit_per_second) {
      ADD_FAILURE() << "frame " << frames << " at byte " << at << ": version bits " << version
                    << ", layer bits " << layer << ", rate index " << rate << ", mode " << mode
                    << ", " << kbit << " kbit/s";
      return frames;
    }
    // The info frame comes first; its label stands behind the header and side information.
    if (frames == 0 && !info_frame && at + 17 <= mp3.size() &&
        std::string(h + 13, h + 17) == "Info") {
      info_frame = true;
    } else {
      ++frames;
    }
    at += frame_size;
  }
  EXPECT_EQ(at, mp3.size()) << "the last frame does not end the file";
  return frames;
}

// Checks `path` with mp3check, mp3val, ffprobe and mpg123 as the standard file described above.
inline void ExpectPlayersTakeMp3(const std::filesystem::path& path, int kbit_per_second) {
  const std::string file = "'" + path.string() + "'";
  const std::filesystem::path log = path.string() + ".log";
  // Headers, frame lengths, constant parameters, no change of bit rate. mp3check predates ID3v2
  // and takes the tag for junk before the first frame; CountStandardFrames checks that the
  // frames start right behind the tag.
  CommandResult run =
      RunShellCommand("mp3check --error-check --ign-junk-start --show-valid " + file, log);
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_NE(run.output.find("\nvalid audio mpeg stream\n"), std::string::npos) << run.output;
  run = RunShellCommand("mp3val " + file, log);
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_NE(run.output.find("(MPEG 2 Layer III)"), std::string::npos) << run.output;
  EXPECT_EQ(run.output.find("ERROR"), std::string::npos) << run.output;
  EXPECT_EQ(run.output.find("WARNING"), std::string::npos) << run.output;
  run = RunShellCommand(
      "ffprobe -v error -show_entries stream=codec_name,sample_rate,channels,bit_rate "
      "-of default=noprint_wrappers=1 " +
          file,
      log);
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(run.output, "codec_name=mp3\nsample_rate=16000\nchannels=1\nbit_rate=" +
                            std::to_string(kbit_per_second * 1000) + "\n");
  run = RunShellCommand("mpg123 --test " + file, log);
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_NE(run.output.find("MPEG 2.0 L III"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("16000 mono"), std::string::npos) << run.output;
  EXPECT_EQ(run.output.find("rror"), std::string::npos) << run.output;
  EXPECT_EQ(run.output.find("arning"), std::string::npos) << run.output;
}

}  // namespace lorix::testing
