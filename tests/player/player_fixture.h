#pragma once

// The player's handlers over test backends: the media-control service on a manual clock with
// every command string logged, a mixer in memory with the speaker and wave-out lines, dialogs
// that record and answer as told, and recordings written into a temporary folder.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "audio/fake_mixer_backend.h"
#include "audio/manual_playback_backend.h"
#include "audio/mci_service.h"
#include "audio/mixer.h"
#include "codec/info_text_view.h"
#include "player/player_app.h"
#include "tests/audio/wav_builder.h"
#include "tests/codec/codec_test_util.h"
#include "tests/support/recording_dialogs.h"

namespace lorix::testing {

namespace fs = std::filesystem;

// Control identifiers of the mixer in memory.
inline constexpr std::uint32_t kSpeakersVolume = 0;
inline constexpr std::uint32_t kSpeakersMute = 1;
inline constexpr std::uint32_t kWaveOutVolume = 2;
inline constexpr std::uint32_t kWaveOutMute = 3;

// A compressed stream of `ms` milliseconds of a 300 Hz tone at `rate`, whose header names an
// information text of `info_length` bytes.
inline Bytes ToneStream(std::int32_t ms, std::int32_t rate, std::int32_t info_length) {
  const auto count = static_cast<std::size_t>(std::int64_t{rate} * ms / 1000);
  V samples(count);
  for (std::size_t i = 0; i < count; ++i) {
    samples[i] = static_cast<std::uint8_t>(
        128 +
        std::lround(90 * std::sin(2 * std::numbers::pi * 300 * static_cast<double>(i) / rate)));
  }
  return Compress(Pcm(samples, rate), static_cast<std::int32_t>(count),
                  CodecSettings::FromLevels(0, 0), T(), "1.5", info_length)
      .CompressedStream;
}

class PlayerTest : public ::testing::Test {
 protected:
  PlayerTest() {
    mixer_backend_.AddControl(kSpeakersVolume, kControlTypeVolume, kComponentDstSpeakers,
                              kDestinationPlayback, 50000);
    mixer_backend_.AddControl(kSpeakersMute, kControlTypeMute, kComponentDstSpeakers,
                              kDestinationPlayback, 1);
    mixer_backend_.AddControl(kWaveOutVolume, kControlTypeVolume, kComponentSrcWaveOut,
                              kDestinationPlayback, 1000);
    mixer_backend_.AddControl(kWaveOutMute, kControlTypeMute, kComponentSrcWaveOut,
                              kDestinationPlayback, 1);
  }

  PlayerServices Services() {
    PlayerServices services;
    services.send_command = [this](const std::string& command, std::string& reply) {
      commands_.push_back(command);
      if (on_command_) on_command_();
      return mci_.MciSendString(command, reply);
    };
    services.find_wave_application = [this](const std::string&) { return wave_app_; };
    services.open = [this](const std::string& target) { opened_.push_back(target); };
    services.start_system_mixer = [this] { return mixer_result_; };
    services.copy_to_clipboard = [this](const std::string& text) {
      if (clipboard_works_) copied_.push_back(text);
      return clipboard_works_;
    };
    services.info_text_view = WriteInfoTextView;
    services.repaint = [this] { repaints_.push_back(app_.screen()); };
    services.shutdown_wait = [this] { ++shutdown_waits_; };
    return services;
  }

  // The services of another player in the same test, with a media service of its own.
  PlayerServices ServicesWith(MciService& mci) {
    PlayerServices services = Services();
    services.send_command = [&mci](const std::string& command, std::string& reply) {
      return mci.MciSendString(command, reply);
    };
    return services;
  }

  // An attachment: player bytes, the information text and a tone of `ms` at `rate`.
  fs::path WriteAttachmentFile(const std::string& name, std::int32_t ms = 4000,
                               std::int32_t rate = 11025) {
    const Bytes stream = ToneStream(ms, rate, InfoTextLength());
    const fs::path file = dir_.path() / name;
    WriteAttachment(file, kPlayerBytes, InfoText(), stream, ReadStreamHeader(stream).PayloadSize());
    return file;
  }
  fs::path WriteWav(const std::string& name, std::uint32_t rate = 11025, std::uint32_t ms = 4000) {
    WriteFile(dir_.path() / name, MonoWav(rate, ms));
    return dir_.path() / name;
  }
  fs::path Temp(std::string_view name) const { return dir_.path() / kTempFolder / name; }
  std::string TempWave() const { return Temp(kTempWaveName).string(); }

  // The commands sent since the last call.
  std::vector<std::string> TakeCommands() { return std::exchange(commands_, {}); }

  // Loads `file`, lets `ms` pass, and forgets the commands and dialogs so far.
  void PlayFor(const fs::path& file, std::int64_t ms) {
    app_.LoadSoundFile(file.string());
    ASSERT_TRUE(app_.playback().PlaybackActive()) << file;
    backend_.Advance(ms);
    commands_.clear();
    dialogs_.shown.clear();
  }

  static std::vector<std::string> PlayFromStart(const std::string& wav) {
    return {"open \"" + wav + "\" type waveaudio alias mciAlias",
            "set mciAlias time format milliseconds", "status mciAlias length", "play mciAlias"};
  }

  inline static const Bytes kPlayerBytes = Bytes(3000, 0x90);

  TempDir dir_;
  ManualPlaybackBackend backend_;
  MciService mci_{backend_};
  FakeMixerBackend mixer_backend_;
  Mixer mixer_{mixer_backend_};
  RecordingDialogs dialogs_;
  std::vector<std::string> commands_;
  std::function<void()> on_command_;  // runs as each command is sent
  std::vector<std::string> opened_;
  std::vector<std::string> copied_;
  bool clipboard_works_ = true;
  std::vector<PlayerScreen> repaints_;
  int shutdown_waits_ = 0;
  std::string wave_app_ = "/usr/bin/org.example.Player";
  int mixer_result_ = 42;
  fs::path own_ = dir_.path() / "LorixPlayer.exe";
  PlayerApp app_{Services(), mixer_, dialogs_, {dir_.path(), own_, "1.5.0.100"}};
};

}  // namespace lorix::testing
