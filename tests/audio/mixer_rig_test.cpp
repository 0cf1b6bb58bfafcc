#include <alsa/asoundlib.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <string>
#include <thread>

#include "audio/alsa_mixer_backend.h"
#include "audio/mixer.h"
#include "audio/mixer_setup.h"

extern char** environ;

namespace lorix {
namespace {

// One element of ALSA's default mixer, opened on a handle of its own for every call, so that
// what it shows comes from the device and not from the code under test.
class SecondHandle {
 public:
  explicit SecondHandle(const char* name) {
    if (snd_mixer_open(&mixer_, 0) < 0) return;
    if (snd_mixer_attach(mixer_, "default") < 0 ||
        snd_mixer_selem_register(mixer_, nullptr, nullptr) < 0 || snd_mixer_load(mixer_) < 0) {
      return;
    }
    snd_mixer_selem_id_t* id = nullptr;
    snd_mixer_selem_id_alloca(&id);
    snd_mixer_selem_id_set_name(id, name);
    element_ = snd_mixer_find_selem(mixer_, id);
  }
  ~SecondHandle() {
    if (mixer_) snd_mixer_close(mixer_);
  }
  snd_mixer_elem_t* element() const { return element_; }

 private:
  snd_mixer_t* mixer_ = nullptr;
  snd_mixer_elem_t* element_ = nullptr;
};

long MasterRaw() {
  SecondHandle handle("Master");
  long raw = -1;
  if (handle.element()) {
    snd_mixer_selem_get_playback_volume(handle.element(), SND_MIXER_SCHN_FRONT_LEFT, &raw);
  }
  return raw;
}

long CaptureRaw() {
  SecondHandle handle("Capture");
  long raw = -1;
  if (handle.element()) {
    snd_mixer_selem_get_capture_volume(handle.element(), SND_MIXER_SCHN_FRONT_LEFT, &raw);
  }
  return raw;
}

// The element range of the rig is 0..65536: a mixer volume v is the raw value v x 65536 / 65535.
long ExpectedRaw(std::uint16_t value) {
  return std::lround(value * 65536.0 / 65535.0);
}

// The output of `amixer -D default sget Master`, run without a shell.
std::string AmixerMaster() {
  int pipe_fds[2];
  if (pipe(pipe_fds) != 0) return {};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipe_fds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipe_fds[0]);
  char* argv[] = {const_cast<char*>("amixer"),  const_cast<char*>("-D"),
                  const_cast<char*>("default"), const_cast<char*>("sget"),
                  const_cast<char*>("Master"),  nullptr};
  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, "amixer", &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipe_fds[1]);
  std::string output;
  char buffer[512];
  for (ssize_t n; (n = read(pipe_fds[0], buffer, sizeof buffer)) > 0;) output.append(buffer, n);
  close(pipe_fds[0]);
  if (spawned == 0) waitpid(pid, nullptr, 0);
  return output;
}

class MixerRig : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* rig = std::getenv("LORIX_AUDIO_RIG");
    ASSERT_TRUE(rig && std::string(rig) == "1") << "not started by the audio rig fixture";
    ASSERT_TRUE(backend_.is_open()) << "ALSA default mixer did not open";
    for (Line& line : lines_) {
      line.volume = mixer_.GetMixerVolume(0, line.component, line.preference);
      line.muted = mixer_.GetMixerMute(0, line.component, line.preference);
    }
  }

  // The tests after these play into and record from the same device: leave it as it was.
  void TearDown() override {
    for (const Line& line : lines_) {
      mixer_.SetMixerVolume(0, line.component, line.preference, line.volume);
      mixer_.SetMixerMute(0, line.component, line.preference, line.muted);
    }
  }

  struct Line {
    std::uint32_t component;
    std::uint8_t preference;
    std::uint16_t volume = 0;
    bool muted = false;
  };
  Line lines_[2] = {{kComponentDstSpeakers, kPreferPlayback},
                    {kComponentSrcMicrophone, kPreferRecording}};

  AlsaMixerBackend backend_{"default"};
  Mixer mixer_{backend_};
};

TEST_F(MixerRig, VolumesAndMuteRoundTripAndShowOnTheDevice) {
  mixer_.SetMixerVolume(0, kComponentDstSpeakers, kPreferPlayback, 40000);
  EXPECT_EQ(mixer_.GetMixerVolume(0, kComponentDstSpeakers, kPreferPlayback), 40000);
  EXPECT_EQ(MasterRaw(), ExpectedRaw(40000));

  mixer_.SetMixerMute(0, kComponentDstSpeakers, kPreferPlayback, true);
  EXPECT_TRUE(mixer_.GetMixerMute(0, kComponentDstSpeakers, kPreferPlayback));
  EXPECT_NE(AmixerMaster().find("[off]"), std::string::npos) << AmixerMaster();
  mixer_.SetMixerMute(0, kComponentDstSpeakers, kPreferPlayback, false);
  EXPECT_FALSE(mixer_.GetMixerMute(0, kComponentDstSpeakers, kPreferPlayback));
  EXPECT_NE(AmixerMaster().find("[on]"), std::string::npos) << AmixerMaster();

  // The recording level goes to the Capture element, which also stands for the voice input.
  mixer_.SetMixerVolume(0, kComponentSrcMicrophone, kPreferRecording, 20001);
  EXPECT_EQ(mixer_.GetMixerVolume(0, kComponentDstVoiceIn, kPreferRecording), 20001);
  EXPECT_EQ(CaptureRaw(), ExpectedRaw(20001));
}

TEST_F(MixerRig, ChangesMadeElsewhereShow) {
  ASSERT_NE(mixer_.GetMixerVolume(0, kComponentDstSpeakers, kPreferPlayback), 12345);
  {
    SecondHandle other("Master");
    ASSERT_NE(other.element(), nullptr);
    ASSERT_EQ(snd_mixer_selem_set_playback_volume_all(other.element(), ExpectedRaw(12345)), 0);
  }
  std::uint16_t seen = 0;
  for (int attempt = 0; attempt < 40 && seen != 12345; ++attempt) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    seen = mixer_.GetMixerVolume(0, kComponentDstSpeakers, kPreferPlayback);
  }
  EXPECT_EQ(seen, 12345);
}

TEST_F(MixerRig, StartupSetupUnmutesAndRaisesTheMinimums) {
  mixer_.SetMixerVolume(0, kComponentDstSpeakers, kPreferPlayback, 1000);
  mixer_.SetMixerMute(0, kComponentDstSpeakers, kPreferPlayback, true);
  mixer_.SetMixerMute(0, kComponentSrcMicrophone, kPreferRecording, true);
  StartupMixerSetup(mixer_, {});
  EXPECT_FALSE(mixer_.GetMixerMute(0, kComponentDstSpeakers, kPreferPlayback));
  EXPECT_FALSE(mixer_.GetMixerMute(0, kComponentSrcMicrophone, kPreferRecording));
  EXPECT_EQ(mixer_.GetMixerVolume(0, kComponentDstSpeakers, kPreferPlayback), 40960);
  EXPECT_EQ(MasterRaw(), ExpectedRaw(40960));
  PlayerMixerSetup(mixer_);  // no wave-out line on this device: nothing to do, nothing fails
  EXPECT_EQ(MasterRaw(), ExpectedRaw(40960));
}

}  // namespace
}  // namespace lorix
