#include "audio/mci_service.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <filesystem>
#include <limits>
#include <new>
#include <system_error>

#include "codec/file_io.h"
#include "codec/file_system.h"
#include "codec/wav_reader.h"

namespace lorix {
namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// A keyword matches in any case, but never when it was written in quotes.
bool Is(const std::string& text, bool quoted, const char* keyword) {
  return !quoted && Lower(text) == keyword;
}

// A non-negative decimal integer, digits only.
bool ParseCount(const std::string& text, std::int64_t& value) {
  if (text.empty()) return false;
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, value);
  return result.ec == std::errc() && result.ptr == end && value >= 0 &&
         std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
}

int ReadFile(const std::string& name, Bytes& bytes) {
  const std::filesystem::path path(name);
  const FileKind kind = KindOf(path);
  if (kind == FileKind::kMissing) return kMciFileNotFound;
  if (kind != FileKind::kRegular) return kMciCannotReadFile;
  // Files of 2 GB and more are refused rather than read into memory (over 90 minutes of 16-bit
  // stereo at 96 kHz; a spoken message is a few hundred kilobytes).
  switch (ReadFileInto(path, bytes, static_cast<std::uint64_t>(kMaxInputBytes))) {
    case 0:
      return kMciNoError;
    case ENOMEM:
    case EFBIG:
      return kMciOutOfMemory;
    default:
      return kMciCannotReadFile;
  }
}

int ParseResult(WavParseError error) {
  switch (error) {
    case WavParseError::kNone:
      return kMciNoError;
    case WavParseError::kNotRiffWave:
      return kMciNotWaveFile;
    case WavParseError::kMissingFormat:
    case WavParseError::kMissingData:
      return kMciDamagedWaveFile;
    case WavParseError::kUnsupportedFormat:
      return kMciUnsupportedFormat;
  }
  return kMciNotWaveFile;
}

// num / den for num >= 0, den > 0, rounded to the nearest integer with halves to even.
std::int64_t DivideRounded(std::int64_t num, std::int64_t den) {
  const std::int64_t quotient = num / den;
  const std::int64_t twice_rest = 2 * (num % den);
  return twice_rest > den || (twice_rest == den && quotient % 2 == 1) ? quotient + 1 : quotient;
}

// Both directions round, so that the position read back right after "play from MS" is MS
// again at any rate above 1000 Hz, and the end of a sound reads exactly as its length.
std::int64_t FramesToMs(std::int64_t frames, const PcmFormat& format) {
  return DivideRounded(frames * 1000, format.sample_rate);
}

std::int64_t MsToFrames(std::int64_t ms, const PcmFormat& format) {
  return DivideRounded(ms * format.sample_rate, 1000);
}

}  // namespace

int MciService::Split(const std::string& command, std::vector<Word>& words) {
  std::size_t i = 0;
  while (true) {
    while (i < command.size() && IsBlank(command[i])) ++i;
    if (i == command.size()) return kMciNoError;
    Word word;
    if (command[i] == '"') {
      // Inside the quotes a doubled quote stands for one quote of the word: a file name on
      // Linux may hold one.
      ++i;
      while (true) {
        const std::size_t close = command.find('"', i);
        if (close == std::string::npos) return kMciNoClosingQuote;
        word.text.append(command, i, close - i);
        i = close + 1;
        if (i == command.size() || command[i] != '"') break;
        word.text += '"';
        ++i;
      }
      word.quoted = true;
      // The closing quote ends the word; something glued to it is no word of any command.
      if (i < command.size() && !IsBlank(command[i])) return kMciUnrecognizedKeyword;
    } else {
      const std::size_t start = i;
      while (i < command.size() && !IsBlank(command[i])) {
        if (command[i] == '"') return kMciNoClosingQuote;
        ++i;
      }
      word.text = command.substr(start, i - start);
    }
    words.push_back(std::move(word));
  }
}

int MciService::MciSendString(const std::string& command, std::string& reply) {
  reply.clear();
  std::vector<Word> words;
  if (const int error = Split(command, words); error != kMciNoError) return error;
  if (words.empty()) return kMciMissingCommandString;
  const Word& verb = words[0];
  if (Is(verb.text, verb.quoted, "open")) return Open(words);
  if (Is(verb.text, verb.quoted, "set")) return Set(words);
  if (Is(verb.text, verb.quoted, "status")) return Status(words, reply);
  if (Is(verb.text, verb.quoted, "play")) return Play(words);
  if (Is(verb.text, verb.quoted, "pause")) return PauseOrResume(words, true);
  if (Is(verb.text, verb.quoted, "resume")) return PauseOrResume(words, false);
  if (Is(verb.text, verb.quoted, "close")) return Close(words);
  return kMciUnrecognizedCommand;
}

int MciService::Open(const std::vector<Word>& words) {
  if (words.size() < 2) return kMciMissingParameter;
  const std::string& file = words[1].text;
  std::string alias;
  bool have_type = false;
  for (std::size_t i = 2; i < words.size(); i += 2) {
    const Word& key = words[i];
    const bool is_type = Is(key.text, key.quoted, "type");
    const bool is_alias = Is(key.text, key.quoted, "alias");
    if ((!is_type && !is_alias) || (is_type && have_type) || (is_alias && !alias.empty())) {
      return kMciUnrecognizedKeyword;
    }
    if (i + 1 >= words.size() || words[i + 1].text.empty()) return kMciMissingParameter;
    const Word& value = words[i + 1];
    if (is_type) {
      if (!Is(value.text, value.quoted, "waveaudio")) return kMciUnsupportedDeviceType;
      have_type = true;
    } else {
      alias = value.text;
    }
  }
  if (file.empty() || alias.empty()) return kMciMissingParameter;
  const std::string key = Lower(alias);
  if (devices_.count(key) != 0) return kMciDuplicateAlias;

  Bytes bytes;
  if (const int error = ReadFile(file, bytes); error != kMciNoError) return error;
  auto sound = std::make_shared<PcmSound>();
  if (const int error = ParseResult(ParseWav(bytes, *sound)); error != kMciNoError) return error;
  devices_[key].sound = std::move(sound);
  return kMciNoError;
}

MciService::Device* MciService::Find(const std::vector<Word>& words, int& error) {
  const auto it = devices_.find(Lower(words[1].text));
  if (it == devices_.end()) {
    error = kMciUnknownAlias;
    return nullptr;
  }
  return &it->second;
}

int MciService::Set(const std::vector<Word>& words) {
  if (words.size() < 5) return kMciMissingParameter;
  if (words.size() > 5) return kMciUnrecognizedKeyword;
  if (!Is(words[2].text, words[2].quoted, "time") || !Is(words[3].text, words[3].quoted, "format"))
    return kMciUnrecognizedKeyword;
  if (!Is(words[4].text, words[4].quoted, "milliseconds") &&
      !Is(words[4].text, words[4].quoted, "ms"))
    return kMciUnrecognizedKeyword;
  int error = kMciNoError;
  return Find(words, error) ? kMciNoError : error;
}

int MciService::Status(const std::vector<Word>& words, std::string& reply) {
  if (words.size() < 3) return kMciMissingParameter;
  if (words.size() > 3) return kMciUnrecognizedKeyword;
  const bool length = Is(words[2].text, words[2].quoted, "length");
  if (!length && !Is(words[2].text, words[2].quoted, "position")) return kMciUnrecognizedKeyword;
  int error = kMciNoError;
  Device* device = Find(words, error);
  if (!device) return error;
  const PcmFormat& format = device->sound->format;
  const std::int64_t frames = length ? device->sound->FrameCount() : PositionFrames(*device);
  reply = std::to_string(FramesToMs(frames, format));
  return kMciNoError;
}

int MciService::Play(const std::vector<Word>& words) {
  if (words.size() < 2) return kMciMissingParameter;
  bool have_from = false;
  std::int64_t from_ms = 0;
  if (words.size() > 2) {
    if (!Is(words[2].text, words[2].quoted, "from")) return kMciUnrecognizedKeyword;
    if (words.size() < 4) return kMciMissingParameter;
    if (words.size() > 4) return kMciUnrecognizedKeyword;
    if (!ParseCount(words[3].text, from_ms)) return kMciBadInteger;
    have_from = true;
  }
  int error = kMciNoError;
  Device* device = Find(words, error);
  if (!device) return error;
  const PcmSound& sound = *device->sound;
  const std::int64_t frame_count = sound.FrameCount();
  std::int64_t start = 0;
  if (have_from) {
    if (from_ms > FramesToMs(frame_count, sound.format)) return kMciOutOfRange;
    start = std::min(MsToFrames(from_ms, sound.format), frame_count);
  } else {
    Refresh(*device);
    if (device->output && device->paused) {
      device->output->Resume();
      device->paused = false;
      return kMciNoError;
    }
    if (device->output) return kMciNoError;  // already playing on
    start = device->position_frames < frame_count ? device->position_frames : 0;
  }
  // The device of a running sound is released before the new one is opened.
  device->output.reset();
  device->paused = false;
  device->output = backend_.Start(device->sound, start);
  if (!device->output) return kMciNoOutputDevice;
  device->position_frames = start;
  return kMciNoError;
}

int MciService::PauseOrResume(const std::vector<Word>& words, bool pause) {
  if (words.size() < 2) return kMciMissingParameter;
  if (words.size() > 2) return kMciUnrecognizedKeyword;
  int error = kMciNoError;
  Device* device = Find(words, error);
  if (!device) return error;
  Refresh(*device);
  // Pausing a stopped sound, or resuming one that plays, leaves it as it is.
  if (!device->output || device->paused == pause) return kMciNoError;
  if (pause) {
    device->output->Pause();
  } else {
    device->output->Resume();
  }
  device->paused = pause;
  return kMciNoError;
}

int MciService::Close(const std::vector<Word>& words) {
  if (words.size() < 2) return kMciMissingParameter;
  if (words.size() > 2) return kMciUnrecognizedKeyword;
  const auto it = devices_.find(Lower(words[1].text));
  if (it == devices_.end()) return kMciUnknownAlias;
  devices_.erase(it);  // stops the sound and waits for its device to be released
  return kMciNoError;
}

void MciService::Refresh(Device& device) {
  if (!device.output) return;
  const PlaybackOutput::State state = device.output->GetState();
  if (state == PlaybackOutput::State::kRunning) return;
  device.position_frames = state == PlaybackOutput::State::kEnded ? device.sound->FrameCount()
                                                                  : device.output->PositionFrames();
  device.output.reset();
  device.paused = false;
}

std::int64_t MciService::PositionFrames(Device& device) {
  Refresh(device);
  return device.output ? device.output->PositionFrames() : device.position_frames;
}

}  // namespace lorix
