#include "audio/recording_engine.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <ctime>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "audio/alsa_capture_backend.h"
#include "audio/scripted_capture_backend.h"
#include "audio/sound_level.h"
#include "audio/task_queue.h"
#include "codec/codec_tables.h"
#include "codec/encoder.h"
#include "tests/support/recording_dialogs.h"

namespace lorix::testing {
namespace {

using Phase = RecordingEngine::Phase;

std::vector<std::uint8_t> Ramp(std::size_t size) {
  std::vector<std::uint8_t> samples(size);
  for (std::size_t i = 0; i < size; ++i) samples[i] = static_cast<std::uint8_t>(i * 7 + i / 1000);
  return samples;
}

std::chrono::system_clock::time_point LocalTime(int year, int month, int day, int h, int m, int s) {
  std::tm t{};
  t.tm_year = year - 1900;
  t.tm_mon = month - 1;
  t.tm_mday = day;
  t.tm_hour = h;
  t.tm_min = m;
  t.tm_sec = s;
  t.tm_isdst = -1;
  return std::chrono::system_clock::from_time_t(std::mktime(&t));
}

class EngineTest : public ::testing::Test {
 protected:
  EngineTest() {
    engine->OnSoundData = [this](const std::uint8_t* data, std::int32_t count) {
      received.emplace_back(data, data + count);
      sink_threads.push_back(std::this_thread::get_id());
    };
    engine->OnTextsChanged = [this] { statuses.push_back(engine->texts().Label_In_Count); };
  }

  std::vector<std::uint8_t> samples = Ramp(100000);
  ScriptedCaptureBackend backend{samples};
  TaskQueue ui;
  RecordingDialogs dialogs;
  std::unique_ptr<RecordingEngine> engine = std::make_unique<RecordingEngine>(
      backend, ui.Poster(), dialogs, [] { return LocalTime(2024, 3, 7, 9, 5, 1); });
  std::vector<std::vector<std::uint8_t>> received;
  std::vector<std::thread::id> sink_threads;
  std::vector<std::string> statuses;
};

TEST_F(EngineTest, RunsThroughStoppedRunningDrainingStopped) {
  EXPECT_EQ(engine->phase(), Phase::kStopped);
  EXPECT_EQ(engine->ButtonStartClick(), "Stop SK");
  EXPECT_EQ(engine->phase(), Phase::kRunning);
  EXPECT_EQ(statuses, (std::vector<std::string>{"wiQuerying...", "wiOpening...", "wiOpen done ...",
                                                "wiOpen done ...", "wiOpen done ..."}));
  EXPECT_EQ(engine->texts().LabelWaveFormat, "(Format: 8 Bit Mono)");
  ASSERT_TRUE(backend.last_format.has_value());
  EXPECT_TRUE(backend.last_format->IsMono8());
  EXPECT_EQ(backend.last_format->samples_per_sec, 11025);
  EXPECT_EQ(backend.last_device_id, 0);
  EXPECT_TRUE(backend.started());
  EXPECT_EQ(backend.queued(), 20u);
  EXPECT_EQ(engine->state().InBuffersActive, 20);
  EXPECT_FALSE(engine->state().StopRequested);
  EXPECT_FALSE(engine->state().SKStopped);

  // The device's thread delivers; the data reaches the sink on this ("UI") thread, in order.
  for (int round = 0; round < 3; ++round) {
    ASSERT_EQ(backend.DeliverFromThread(15), 15);
    EXPECT_EQ(received.size(), static_cast<std::size_t>(round * 15));  // not on the device thread
    ui.RunPending();
    EXPECT_EQ(engine->texts().Label_In_Count, "19");
    EXPECT_EQ(engine->state().InBuffersActive, 20);
    EXPECT_EQ(backend.queued(), 20u);
  }
  ASSERT_EQ(received.size(), 45u);
  for (std::size_t i = 0; i < received.size(); ++i) {
    ASSERT_EQ(received[i].size(), 1000u);
    EXPECT_TRUE(std::equal(received[i].begin(), received[i].end(), samples.begin() + i * 1000));
    EXPECT_EQ(sink_threads[i], std::this_thread::get_id());
  }

  // Filled before the stop but handled after it: not passed on.
  ASSERT_EQ(backend.DeliverFromThread(2), 2);
  EXPECT_EQ(engine->ButtonStartClick(), "Start SK");
  EXPECT_TRUE(engine->state().SKStopped);
  EXPECT_TRUE(engine->state().StopRequested);
  EXPECT_EQ(engine->phase(), Phase::kDraining);
  EXPECT_TRUE(backend.is_open());
  ui.RunPending();
  EXPECT_EQ(received.size(), 45u);
  EXPECT_EQ(engine->state().InBuffersActive, 0);
  EXPECT_EQ(engine->texts().Label_In_Count, "0");
  EXPECT_FALSE(backend.is_open());
  EXPECT_EQ(backend.closes_with_queued_buffers, 0);
  EXPECT_EQ(engine->phase(), Phase::kStopped);
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(EngineTest, OpenFailuresAreModalAndLeaveTheEngineStopped) {
  struct Case {
    int query, open;
    std::string text;
  };
  const Case cases[] = {
      {kWaveBadFormat, 0, "Record format not supported"},
      {0, 4, "Problem creating record handle:  device already allocated"},
      {0, 2, "Problem creating record handle:  device ID out of range"},
      {0, 12,
       "Problem creating record handle:  handle being used simultaneously on another thread (eg "
       "callback)"},
      {0, 20, "Problem creating record handle:  driver does not call DriverCallback"},
      {0, 32, "Problem creating record handle:  "},
  };
  int n = 0;
  for (const Case& c : cases) {
    backend.query_result = c.query;
    backend.open_result = c.open;
    dialogs.shown.clear();
    engine->StartSK();
    ++n;
    const std::string line = "(" + std::to_string(n) + ")  07.03.2024 09:05:01 :  " + c.text;
    ASSERT_EQ(dialogs.shown.size(), 1u) << c.text;
    EXPECT_EQ(dialogs.shown[0].text, line);
    EXPECT_EQ(dialogs.shown[0].caption, "LORIX");
    EXPECT_EQ(engine->error_log().MemoErrors().back(), line);
    EXPECT_EQ(engine->phase(), Phase::kStopped);
    EXPECT_FALSE(backend.is_open());
    EXPECT_EQ(engine->texts().LabelWaveFormat, "(-)");
  }
  // The query failure never reaches the real open.
  EXPECT_EQ(backend.open_calls, 5);
}

TEST_F(EngineTest, StartFailuresAfterTheOpenReleaseTheDevice) {
  struct Case {
    std::optional<ScriptedCaptureBackend::FailAt> prepare, add;
    int start;
    std::string text;
    bool modal;
  };
  const Case cases[] = {
      {ScriptedCaptureBackend::FailAt{5, 7}, {}, 0, "Fehler 7 in \"WaveInPrepareHeader\" !", false},
      {{}, ScriptedCaptureBackend::FailAt{1, 5}, 0, "Fehler 5 in \"WaveInAddBuffer\" !", false},
      {{}, {}, 1, "Fehler 1 in \"WaveInStart\" !", true},
  };
  for (const bool show_wave_errors : {false, true}) {
    for (const Case& c : cases) {
      ScriptedCaptureBackend failing(samples);
      failing.prepare_failure = c.prepare;
      failing.add_failure = c.add;
      failing.start_result = c.start;
      RecordingDialogs boxes;
      RecordingEngine eng(failing, ui.Poster(), boxes);
      eng.error_log().CBShowWaveErrors = show_wave_errors;
      int delivered = 0;
      eng.OnSoundData = [&](const std::uint8_t*, std::int32_t) { ++delivered; };
      eng.StartSK();
      ASSERT_EQ(eng.error_log().MemoErrors().size(), 1u) << c.text;
      EXPECT_TRUE(eng.error_log().MemoErrors()[0].ends_with(" :  " + c.text));
      EXPECT_EQ(boxes.shown.size(), c.modal || show_wave_errors ? 1u : 0u) << c.text;
      EXPECT_TRUE(eng.state().SKStopped);
      EXPECT_FALSE(failing.started());
      EXPECT_EQ(eng.texts().LabelWaveFormat, "(-)");
      // Buffers already queued come back and are dropped; then the device is closed.
      ui.RunPending();
      EXPECT_FALSE(failing.is_open()) << c.text;
      EXPECT_EQ(eng.phase(), Phase::kStopped);
      EXPECT_EQ(delivered, 0);
      EXPECT_EQ(failing.closes_with_queued_buffers, 0);
    }
  }
}

TEST_F(EngineTest, BufferErrorsShowBoxesAndCaptureGoesOn) {
  engine->StartSK();
  backend.unprepare_failure = ScriptedCaptureBackend::FailAt{backend.unprepare_calls + 1, 5};
  backend.prepare_failure = ScriptedCaptureBackend::FailAt{backend.prepare_calls + 2, 11};
  backend.add_failure = ScriptedCaptureBackend::FailAt{backend.add_calls + 3, 5};
  backend.Deliver(4);
  ui.RunPending();
  ASSERT_EQ(dialogs.shown.size(), 4u);
  EXPECT_EQ(dialogs.shown[0].text, "In Un Prepare error");
  EXPECT_EQ(dialogs.shown[1].text, "In Prepare error");
  EXPECT_EQ(dialogs.shown[2].text, "Add buffer error");  // the unprepared buffer is refused
  EXPECT_EQ(dialogs.shown[3].text, "Add buffer error");
  for (const auto& box : dialogs.shown) EXPECT_EQ(box.caption, "error");
  EXPECT_EQ(received.size(), 4u);
  EXPECT_EQ(engine->phase(), Phase::kRunning);
  // Only buffers the device took are counted, so the count stays true and the drain ends.
  EXPECT_EQ(engine->state().InBuffersActive, 18);
  EXPECT_EQ(backend.queued(), 18u);
  EXPECT_EQ(engine->texts().Label_In_Count, "17");
  engine->StopSK();
  ui.RunPending();
  EXPECT_FALSE(backend.is_open());
  EXPECT_TRUE(engine->error_log().MemoErrors().empty());
}

TEST_F(EngineTest, StartRightAfterStopWaitsForTheOldDeviceToDrain) {
  engine->StartSK();
  ASSERT_EQ(backend.DeliverFromThread(3), 3);
  engine->StopSK();
  engine->StartSK();
  // The old device still holds its buffers: nothing new is opened yet.
  EXPECT_EQ(backend.open_calls, 1);
  EXPECT_TRUE(engine->StartPending());
  EXPECT_EQ(engine->phase(), Phase::kDraining);
  ui.RunPending();
  EXPECT_EQ(backend.open_calls, 2);
  EXPECT_EQ(backend.close_calls, 1);
  EXPECT_EQ(backend.opens_while_open, 0);
  EXPECT_EQ(backend.closes_with_queued_buffers, 0);
  EXPECT_EQ(engine->phase(), Phase::kRunning);
  EXPECT_EQ(engine->state().InBuffersActive, 20);
  EXPECT_TRUE(received.empty());  // the old device's filled buffers were stopped ones
  ASSERT_EQ(backend.DeliverFromThread(2), 2);
  ui.RunPending();
  EXPECT_EQ(received.size(), 2u);
  EXPECT_EQ(engine->texts().Label_In_Count, "19");

  // A stop that follows a pending start cancels it.
  engine->StopSK();
  engine->StartSK();
  engine->StopSK();
  ui.RunPending();
  EXPECT_EQ(backend.open_calls, 2);
  EXPECT_EQ(engine->phase(), Phase::kStopped);
  EXPECT_FALSE(backend.is_open());
}

TEST_F(EngineTest, SinkThatStopsTheEngineGetsNoMoreAndTheDeviceCloses) {
  engine->OnSoundData = [this](const std::uint8_t*, std::int32_t) {
    received.emplace_back();
    engine->StopSK();
  };
  engine->StartSK();
  backend.Deliver(3);
  ui.RunPending();  // the two filled after the stopping one are dropped
  ui.RunPending();  // the buffers the stop returned
  EXPECT_EQ(received.size(), 1u);
  EXPECT_FALSE(backend.is_open());
  EXPECT_EQ(backend.closes_with_queued_buffers, 0);
  EXPECT_EQ(engine->phase(), Phase::kStopped);
}

TEST_F(EngineTest, BuffersPostedAfterTheEngineIsGoneAreIgnored) {
  engine->StartSK();
  backend.DeliverFromThread(5);
  engine.reset();  // resets and closes the device
  EXPECT_FALSE(backend.is_open());
  EXPECT_EQ(ui.RunPending(), 20);  // 5 filled + 15 reset, all ignored
  EXPECT_TRUE(received.empty());
}

TEST(AlsaCapture, DeviceNumbersAndErrorNumbersMapOntoTheDeviceTable) {
  EXPECT_EQ(AlsaCaptureBackend::DeviceName(0), "default");
  EXPECT_EQ(AlsaCaptureBackend::DeviceName(1), "plughw:0");
  EXPECT_EQ(AlsaCaptureBackend::DeviceName(3), "plughw:2");
  EXPECT_EQ(AlsaCaptureBackend::OpenErrorCode(-EBUSY, 0), 4);
  EXPECT_EQ(AlsaCaptureBackend::OpenErrorCode(-ENOENT, 0), 6);
  EXPECT_EQ(AlsaCaptureBackend::OpenErrorCode(-ENOENT, 2), 2);
  EXPECT_EQ(AlsaCaptureBackend::OpenErrorCode(-ENODEV, 5), 2);
  EXPECT_EQ(AlsaCaptureBackend::OpenErrorCode(-ENOMEM, 0), 7);
  EXPECT_EQ(AlsaCaptureBackend::OpenErrorCode(-EIO, 0), 1);
  // A negative device number is refused before ALSA is asked.
  AlsaCaptureBackend backend;
  EXPECT_EQ(backend.Open(-1, WaveFormat::Mono8(11025), [](CaptureBuffer*) {}), 2);
  EXPECT_EQ(backend.Open(0, WaveFormat::Mono8(0), [](CaptureBuffer*) {}), kWaveBadFormat);
  EXPECT_EQ(backend.Reset(), kWaveInvalidHandle);
}

TEST(ErrorLog, NumbersLinesKeepsTheLast100AndShowsWhatIsAsked) {
  RecordingDialogs dialogs;
  ErrorLog log(dialogs, [] { return LocalTime(2023, 12, 31, 23, 59, 58); });
  log.AddErrorLine("erste", false);
  EXPECT_EQ(log.MemoErrors().front(), "(1)  31.12.2023 23:59:58 :  erste");
  EXPECT_TRUE(dialogs.shown.empty());
  log.AddErrorLine("modal", true);
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text, "(2)  31.12.2023 23:59:58 :  modal");
  log.CBShowWaveErrors = true;
  log.AddErrorLine("gemeldet", false);
  EXPECT_EQ(dialogs.shown.size(), 2u);
  log.CBShowWaveErrors = false;
  for (int i = 4; i <= 105; ++i) log.AddErrorLine("x" + std::to_string(i), false);
  EXPECT_EQ(log.ErrorLineCount(), 105);
  ASSERT_EQ(log.MemoErrors().size(), 100u);
  EXPECT_EQ(log.MemoErrors().front(), "(6)  31.12.2023 23:59:58 :  x6");
  EXPECT_EQ(log.MemoErrors().back(), "(105)  31.12.2023 23:59:58 :  x105");
  EXPECT_EQ(dialogs.shown.size(), 2u);
}

TEST(SoundLevel, LevelFromThePeakOfTheUpperHalfWave) {
  const SoundLevelScale scale;
  EXPECT_EQ(scale.Level(0), 0);
  EXPECT_EQ(scale.Level(128), 0);
  EXPECT_EQ(scale.Level(129), 1);
  EXPECT_EQ(scale.Level(181), 50);
  EXPECT_EQ(scale.Level(255), 100);
  for (int peak = 130; peak <= 255; ++peak) {
    EXPECT_GE(scale.Level(static_cast<std::uint8_t>(peak)),
              scale.Level(static_cast<std::uint8_t>(peak - 1)));
  }
}

TEST(SoundLevel, SilenceTestFollowsTheMuteBand) {
  const CodecTables& tables = InitCodecTables();
  auto silent = [&](std::vector<std::uint8_t> samples, int mute_level) {
    const CodecSettings s = CodecSettings::FromLevels(0, mute_level);
    return ScanSoundBuffer(samples, tables, s.MuteLow, s.MuteHigh).silent;
  };
  EXPECT_FALSE(silent(std::vector<std::uint8_t>(1000, 128), 0));
  EXPECT_TRUE(silent(std::vector<std::uint8_t>(1000, 128), 1));
  EXPECT_TRUE(silent({128, 124, 135, 130}, 4));
  EXPECT_FALSE(silent({128, 123, 128}, 4));
  EXPECT_FALSE(silent({128, 136, 128}, 4));
  EXPECT_TRUE(silent({64, 255, 128}, 8));
  EXPECT_FALSE(silent({64, 63, 255}, 8));
  EXPECT_EQ(ScanSoundBuffer(std::vector<std::uint8_t>{3, 200, 17}, tables, 8, 8).peak, 200);
}

TEST(SoundLevel, MeterRisesAtOnceAndFallsByTwoWithoutLimit) {
  const CodecTables& tables = InitCodecTables();
  const SoundLevelScale scale;
  SoundDataContext context;
  auto feed = [&](std::vector<std::uint8_t> samples) {
    context.meter_position = EvaluateSoundData(samples, context, scale, tables).Position;
    return context.meter_position;
  };
  std::vector<std::uint8_t> loud(1000, 128);
  loud[500] = 255;
  EXPECT_EQ(feed(loud), 100);
  EXPECT_EQ(feed(loud), 98);  // equal level is not greater
  // Silence has level 0: below zero the rule lifts the meter back to 0, then it falls again.
  context.meter_position = 1;
  const std::vector<std::uint8_t> silence(1000, 128);
  EXPECT_EQ(feed(silence), -1);
  EXPECT_EQ(feed(silence), 0);
  EXPECT_EQ(feed(silence), -2);
  EXPECT_EQ(feed(silence), 0);
  EXPECT_EQ(feed({129}), 1);
}

TEST(SoundLevel, RecordingUpdatesTimeAndSizeEstimateOnlyWhileRecording) {
  const CodecTables& tables = InitCodecTables();
  const SoundLevelScale scale;
  const CodecSettings mute4 = CodecSettings::FromLevels(3, 4);
  SoundDataContext context;
  context.MuteLow = mute4.MuteLow;
  context.MuteHigh = mute4.MuteHigh;
  context.pcm_stream_size = 44 + 16538;  // 1500.05 ms
  context.ExpectedAttachmentSize = 2000;
  context.PcmBytesPerCompressedByte = PcmBytesPerCompressedByte(3);
  const std::vector<std::uint8_t> speech(1000, 200);
  const std::vector<std::uint8_t> quiet(1000, 130);

  SoundDataResult idle = EvaluateSoundData(speech, context, scale, tables);
  EXPECT_FALSE(idle.labels_changed);
  EXPECT_FALSE(idle.expected_size_changed);
  EXPECT_EQ(idle.ExpectedAttachmentSize, 2000);

  context.RecordingActive = true;
  SoundDataResult loud = EvaluateSoundData(speech, context, scale, tables);
  EXPECT_EQ(loud.LabelSmpsRecorded, " [ 1.50 Sek. ] ");
  EXPECT_EQ(loud.ExpectedAttachmentSize, 2000 + 286);  // 1000 / 3.5 = 285.7
  EXPECT_EQ(loud.LabelKBExpectedLRX, " [ca.2 kB] ");
  SoundDataResult silent = EvaluateSoundData(quiet, context, scale, tables);
  EXPECT_TRUE(silent.labels_changed);
  EXPECT_FALSE(silent.expected_size_changed);
  EXPECT_EQ(silent.ExpectedAttachmentSize, 2000);

  // Halves round to the even neighbour.
  EXPECT_EQ(ExpectedSizeIncrement(5, 2.0), 2);
  EXPECT_EQ(ExpectedSizeIncrement(7, 2.0), 4);
  EXPECT_EQ(ExpectedSizeIncrement(1000, 0.0), 0);
  EXPECT_EQ(RecordedMilliseconds(1, 2000), 0);
  EXPECT_EQ(RecordedMilliseconds(3, 2000), 2);
  EXPECT_EQ(RecordedMilliseconds(11025, 0), 0);
  EXPECT_EQ(ExpectedSizeText("", 2047), " [1 kB] ");
}

}  // namespace
}  // namespace lorix::testing
