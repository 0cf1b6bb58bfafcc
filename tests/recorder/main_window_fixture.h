#pragma once

// The main window on Qt's offscreen platform with a scripted capture device and a playback that
// only runs when told, shared by the window's test files.

#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QPushButton>
#include <cmath>
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
#include "recorder/window/main_window.h"
#include "tests/support/recording_dialogs.h"
#include "tests/support/scripted_file_chooser.h"

namespace lorix::testing {

// The offscreen platform reports every window feature it lacks; those reports are noise here.
inline void QuietOffscreen(QtMsgType type, const QMessageLogContext& context,
                           const QString& message) {
  if (message.startsWith(QStringLiteral("This plugin does not support"))) return;
  qt_message_output(type, context, message);
}

// One application for the whole binary, on the offscreen platform.
inline void EnsureApplication() {
  if (QApplication::instance() != nullptr) return;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(QuietOffscreen);
  static int argc = 1;
  static char name[] = "main_window_tests";
  static char* argv[] = {name, nullptr};
  new QApplication(argc, argv);
}

// Speech-like material that never lies within the quiet band.
inline std::vector<std::uint8_t> Tone(std::size_t count) {
  std::vector<std::uint8_t> samples(count);
  for (std::size_t i = 0; i < count; ++i) {
    samples[i] = static_cast<std::uint8_t>(128.0 + 60.0 * std::sin(static_cast<double>(i) / 7.0));
  }
  return samples;
}

class MainWindowFixture : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { EnsureApplication(); }

  void SetUp() override {
    static int counter = 0;
    folder_ = std::filesystem::temp_directory_path() /
              ("lorix_main_window_" + std::to_string(::getpid()) + "_" + std::to_string(++counter));
    std::filesystem::create_directories(folder_);
    paths_ = RecorderPaths::ForProgramFolder(folder_);
    CreateRecorderFolders(paths_);
    settings_.Options.PrepareMemoryMB = 1;
    capture_ = std::make_unique<ScriptedCaptureBackend>(Tone(40000));
    engine_ = std::make_unique<RecordingEngine>(*capture_, queue_.Poster(), dialogs_);
    mci_ = std::make_unique<MciService>(output_);
    window_system_ = RunningWindowSystem();
  }

  void TearDown() override {
    window_.reset();
    engine_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  void Create(const std::filesystem::path& settings_file = {}) {
    WavePlayback::Services playback;
    playback.send_command = [this](const std::string& command, std::string& reply) {
      return mci_->MciSendString(command, reply);
    };
    window_ = std::make_unique<MainWindow>(MainWindowParts{
        .engine = *engine_,
        .dialogs = dialogs_,
        .settings = settings_,
        .paths = paths_,
        .playback = playback,
        .mixer = nullptr,
        .settings_file = settings_file,
        .program_name = "LORIX",
        .attachment_overhead = 100000,
        .choose_file = files_.AsHook(),
        .open_file = [this](const std::string& file) { opened_files_.push_back(file); },
        .mail = {.compose =
                     [this](const MailDraft& draft) {
                       mail_drafts_.push_back(draft);
                       return MailComposerResult{mail_result_};
                     },
                 .open_url =
                     [this](const std::string& url) {
                       mail_urls_.push_back(url);
                       return 33;
                     },
                 .restore_working_directory = [](const std::filesystem::path&) {}},
        .start_time = WallClock::now(),
        .window_system = window_system_,
    });
  }

  template <typename W>
  W* Find(const char* name) const {
    W* widget = window_->findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  QPushButton* Button(const char* name) const { return Find<QPushButton>(name); }

  // Lets the device fill `buffers` buffers and hands them to the window.
  void Capture(int buffers) {
    ASSERT_EQ(capture_->Deliver(buffers), buffers);
    queue_.RunPending();
  }

  std::filesystem::path folder_;
  RecorderPaths paths_;
  RecorderSettings settings_;
  RecordingDialogs dialogs_;
  TaskQueue queue_;
  std::unique_ptr<ScriptedCaptureBackend> capture_;
  std::unique_ptr<RecordingEngine> engine_;
  ManualPlaybackBackend output_;
  std::unique_ptr<MciService> mci_;
  std::unique_ptr<MainWindow> window_;
  // The offscreen platform's by default; a test may take Wayland's limits instead.
  WindowSystem window_system_;
  // The file dialog's requests and its answers in turn (none left: cancelled).
  ScriptedFileChooser files_;
  std::vector<std::string> opened_files_;
  // The mail program: the drafts it was given, its result, and the mailto: URLs opened.
  std::vector<MailDraft> mail_drafts_;
  int mail_result_ = 0;
  std::vector<std::string> mail_urls_;
};

}  // namespace lorix::testing
