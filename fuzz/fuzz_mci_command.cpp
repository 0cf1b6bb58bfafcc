// Fuzzes the media-control command strings: each input line is one command to the service,
// which plays on a backend without a device, and then the name of a file to open. The player builds
// these strings from file names it is given, so the splitter and every command's parameters see a
// stranger's bytes. Files are opened from a folder of this process's own only: inputs naming
// another folder are skipped.

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "audio/manual_playback_backend.h"
#include "audio/mci_errors.h"
#include "audio/mci_service.h"
#include "codec/bytes.h"
#include "codec/wav_header.h"
#include "fuzz/fuzz_support.h"

namespace {

lorix::Bytes Wav(const lorix::WavHeader& header, std::size_t data_size, std::uint8_t fill) {
  lorix::Bytes image(header.begin(), header.end());
  image.resize(image.size() + data_size, fill);
  return image;
}

// The folder with the files the commands may open, made the working folder once.
const lorix::fuzz::TempDir& Folder() {
  return lorix::fuzz::ProcessTempDir("lorix-fuzz-mci");
}

void Write(const std::filesystem::path& path, const lorix::Bytes& bytes) {
  lorix::fuzz::WriteInputFile(path, bytes.data(), bytes.size());
}

// Makes the folder with the files the commands may open the working folder while it lives, and
// the previous one again afterwards (libFuzzer's own paths may be relative to that).
class InFolder {
 public:
  InFolder() : previous_(open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    static const bool written = [] {
      const std::filesystem::path& folder = Folder().path();
      Write(folder / "a.wav", Wav(lorix::BuildMonoWavHeader(2205, 11025), 2205, 0x90));
      Write(folder / "b b.wav", Wav(lorix::BuildWavHeader(4000, 2, 4, 16, 8000, 32000), 4000, 7));
      Write(folder / "c.txt", lorix::Bytes{'R', 'I', 'F', 'F'});
      return true;
    }();
    (void)written;
    LORIX_FUZZ_CHECK(previous_ >= 0 && chdir(Folder().path().c_str()) == 0);
  }
  ~InFolder() {
    LORIX_FUZZ_CHECK(fchdir(previous_) == 0);
    close(previous_);
  }
  InFolder(const InFolder&) = delete;
  InFolder& operator=(const InFolder&) = delete;

 private:
  int previous_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view script(reinterpret_cast<const char*>(data), size);
  if (script.find('/') != std::string_view::npos) return 0;
  const InFolder in_folder;

  lorix::ManualPlaybackBackend backend;
  lorix::MciService service(backend);
  std::size_t begin = 0;
  while (begin <= script.size()) {
    std::size_t end = script.find('\n', begin);
    if (end == std::string_view::npos) end = script.size();
    const std::string command(script.substr(begin, end - begin));
    begin = end + 1;

    std::string reply = "stale";
    const int result = service.MciSendString(command, reply);
    // Only a status command answers, with a decimal number; every failure has its text.
    if (result != lorix::kMciNoError) {
      LORIX_FUZZ_CHECK(reply.empty());
      LORIX_FUZZ_CHECK(!lorix::MciGetErrorString(result).empty());
    }
    LORIX_FUZZ_CHECK(std::all_of(reply.begin(), reply.end(),
                                 [](unsigned char c) { return std::isdigit(c) != 0; }));
    backend.Advance(25);

    // The line as a file name, quoted the way the programs quote names: whatever it holds, the
    // command takes it as that one name, and only the file itself can be wrong.
    const int opened = service.MciSendString(
        "open " + lorix::MciQuoted(command) + " type waveaudio alias QuotedName", reply);
    if (command.empty()) {
      LORIX_FUZZ_CHECK(opened == lorix::kMciMissingParameter);
    } else if (const std::string name = command.substr(0, command.find('\0'));  // as a C string
               name == "a.wav" || name == "b b.wav") {
      LORIX_FUZZ_CHECK(opened == lorix::kMciNoError || opened == lorix::kMciDuplicateAlias);
    } else {
      LORIX_FUZZ_CHECK(opened == lorix::kMciFileNotFound || opened == lorix::kMciCannotReadFile ||
                       opened == lorix::kMciNotWaveFile || opened == lorix::kMciDuplicateAlias);
    }
    service.MciSendString("close QuotedName", reply);
  }
  return 0;
}
