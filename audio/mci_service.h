#pragma once

// The media-control service the playback operations talk to: a small interpreter of command
// strings that opens WAV files under an alias, plays them on an output device, and answers
// length and position in milliseconds as decimal text. Results are the numbers of
// mci_errors.h; MciGetErrorString turns them into German text.
//
// Understood commands (keywords in any case, words separated by blanks):
//   open FILE [type waveaudio] alias NAME   FILE may be quoted ("...") and then contain blanks,
//                                           and quotes written twice ("a""b" is a"b)
//   set NAME time format milliseconds       ("ms" too; milliseconds are the only time format)
//   status NAME length | position
//   play NAME [from MS]                     without "from": from the current position, or
//                                           from the start when the sound has ended
//   pause NAME, resume NAME, close NAME

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "audio/mci_errors.h"
#include "audio/playback_backend.h"

namespace lorix {

// `word` in quotes as a command takes it, a quote in it written twice. A name without quotes
// simply gets a quote on either side, as on every platform.
std::string MciQuoted(const std::string& word);

class MciService {
 public:
  // `backend` must outlive the service.
  explicit MciService(PlaybackBackend& backend) : backend_(backend) {}
  ~MciService() = default;  // closes everything still open
  MciService(const MciService&) = delete;
  MciService& operator=(const MciService&) = delete;

  // Runs one command. `reply` receives the answer of a status command and is emptied by all
  // others. Returns 0 or one of the MciError codes.
  int MciSendString(const std::string& command, std::string& reply);

 private:
  struct Word {
    std::string text;
    bool quoted = false;
  };

  // One file opened under an alias.
  struct Device {
    std::shared_ptr<const PcmSound> sound;
    std::unique_ptr<PlaybackOutput> output;  // present while playing or paused
    bool paused = false;
    std::int64_t position_frames = 0;  // where a stopped sound stands
  };

  static int Split(const std::string& command, std::vector<Word>& words);

  int Open(const std::vector<Word>& words);
  int Set(const std::vector<Word>& words);
  int Status(const std::vector<Word>& words, std::string& reply);
  int Play(const std::vector<Word>& words);
  int PauseOrResume(const std::vector<Word>& words, bool pause);
  int Close(const std::vector<Word>& words);

  // The device opened under the alias in `words[1]`, or null (with `error` set).
  Device* Find(const std::vector<Word>& words, int& error);
  // Takes note of an output that has reached the end or failed, and releases it.
  static void Refresh(Device& device);
  static std::int64_t PositionFrames(Device& device);

  PlaybackBackend& backend_;
  std::map<std::string, Device> devices_;  // by alias in lower case
};

}  // namespace lorix
