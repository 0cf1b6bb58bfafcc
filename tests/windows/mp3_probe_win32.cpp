// The MP3 encoder as the Windows programs are built with it (LAME cross-built from Debian's
// source): encodes a WAV file as the MP3 file of a recording made on 2024-01-02 at 03:04. The
// Linux tests run it under Wine and check what it wrote.
//   lorix_mp3_probe.exe IN.wav OUT.mp3

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <exception>
#include <memory>

#include "codec/bytes.h"
#include "mp3/mp3_encoder.h"

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

bool ReadAll(const char* name, lorix::Bytes& bytes) {
  const File file(std::fopen(name, "rb"));
  if (!file) return false;
  std::uint8_t block[4096];
  std::size_t got;
  while ((got = std::fread(block, 1, sizeof block, file.get())) > 0) {
    bytes.insert(bytes.end(), block, block + got);
  }
  return !std::ferror(file.get());
}

bool WriteAll(const char* name, const lorix::Bytes& bytes) {
  File file(std::fopen(name, "wb"));
  if (!file) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
  return std::fclose(file.release()) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("usage: lorix_mp3_probe IN.wav OUT.mp3\n", stderr);
    return 2;
  }
  lorix::Bytes wav;
  if (!ReadAll(argv[1], wav)) {
    std::fprintf(stderr, "cannot read %s\n", argv[1]);
    return 1;
  }
  std::tm recorded{};
  recorded.tm_year = 2024 - 1900;
  recorded.tm_mon = 0;
  recorded.tm_mday = 2;
  recorded.tm_hour = 3;
  recorded.tm_min = 4;
  try {
    if (!WriteAll(argv[2], lorix::EncodeMp3(wav, recorded))) {
      std::fprintf(stderr, "cannot write %s\n", argv[2]);
      return 1;
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  return 0;
}
