#pragma once

#include <stdlib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

// Helpers shared by the fuzz targets.

// A property every input must keep. A violation aborts, so that libFuzzer keeps the input.
#define LORIX_FUZZ_CHECK(condition)                                                      \
  do {                                                                                   \
    if (!(condition)) {                                                                  \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                      \
    }                                                                                    \
  } while (false)

namespace lorix::fuzz {

// A folder of its own for this process, removed again when the process ends normally.
class TempDir {
 public:
  explicit TempDir(std::string_view prefix) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / (std::string(prefix) + "-XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr) {
      std::perror("mkdtemp");
      std::abort();
    }
    path_ = pattern;
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// The folder of this process's own for the files its target writes, made on first use.
inline const TempDir& ProcessTempDir(std::string_view prefix) {
  static const TempDir folder(prefix);
  return folder;
}

// Replaces the file's content with the input. A failure here is a fault of the harness, not of
// the code under test, and stops the run.
inline void WriteInputFile(const std::filesystem::path& path, const std::uint8_t* data,
                           std::size_t size) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (size > 0) file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  file.close();
  if (!file) {
    std::fprintf(stderr, "cannot write the input to %s\n", path.c_str());
    std::abort();
  }
}

// Inputs whose tokens stand for more samples than this take up to seconds under the
// sanitizers. Random 4-byte counts make them common, so only the first of them and then one in
// every kLongInputStride is decoded in full; the rest would starve the search. An input saved
// from a failing run is the first when it is run alone, so it is always decoded in full.
inline constexpr std::int64_t kLongDecodeSamples = std::int64_t{1} << 16;
inline constexpr std::uint64_t kLongInputStride = 64;

// The samples the tokens in data[begin, end) stand for, each token n + 1 of its count n (a
// negative or the largest count stands for none). Count bytes may reach past `end`, into the
// header that follows the payload. Stops summing once `stop_at` is passed.
inline std::int64_t TokenSampleTotal(const std::uint8_t* data, std::size_t begin, std::size_t end,
                                     std::int64_t stop_at) {
  std::int64_t total = 0;
  std::size_t pos = begin;
  while (pos < end && total <= stop_at) {
    const int low = data[pos++] & 15;
    std::int64_t count = low;
    if (low >= 14) {
      if (pos >= end) break;
      if (low == 14) {
        count = data[pos++];
      } else {
        count = static_cast<std::int32_t>(static_cast<std::uint32_t>(data[pos]) |
                                          (static_cast<std::uint32_t>(data[pos + 1]) << 8) |
                                          (static_cast<std::uint32_t>(data[pos + 2]) << 16) |
                                          (static_cast<std::uint32_t>(data[pos + 3]) << 24));
        pos += 4;
      }
    }
    if (count >= 0 && count < INT32_MAX) total += count + 1;
  }
  return total;
}

// True when an input that decodes to `samples` samples is to be skipped (see above).
inline bool SkipLongDecode(std::int64_t samples) {
  if (samples <= kLongDecodeSamples) return false;
  static std::uint64_t long_inputs = 0;
  return long_inputs++ % kLongInputStride != 0;
}

}  // namespace lorix::fuzz
