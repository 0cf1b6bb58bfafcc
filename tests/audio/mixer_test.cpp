#include <gtest/gtest.h>

#include <cstdint>
#include <tuple>
#include <vector>

#include "audio/alsa_mixer_layout.h"
#include "audio/fake_mixer_backend.h"
#include "audio/mixer.h"
#include "audio/mixer_bindings.h"
#include "audio/mixer_setup.h"
#include "audio/volume_scale.h"

namespace lorix {
namespace {

using Write = FakeMixerBackend::Write;

TEST(VolumeScale, SlidersAreUpsideDownWithTruncatingAndHalfEvenConversions) {
  EXPECT_EQ(MixerToSlider(65535), 0);
  EXPECT_EQ(MixerToSlider(0), 1000);
  EXPECT_EQ(MixerToSlider(32768), 500);
  EXPECT_EQ(MixerToSlider(65534), 1);  // 999.98 truncates
  EXPECT_EQ(SliderToMixer(0), 65535);
  EXPECT_EQ(SliderToMixer(1000), 0);
  EXPECT_EQ(SliderToMixer(390), 39976);
  EXPECT_EQ(SliderToMixer(250), 49151);
  EXPECT_EQ(SliderToMixer(700), 19660);  // 19660.5 goes to the even neighbour
  EXPECT_EQ(SliderToMixer(-5), 65535);
  EXPECT_EQ(SliderToMixer(1200), 0);
  // The player divides by 65536: full volume shows as 1.
  EXPECT_EQ(MixerToPlayerTrack(65535), 1);
  EXPECT_EQ(MixerToPlayerTrack(0), 1000);
  EXPECT_EQ(MixerToPlayerTrack(32768), 500);
  EXPECT_EQ(MixerToPlayerTrack(65536 / 2 - 1), 501);
  EXPECT_EQ(ClampMixerVolume(70000), 65535);
  EXPECT_EQ(ClampMixerVolume(-1), 0);
  EXPECT_EQ(ClampMixerVolume(40960), 40960);
}

TEST(FindMixerControl, TakesFirstOnPreferredDestinationElseFirstQualifying) {
  FakeMixerBackend backend;
  backend.AddControl(2, kControlTypeMute, kComponentSrcWaveOut, kDestinationPlayback);
  backend.AddControl(3, kControlTypeVolume, kComponentSrcWaveOut, kDestinationRecording);
  backend.AddControl(4, kControlTypeVolume, kComponentSrcLine, kDestinationPlayback);
  backend.AddControl(5, kControlTypeVolume, kComponentSrcWaveOut, kDestinationPlayback);
  backend.AddControl(7, kControlTypeVolume, kComponentSrcWaveOut, kDestinationPlayback);
  backend.AddControl(9, kControlTypeVolume, kComponentSrcWaveOut, kDestinationRecording);
  Mixer mixer(backend);
  EXPECT_EQ(mixer.FindMixerControl(0, kControlTypeVolume, kComponentSrcWaveOut, 1), 5u);
  EXPECT_EQ(mixer.FindMixerControl(0, kControlTypeVolume, kComponentSrcWaveOut, 2), 3u);
  EXPECT_EQ(mixer.FindMixerControl(0, kControlTypeVolume, kComponentSrcWaveOut, 0), 3u);
  EXPECT_EQ(mixer.FindMixerControl(0, kControlTypeVolume, kComponentSrcWaveOut, 7), 3u);
  EXPECT_EQ(mixer.FindMixerControl(0, kControlTypeMute, kComponentSrcWaveOut, 2), 2u);
  EXPECT_EQ(mixer.FindMixerControl(0, kControlTypeMute, kComponentSrcLine, 1), kNoMixerControl);
  EXPECT_EQ(mixer.FindMixerControl(1, kControlTypeVolume, kComponentSrcWaveOut, 1),
            kNoMixerControl);
}

TEST(FindMixerControl, SearchesOnlyIdentifiersBelowSixty) {
  FakeMixerBackend backend;
  backend.AddControl(60, kControlTypeVolume, kComponentDstSpeakers, kDestinationPlayback);
  backend.AddControl(59, kControlTypeVolume, kComponentSrcWaveOut, kDestinationPlayback);
  Mixer mixer(backend);
  EXPECT_EQ(mixer.FindMixerControl(0, kControlTypeVolume, kComponentDstSpeakers, 1),
            kNoMixerControl);
  EXPECT_EQ(backend.control_queries, 60);
  EXPECT_EQ(mixer.FindMixerControl(0, kControlTypeVolume, kComponentSrcWaveOut, 1), 59u);
}

TEST(FindMixerControl, CachesSuccessfulLookupsUnderTheirKeyUpToNinetyNine) {
  EXPECT_EQ(Mixer::CacheKey(0, kControlTypeVolume, kComponentSrcWaveOut, 1), "0/1342373889/4104/1");
  FakeMixerBackend backend;
  backend.AddControl(1, kControlTypeVolume, kComponentSrcWaveOut, kDestinationPlayback);
  Mixer mixer(backend);

  // A failed lookup is searched again every time.
  EXPECT_EQ(mixer.FindMixerControl(0, kControlTypeMute, kComponentSrcWaveOut, 1), kNoMixerControl);
  EXPECT_EQ(mixer.FindMixerControl(0, kControlTypeMute, kComponentSrcWaveOut, 1), kNoMixerControl);
  EXPECT_EQ(backend.control_queries, 120);
  EXPECT_EQ(mixer.cache_size(), 0u);

  // Each preference value makes its own key; preferences 3..101 fill the cache.
  for (int preference = 3; preference < 102; ++preference) {
    ASSERT_EQ(mixer.FindMixerControl(0, kControlTypeVolume, kComponentSrcWaveOut,
                                     static_cast<std::uint8_t>(preference)),
              1u);
  }
  EXPECT_EQ(mixer.cache_size(), 99u);
  backend.control_queries = 0;
  EXPECT_EQ(mixer.FindMixerControl(0, kControlTypeVolume, kComponentSrcWaveOut, 50), 1u);
  EXPECT_EQ(backend.control_queries, 0);

  // The 100th distinct lookup still answers but is searched again next time.
  EXPECT_EQ(mixer.FindMixerControl(0, kControlTypeVolume, kComponentSrcWaveOut, 200), 1u);
  EXPECT_EQ(mixer.cache_size(), 99u);
  const int after_first = backend.control_queries;
  EXPECT_GT(after_first, 0);
  EXPECT_EQ(mixer.FindMixerControl(0, kControlTypeVolume, kComponentSrcWaveOut, 200), 1u);
  EXPECT_EQ(backend.control_queries, 2 * after_first);
}

TEST(MixerValues, ReadAndWriteSingleValues) {
  FakeMixerBackend backend;
  backend.AddControl(0, kControlTypeVolume, kComponentDstSpeakers, kDestinationPlayback, 0x12345);
  backend.AddControl(1, kControlTypeMute, kComponentDstSpeakers, kDestinationPlayback, 7);
  Mixer mixer(backend);
  EXPECT_EQ(mixer.GetMixerVolume(0, kComponentDstSpeakers, 1), 0x2345);  // 16 bits of the value
  EXPECT_TRUE(mixer.GetMixerMute(0, kComponentDstSpeakers, 1));
  mixer.SetMixerVolume(0, kComponentDstSpeakers, 1, 1234);
  mixer.SetMixerMute(0, kComponentDstSpeakers, 1, false);
  EXPECT_EQ(backend.writes, (std::vector<Write>{{0, {1234}}, {1, {0}}}));
  EXPECT_FALSE(mixer.GetMixerMute(0, kComponentDstSpeakers, 1));
  backend.fail_value_reads = true;
  EXPECT_EQ(mixer.GetMixerVolume(0, kComponentDstSpeakers, 1), 0);
}

TEST(MixerValues, MissingControlsReadNothingAndWriteNothing) {
  FakeMixerBackend backend;
  backend.AddControl(0, kControlTypeVolume, kComponentSrcWaveOut, kDestinationPlayback, 500);
  Mixer mixer(backend);
  EXPECT_EQ(mixer.GetMixerVolume(0, kComponentDstSpeakers, 1), 0);
  EXPECT_FALSE(mixer.GetMixerMute(0, kComponentDstSpeakers, 1));
  EXPECT_EQ(mixer.GetMixerVolume(1, kComponentSrcWaveOut, 1), 0);  // no mixer 1
  mixer.SetMixerVolume(0, kComponentDstSpeakers, 1, 1000);
  mixer.SetMixerMute(0, kComponentDstSpeakers, 1, true);
  EXPECT_EQ(ReadVolumeSlider(mixer, VolumeSlider::kScrollBarVolSpeakers), 1000);
  WriteVolumeSlider(mixer, VolumeSlider::kScrollBarVolSpeakers, 200);
  EXPECT_TRUE(backend.writes.empty());
  EXPECT_EQ(MixerToPlayerTrack(mixer.GetMixerVolume(0, kComponentDstSpeakers, 1)), 1000);
}

// A card with everything the programs adjust, and a recording-source list of each kind.
class StartupSetup : public ::testing::Test {
 protected:
  void SetUp() override {
    backend_.AddControl(0, kControlTypeVolume, kComponentDstSpeakers, kDestinationPlayback, 50000);
    backend_.AddControl(1, kControlTypeMute, kComponentDstSpeakers, kDestinationPlayback, 1);
    backend_.AddControl(2, kControlTypeVolume, kComponentSrcWaveOut, kDestinationPlayback, 1000);
    backend_.AddControl(3, kControlTypeMute, kComponentSrcWaveOut, kDestinationPlayback, 1);
    backend_.AddControl(4, kControlTypeMute, kComponentSrcMicrophone, kDestinationPlayback, 1);
    backend_.AddControl(5, kControlTypeMute, kComponentSrcMicrophone, kDestinationRecording, 1);
  }
  void AddMux() {
    backend_.AddList(6, kControlTypeMux, kComponentDstWaveIn, kDestinationRecording, Sources(),
                     {1, 0, 0});
  }
  void AddMixerList() {
    backend_.AddList(7, kControlTypeMixer, kComponentDstWaveIn, kDestinationRecording, Sources(),
                     {1, 0, 1});
  }
  static std::vector<MixerListItem> Sources() {
    return {{"Line", kComponentSrcLine},
            {"Mikrofon", kComponentSrcMicrophone},
            {"CD", kComponentSrcCompactDisc}};
  }

  FakeMixerBackend backend_;
  Mixer mixer_{backend_};
};

TEST_F(StartupSetup, WithBothOptionsUnmutesRaisesMinimumsAndSelectsTheMicrophone) {
  AddMux();
  AddMixerList();
  StartupMixerSetup(mixer_, {});
  EXPECT_EQ(backend_.writes, (std::vector<Write>{{1, {0}},
                                                 {3, {0}},
                                                 {2, {40960}},  // speakers 50000 stay
                                                 {5, {0}},
                                                 {7, {1, 1, 1}}}));
  EXPECT_EQ(backend_.value(4), 1u);  // monitoring stays muted
  EXPECT_EQ(backend_.list_values(6), (std::vector<std::uint32_t>{1, 0, 0}));
}

TEST_F(StartupSetup, UsesTheSingleSelectListWhenThereIsNoOther) {
  AddMux();
  StartupMixerSetup(mixer_, {.MinVolWaveOut = 70000, .MinVolSpeakers = -3});
  EXPECT_EQ(backend_.value(2), 65535u);
  EXPECT_EQ(backend_.value(0), 50000u);
  EXPECT_EQ(backend_.list_values(6), (std::vector<std::uint32_t>{1, 1, 0}));
}

TEST_F(StartupSetup, WithBothOptionsOffOnlyUnmutesThePlaybackLines) {
  AddMixerList();
  StartupMixerSetup(mixer_, {.MIOnStartSetMinVols = false, .MIOnStartSelectMike = false});
  EXPECT_EQ(backend_.writes, (std::vector<Write>{{1, {0}}, {3, {0}}}));
}

TEST_F(StartupSetup, LeavesAListAloneWhoseTextsCannotBeRead) {
  AddMixerList();
  backend_.fail_list_texts = true;
  StartupMixerSetup(mixer_, {});
  EXPECT_EQ(backend_.writes.back(), (Write{5, {0}}));
  EXPECT_EQ(backend_.list_values(7), (std::vector<std::uint32_t>{1, 0, 1}));
}

TEST_F(StartupSetup, PlayerRaisesWaveOutToHalfVolume) {
  PlayerMixerSetup(mixer_);
  EXPECT_EQ(backend_.writes, (std::vector<Write>{{1, {0}}, {3, {0}}, {2, {32768}}}));
  backend_.writes.clear();
  PlayerMixerSetup(mixer_);
  EXPECT_EQ(backend_.writes.size(), 2u);  // 32768 is not below the minimum
}

TEST(SliderBindings, ReadAndWriteTheirLines) {
  FakeMixerBackend backend;
  backend.AddControl(0, kControlTypeVolume, kComponentSrcMicrophone, kDestinationPlayback, 0);
  backend.AddControl(1, kControlTypeVolume, kComponentSrcMicrophone, kDestinationRecording, 65535);
  backend.AddControl(2, kControlTypeVolume, kComponentDstVoiceIn, kDestinationRecording, 0);
  backend.AddControl(3, kControlTypeMute, kComponentSrcMicrophone, kDestinationPlayback, 1);
  Mixer mixer(backend);
  EXPECT_EQ(ReadVolumeSlider(mixer, VolumeSlider::kScrollBarRecordLevel), 0);
  EXPECT_EQ(ReadVolumeSlider(mixer, VolumeSlider::kScrollBarMikeOut), 1000);
  WriteVolumeSlider(mixer, VolumeSlider::kScrollBarRecordLevel, 390);
  WriteVolumeSlider(mixer, VolumeSlider::kScrollBarMikeOut, 0);
  EXPECT_EQ(backend.writes, (std::vector<Write>{{1, {39976}}, {2, {39976}}, {0, {65535}}}));

  EXPECT_FALSE(ReadMikeToOutEnabled(mixer));
  WriteMikeToOutEnabled(mixer, true);
  EXPECT_EQ(backend.value(3), 0u);
  EXPECT_TRUE(ReadMikeToOutEnabled(mixer));
}

// A sound server's mixer has a microphone only on the recording side (its capture switch and
// volume). Monitoring must not take that in place of a playback-side microphone, or muting
// the monitor would silence the recording.
TEST(SliderBindings, MonitoringNeverTouchesTheRecordingMicrophone) {
  FakeMixerBackend backend;
  backend.AddControl(0, kControlTypeVolume, kComponentSrcMicrophone, kDestinationRecording, 40000);
  backend.AddControl(1, kControlTypeMute, kComponentSrcMicrophone, kDestinationRecording, 0);
  Mixer mixer(backend);
  EXPECT_TRUE(ReadMikeToOutEnabled(mixer));
  WriteMikeToOutEnabled(mixer, false);
  EXPECT_EQ(ReadVolumeSlider(mixer, VolumeSlider::kScrollBarMikeOut), 1000);
  WriteVolumeSlider(mixer, VolumeSlider::kScrollBarMikeOut, 0);
  EXPECT_TRUE(backend.writes.empty());
  // The recording level still reaches the recording microphone.
  WriteVolumeSlider(mixer, VolumeSlider::kScrollBarRecordLevel, 0);
  EXPECT_EQ(backend.writes, (std::vector<Write>{{0, {65535}}}));
}

// The kinds of control of each planned control, in identifier order.
std::vector<std::tuple<std::uint32_t, std::uint32_t, std::uint32_t>> Kinds(
    const std::vector<PlannedMixerControl>& plan) {
  std::vector<std::tuple<std::uint32_t, std::uint32_t, std::uint32_t>> kinds;
  for (std::size_t i = 0; i < plan.size(); ++i) {
    EXPECT_EQ(plan[i].info.id, i);
    kinds.emplace_back(plan[i].info.control_type, plan[i].info.component_type,
                       plan[i].info.destination);
  }
  return kinds;
}

TEST(AlsaMixerLayout, MapsElementsOfACardWithSourceEnum) {
  std::vector<MixerElementCaps> card(6);
  card[0] = {.name = "Mic Boost", .playback_volume = true};
  card[1] = {.name = "Master", .playback_volume = true, .playback_switch = true};
  card[2] = {.name = "Front Mic", .playback_volume = true, .playback_switch = true};
  card[3] = {.name = "Capture", .capture_volume = true, .capture_switch = true};
  card[4] = {.name = "Input Source",
             .capture_enum = true,
             .enum_items = {"Rear Mic", "Line", "CD", "Stereo Mix"}};
  card[5] = {.name = "PCM", .playback_volume = true};
  const std::vector<PlannedMixerControl> plan = PlanMixerControls(card);
  using K = std::tuple<std::uint32_t, std::uint32_t, std::uint32_t>;
  EXPECT_EQ(Kinds(plan), (std::vector<K>{{kControlTypeVolume, kComponentDstSpeakers, 0},
                                         {kControlTypeMute, kComponentDstSpeakers, 0},
                                         {kControlTypeVolume, kComponentSrcWaveOut, 0},
                                         {kControlTypeVolume, kComponentSrcMicrophone, 0},
                                         {kControlTypeMute, kComponentSrcMicrophone, 0},
                                         {kControlTypeVolume, kComponentDstVoiceIn, 1},
                                         {kControlTypeVolume, kComponentSrcMicrophone, 1},
                                         {kControlTypeMute, kComponentSrcMicrophone, 1},
                                         {kControlTypeMux, kComponentDstWaveIn, 1}}));
  EXPECT_EQ(plan[3].elements, (std::vector<std::size_t>{2}));  // not the boost element
  EXPECT_EQ(plan[8].info.items, 4u);
  EXPECT_EQ(plan[8].items[0], (MixerListItem{"Rear Mic", kComponentSrcMicrophone}));
  EXPECT_EQ(plan[8].items[3].component_type, kComponentSrcUndefined);
}

TEST(AlsaMixerLayout, ListsCaptureSwitchesWithoutTheMasterCaptureSwitch) {
  std::vector<MixerElementCaps> card(3);
  card[0] = {.name = "Capture", .capture_volume = true, .capture_switch = true};
  card[1] = {.name = "Mic", .capture_switch = true};
  card[2] = {.name = "Line", .capture_switch = true};
  const std::vector<PlannedMixerControl> plan = PlanMixerControls(card);
  ASSERT_EQ(plan.size(), 4u);
  EXPECT_EQ(plan[3].info.control_type, kControlTypeMixer);
  EXPECT_EQ(plan[3].elements, (std::vector<std::size_t>{1, 2}));
  EXPECT_EQ(plan[3].items[0].component_type, kComponentSrcMicrophone);
  EXPECT_TRUE(PlanMixerControls({{.name = "Headphone", .playback_volume = true}}).empty());
}

TEST(AlsaMixerLayout, ClassifiesRecordingSourcesByName) {
  for (const char* name : {"Mic", "Mikrofon", "Front Mic", "Rear Mic", "Internal Mic", "Mic 2"}) {
    EXPECT_EQ(SourceComponentType(name), kComponentSrcMicrophone) << name;
  }
  EXPECT_EQ(SourceComponentType("Line In"), kComponentSrcLine);
  EXPECT_EQ(SourceComponentType("CD"), kComponentSrcCompactDisc);
  EXPECT_EQ(SourceComponentType("IEC958 In"), kComponentSrcDigital);
  EXPECT_EQ(SourceComponentType("Stereo Mix"), kComponentSrcUndefined);
  EXPECT_EQ(SourceComponentType("Dynamic Range"), kComponentSrcUndefined);
}

}  // namespace
}  // namespace lorix
