#pragma once

// The recording workflow over a scripted capture device, a playback without a device, the
// recording dialogs and a scripted file dialog, in a fresh program folder per test.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "audio/manual_playback_backend.h"
#include "audio/mci_service.h"
#include "audio/scripted_capture_backend.h"
#include "audio/task_queue.h"
#include "codec/decoder.h"
#include "codec/encoder.h"
#include "codec/file_io.h"
#include "codec/info_text.h"
#include "codec/version.h"
#include "codec/wav_header.h"
#include "tests/support/recording_dialogs.h"
#include "tests/support/scripted_file_chooser.h"

#include "recorder/recording_workflow.h"

namespace lorix {

namespace fs = std::filesystem;

inline constexpr std::int64_t kOverhead = 100000;
inline constexpr const char* kAttachmentFile = "LORIX_20240102_030405.EXE";

// Speech-like material: a tone whose loudness swells, never within the default quiet band.
inline std::vector<std::uint8_t> Tone(std::size_t count, double phase = 0.0) {
  std::vector<std::uint8_t> samples(count);
  for (std::size_t i = 0; i < count; ++i) {
    const double t = static_cast<double>(i) + phase;
    const double amplitude = 40.0 + 30.0 * std::sin(t / 900.0);
    samples[i] = static_cast<std::uint8_t>(128.0 + amplitude * std::sin(t / 7.0));
  }
  return samples;
}

// The local time the workflow's clock shows in the tests: 02.01.2024 03:04:05.
inline std::tm FixedLocalTime() {
  std::tm time{};
  time.tm_year = 2024 - 1900;
  time.tm_mon = 0;
  time.tm_mday = 2;
  time.tm_hour = 3;
  time.tm_min = 4;
  time.tm_sec = 5;
  time.tm_isdst = -1;
  return time;
}

inline Bytes WavImage(const Bytes& samples) {
  const WavHeader header = BuildMonoWavHeader(static_cast<std::int32_t>(samples.size()), 11025);
  Bytes image(header.size() + samples.size());
  std::copy(header.begin(), header.end(), image.begin());
  std::copy(samples.begin(), samples.end(), image.begin() + kWavHeaderSize);
  return image;
}

class RecordingWorkflowTest : public ::testing::Test {
 protected:
  // The capture device delivers `material` first, then silence.
  void SetUpWith(std::vector<std::uint8_t> material) {
    static int counter = 0;
    folder_ = fs::temp_directory_path() /
              ("lorix_workflow_" + std::to_string(::getpid()) + "_" + std::to_string(++counter));
    paths_ = RecorderPaths::ForProgramFolder(folder_);
    fs::create_directories(folder_);
    CreateRecorderFolders(paths_);

    capture_ = std::make_unique<ScriptedCaptureBackend>(std::move(material));
    engine_ = std::make_unique<RecordingEngine>(*capture_, queue_.Poster(), dialogs_);
    mci_ = std::make_unique<MciService>(output_);
    options_.PrepareMemoryMB = 1;
    CreateWorkflow();
  }

  // A new workflow in the same program folder, as at a start of the program.
  void CreateWorkflow() {
    WavePlayback::Services playback;
    playback.send_command = [this](const std::string& command, std::string& reply) {
      return mci_->MciSendString(command, reply);
    };
    WorkflowHooks hooks;
    hooks.repaint_now = [this] { ++repaints_; };
    hooks.focus = [this](FocusTarget target) { focus_.push_back(target); };
    hooks.local_time = FixedLocalTime;
    hooks.choose_file = files_.AsHook();
    hooks.open_file = [this](const std::string& file) { opened_.push_back(file); };
    hooks.show_play_block = [this] { ++play_block_shown_; };
    hooks.open_mail = [this](const MailAttachment& request) { mails_.push_back(request); };
    Dialogs& dialogs = workflow_dialogs_ != nullptr ? *workflow_dialogs_ : dialogs_;
    workflow_ =
        std::make_unique<RecordingWorkflow>(*engine_, dialogs, options_, paths_, playback, hooks);
    // What the window does at creation and first activation.
    workflow_->SetAttachmentOverhead(kOverhead);
    workflow_->ButtonResetClick(ResetSender::kNone);
    workflow_->TBCompressLevelChange(3);
    workflow_->TBMuteLevelChange(4);
  }

  void SetUp() override { SetUpWith(Tone(20000)); }

  void TearDown() override {
    workflow_.reset();
    engine_.reset();
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  // Lets the device fill `buffers` buffers and hands them to the workflow.
  void Capture(int buffers) {
    ASSERT_EQ(capture_->Deliver(buffers), buffers);
    queue_.RunPending();
  }
  // Lets a stopped device hand back what it still holds.
  void Drain() { queue_.RunPending(); }

  void Press(RecordSender sender) {
    workflow_->ButtonRecordClick(sender);
    Drain();
  }

  // Records `buffers` buffers and pauses.
  void RecordAndPause(int buffers) {
    Press(RecordSender::kButtonRecord);
    Capture(buffers);
    Press(RecordSender::kButtonRecord);
  }

  const RecorderControls& c() const { return workflow_->controls(); }
  const WorkflowState& s() const { return workflow_->state(); }

  fs::path folder_;
  RecorderPaths paths_;
  TaskQueue queue_;
  testing::RecordingDialogs dialogs_;
  // Set: the dialogs the next created workflow shows its boxes with, instead of dialogs_.
  Dialogs* workflow_dialogs_ = nullptr;
  RecorderOptions options_;
  ManualPlaybackBackend output_;
  std::unique_ptr<ScriptedCaptureBackend> capture_;
  std::unique_ptr<RecordingEngine> engine_;
  std::unique_ptr<MciService> mci_;
  std::unique_ptr<RecordingWorkflow> workflow_;
  int repaints_ = 0;
  std::vector<FocusTarget> focus_;
  // The file dialog's requests and the answers it gives in turn (none left: cancelled).
  testing::ScriptedFileChooser files_;
  std::vector<std::string> opened_;
  int play_block_shown_ = 0;
  std::vector<MailAttachment> mails_;
};

}  // namespace lorix
