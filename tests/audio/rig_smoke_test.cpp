#include <alsa/asoundlib.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

// The rig's environment reaches the test, and ALSA's default devices open through it for
// playback and capture in the format the recorder uses.
TEST(AudioRig, DefaultDevicesOpenForPlaybackAndCapture) {
  const char* rig = std::getenv("LORIX_AUDIO_RIG");
  const char* server = std::getenv("PULSE_SERVER");
  ASSERT_TRUE(rig && std::string(rig) == "1") << "not started by the audio rig fixture";
  ASSERT_TRUE(server && std::string(server).rfind("unix:", 0) == 0);
  for (const snd_pcm_stream_t stream : {SND_PCM_STREAM_PLAYBACK, SND_PCM_STREAM_CAPTURE}) {
    snd_pcm_t* pcm = nullptr;
    ASSERT_EQ(snd_pcm_open(&pcm, "default", stream, 0), 0);
    EXPECT_EQ(snd_pcm_set_params(pcm, SND_PCM_FORMAT_U8, SND_PCM_ACCESS_RW_INTERLEAVED, 1, 11025, 1,
                                 500000),
              0);
    snd_pcm_close(pcm);
  }
}

}  // namespace
