// The recorder as a user meets it on the test rig: this test process is the recorder. Its main
// window is built as the program builds it (real ALSA capture of the rig's null-sink monitor,
// the real media-control playback and mixer) on the rig's X display and driven through its own
// buttons: level display, record while a spoken message is played into the sink, pause in the
// middle, continue, compress and listen. The files it leaves in TEMPs and what it plays back
// are checked, and screenshots of its windows are written to the build folder.

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QImage>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QSlider>
#include <QTest>
#include <QTranslator>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include "audio/alsa_capture_backend.h"
#include "audio/alsa_mixer_backend.h"
#include "audio/alsa_playback_backend.h"
#include "audio/mci_errors.h"
#include "audio/mci_service.h"
#include "audio/mixer.h"
#include "audio/recording_engine.h"
#include "codec/codec_tables.h"
#include "codec/decoder.h"
#include "codec/encoder.h"
#include "codec/info_text.h"
#include "codec/version.h"
#include "codec/wav_header.h"
#include "codec/wav_reader.h"
#include "desktop/command_output.h"
#include "desktop/path_search.h"
#include "recorder/attachment_names.h"
#include "recorder/recorder_paths.h"
#include "recorder/recorder_settings.h"
#include "recorder/recording_journal.h"
#include "recorder/settings_file.h"
#include "recorder/window/main_window.h"
#include "recorder/window/qt_file_dialog.h"
#include "recorder/window/qt_ui_thread.h"
#include "recorder/window/sound_card_window.h"
#include "tests/support/child_program.h"
#include "tests/support/mp3_decode.h"
#include "tests/support/mp3_standard.h"
#include "tests/support/recording_dialogs.h"
#include "tests/support/sink_recording.h"
#include "tests/support/x11_windows.h"

namespace lorix::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

const fs::path kTool = LORIX_TOOL_PATH;
// The Windows player: the recorder copies it into every attachment; recipients start it.
const fs::path kPlayer = kTool.parent_path() / "LorixPlayer.exe";
const fs::path kSpeech = fs::path(LORIX_SPEECH_DIR) / "speech_de.wav";
const fs::path kScreenshots = LORIX_SCREENSHOT_DIR;
constexpr std::size_t kStretch = 5512;  // half a second at 11025 Hz

std::uint32_t Le32(const Bytes& bytes, std::size_t at) {
  return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
         static_cast<std::uint32_t>(bytes[at + 2]) << 16 |
         static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

// Runs the event loop for `duration`: the device's buffers arrive through queued calls.
void Pump(std::chrono::milliseconds duration) {
  const auto end = Clock::now() + duration;
  while (Clock::now() < end) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    std::this_thread::sleep_for(2ms);
  }
}

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto end = Clock::now() + timeout;
  while (!done()) {
    if (Clock::now() >= end) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    std::this_thread::sleep_for(2ms);
  }
  return true;
}

// The one QApplication of the process, on the rig's X display; it goes before Qt's own
// statics do.
QApplication* app = nullptr;

class QtEnvironment : public ::testing::Environment {
 public:
  void TearDown() override {
    delete app;
    app = nullptr;
  }
};
[[maybe_unused]] ::testing::Environment* const kQtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

QApplication& App() {
  static int argc = 1;
  static char name[] = "Lorix";
  static char* argv[] = {name, nullptr};
  if (app == nullptr) {
    app = new QApplication(argc, argv);
    // German standard texts, as the program loads them.
    static QTranslator german;
    if (german.load(QStringLiteral("qtbase_de"),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
      QApplication::installTranslator(&german);
    }
  }
  return *app;
}

// The sound server's answer about its default source: "Mute: no" when it records.
std::string DefaultSourceMute() {
  std::string answer = RunAndCapture({"pactl", "get-source-mute", "@DEFAULT_SOURCE@"}, 5s).output;
  while (!answer.empty() && answer.back() == '\n') answer.pop_back();
  return answer;
}

// The recorder as main.cpp puts it together, in a program folder of its own, except that
// dialogs are recorded instead of shown (a modal box would stop the test) and the playback's
// "open with the associated program" starts nothing on the test machine.
class Recorder {
 public:
  explicit Recorder(const fs::path& folder)
      : paths_(RecorderPaths::ForProgramFolder(folder)),
        engine_(capture_, QtPoster(&App()), dialogs),
        mci_(output_),
        mixer_(mixer_device_) {
    CreateRecorderFolders(paths_);
    WavePlayback::Services playback;
    playback.send_command = [this](const std::string& command, std::string& reply) {
      return mci_.MciSendString(command, reply);
    };
    playback.error_text = MciGetErrorString;
    playback.find_application = [](const std::string&) { return std::string(); };
    playback.open_file = [](const std::string&) {};
    std::error_code error;
    const auto player = fs::file_size(paths_.player_program, error);
    window_ = std::make_unique<MainWindow>(MainWindowParts{
        .engine = engine_,
        .dialogs = dialogs,
        .settings = settings_,
        .paths = paths_,
        .playback = std::move(playback),
        .mixer = &mixer_,
        .settings_file = SettingsFilePath(folder / "Lorix"),
        .program_name = "Lorix",
        .attachment_overhead = (error ? 0 : static_cast<std::int64_t>(player)) + InfoTextLength(),
        .choose_file = [this](const FileDialogRequest& request) { return ChooseFile(request); },
        .open_file = [](const std::string&) {},
        .mail = {},
        .start_time = WallClock::now(),
    });
    sound_card_ = std::make_unique<SoundCardWindow>(engine_);
    window_->SetSoundCardWindow(sound_card_.get());
    // Counts the buffers on their way to the window's data sink.
    engine_.OnSoundData = [this, sink = engine_.OnSoundData](const std::uint8_t* data,
                                                             std::int32_t count) {
      ++buffers;
      sink(data, count);
    };
  }

  ~Recorder() {
    // As at the end of the program: the devices are released while the window still exists.
    if (window_->isVisible()) window_->close();
    Pump(100ms);
    sound_card_.reset();
    window_.reset();
  }

  MainWindow& window() { return *window_; }
  SoundCardWindow& sound_card() { return *sound_card_; }
  RecordingWorkflow& workflow() { return window_->workflow(); }
  const RecorderPaths& paths() const { return paths_; }

  template <typename W>
  W* Find(const char* name) {
    W* widget = window_->findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  QPushButton* Button(const char* name) { return Find<QPushButton>(name); }
  QString Status() { return Find<QLabel>("PanelBottom")->text(); }

  // A click with the mouse in the middle of an enabled, visible button.
  void Click(const char* name) {
    QPushButton* button = Button(name);
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->isVisible()) << name;
    ASSERT_TRUE(button->isEnabled()) << name;
    QTest::mouseClick(button, Qt::LeftButton);
    QCoreApplication::processEvents();
  }

  // The file dialog as the user answers it: the requests, and the names typed in turn.
  std::optional<std::string> ChooseFile(const FileDialogRequest& request) {
    file_requests.push_back(request);
    if (chosen_files.empty()) return std::nullopt;
    std::string answer = chosen_files.front();
    chosen_files.pop_front();
    if (!dialog_screenshot.empty()) return ThroughRealDialog(request, answer);
    return answer;
  }

  // The program's own dialog on the display: photographed, the name typed, then accepted.
  std::optional<std::string> ThroughRealDialog(const FileDialogRequest& request,
                                               const std::string& answer);

  RecordingDialogs dialogs;
  int buffers = 0;
  std::vector<FileDialogRequest> file_requests;
  std::deque<std::string> chosen_files;
  // When set, the next dialog is shown for real and photographed into this file.
  fs::path dialog_screenshot;

 private:
  RecorderPaths paths_;
  AlsaCaptureBackend capture_;
  RecordingEngine engine_;
  AlsaPlaybackBackend output_;
  MciService mci_;
  AlsaMixerBackend mixer_device_;
  Mixer mixer_;
  RecorderSettings settings_;
  std::unique_ptr<MainWindow> window_;
  std::unique_ptr<SoundCardWindow> sound_card_;
};

std::string DialogTexts(const RecordingDialogs& dialogs) {
  std::string texts;
  for (const DialogRequest& request : dialogs.shown) texts += request.text + "\n";
  return texts;
}

// The window as the rig's X server shows it; a widget rendering if the server gives nothing.
QImage Screenshot(QWidget& window, const fs::path& file) {
  QCoreApplication::processEvents();
  window.repaint();
  QCoreApplication::processEvents();
  QPixmap pixmap;
  if (QScreen* screen = window.screen()) pixmap = screen->grabWindow(window.winId());
  if (pixmap.isNull()) pixmap = window.grab();
  fs::create_directories(kScreenshots);
  EXPECT_TRUE(pixmap.save(QString::fromStdString(file.string()), "PNG")) << file;
  return pixmap.toImage();
}

std::optional<std::string> Recorder::ThroughRealDialog(const FileDialogRequest& request,
                                                       const std::string& answer) {
  QFileDialog dialog(window_.get());
  PrepareQtFileDialog(dialog, request);
  dialog.show();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog, 10000)) << "no file dialog";
  Pump(300ms);
  Screenshot(dialog, dialog_screenshot);
  dialog_screenshot.clear();
  // The name typed into the name field, then the OK button ("Speichern" or "Laden").
  auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  EXPECT_NE(name, nullptr);
  if (name == nullptr) return std::nullopt;
  name->clear();
  QTest::keyClicks(name, QString::fromStdString(answer));
  QTest::keyClick(name, Qt::Key_Return);
  Pump(200ms);
  EXPECT_EQ(dialog.result(), QDialog::Accepted) << "the dialog did not take the name";
  if (dialog.result() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().constFirst().toStdString();
}

// A picture of a window shows many colours (text, frames, gradients), not an empty area.
int DistinctColours(const QImage& image) {
  QSet<QRgb> colours;
  for (int y = 0; y < image.height(); y += 2) {
    for (int x = 0; x < image.width(); x += 2) colours.insert(image.pixel(x, y));
  }
  return static_cast<int>(colours.size());
}

class RecorderEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* rig = std::getenv("LORIX_AUDIO_RIG");
    ASSERT_TRUE(rig && std::string(rig) == "1") << "not started by the test rig";
    ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "the rig has no X display";
    ASSERT_TRUE(fs::exists(kPlayer)) << kPlayer;
    ASSERT_TRUE(fs::exists(kSpeech)) << kSpeech;
    App();
    folder_ = fs::temp_directory_path() /
              ("lorix_recorder_e2e_" + std::to_string(getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    fs::copy_file(kPlayer, folder_ / "LorixPlayer.exe");
    recorder_ = std::make_unique<Recorder>(folder_);
  }

  void TearDown() override {
    recorder_.reset();
    fs::remove_all(folder_);
  }

  // Shows the main window at `place` and waits for its start at the first show.
  void ShowWindow(QPoint place) {
    MainWindow& window = recorder_->window();
    window.move(place);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window, 10000)) << "the main window is not shown";
    ASSERT_TRUE(PumpUntil([&] { return window.AppStarted() && recorder_->Status() == "ok."; }, 5s))
        << "status: " << recorder_->Status().toStdString();
    Pump(300ms);
  }

  fs::path folder_;
  std::unique_ptr<Recorder> recorder_;
};

TEST_F(RecorderEndToEnd, RecordPauseContinueCompressAndListen) {
  Recorder& r = *recorder_;
  ASSERT_NO_FATAL_FAILURE(ShowWindow({20, 20}));
  const PcmSound speech = ReadSound(kSpeech);
  ASSERT_EQ(speech.format.sample_rate, 11025u);
  const auto message = std::chrono::milliseconds(speech.samples.size() * 1000 / 11025);
  ASSERT_GT(message, 4s);
  // The start-up's mixer adjustment leaves the recording side switched on.
  EXPECT_EQ(DefaultSourceMute(), "Mute: no") << "the recorder's start muted its own input";

  // Start: steps 1 and 2 open, 3 and 4 closed.
  EXPECT_TRUE(r.Button("ButtonRecordLevelOnOff")->isEnabled());
  EXPECT_TRUE(r.Button("ButtonRecord")->isEnabled());
  EXPECT_EQ(r.Button("ButtonRecord")->text(), "&2. Neu\naufnehmen ");
  EXPECT_FALSE(r.Button("ButtonComprDecomprAndPlay")->isEnabled());
  EXPECT_FALSE(r.Button("ButtonCreateOpenMail")->isEnabled());

  // Step 1: the level display runs on the device's buffers; nothing is stored.
  ASSERT_NO_FATAL_FAILURE(r.Click("ButtonRecordLevelOnOff"));
  EXPECT_TRUE(r.Button("ButtonRecordLevelOnOff")->isChecked());
  EXPECT_EQ(r.Button("ButtonRecordLevelOnOff")->toolTip(), "1. Pegel-Anzeige wieder ausschalten!");
  EXPECT_TRUE(PumpUntil([&] { return r.buffers >= 5; }, 5s))
      << "the capture device delivers no buffers (" << r.buffers << ")";
  EXPECT_TRUE(r.workflow().PcmStream().empty());
  EXPECT_FALSE(fs::exists(r.paths().temp_recording));

  // Step 2: record while the message is played into the sink; pause in its middle, continue.
  ASSERT_NO_FATAL_FAILURE(r.Click("ButtonRecord"));
  EXPECT_TRUE(r.workflow().state().RecordingActive);
  EXPECT_TRUE(r.Button("ButtonRecord")->isChecked());
  EXPECT_FALSE(r.Button("ButtonRecordLevelOnOff")->isChecked());
  EXPECT_EQ(r.Button("ButtonRecord")->text(), "&2.  PAUSE \n    / STOP    ");
  EXPECT_TRUE(r.Button("ButtonComprDecomprAndPlay")->isEnabled());
  Pump(300ms);
  const auto played_at = Clock::now();
  ChildProgram paplay("/usr/bin/paplay", folder_, {kSpeech.string()});
  ASSERT_TRUE(paplay.started());
  int loudest = 0;
  const auto watch_meter = [&](std::chrono::milliseconds duration) {
    PumpUntil(
        [&] {
          loudest = std::max(loudest, r.workflow().controls().DbMeterRecordLevel);
          return false;
        },
        duration);
  };
  watch_meter(message / 2);

  ASSERT_NO_FATAL_FAILURE(r.Click("ButtonRecord"));  // pause
  EXPECT_FALSE(r.workflow().state().RecordingActive);
  EXPECT_FALSE(r.workflow().state().LevelMeterOn);
  EXPECT_EQ(r.Button("ButtonRecord")->text(), "&2. Weiter\naufnehmen");
  EXPECT_FALSE(r.Button("ButtonRecord")->isChecked());
  const std::int32_t first_part = r.workflow().state().SampleCount;
  EXPECT_GT(first_part, static_cast<std::int32_t>(speech.samples.size() / 4));
  ASSERT_TRUE(fs::exists(r.paths().temp_recording)) << "pausing saves the recording";
  EXPECT_EQ(ReadBytes(r.paths().temp_recording).size(), 44u + static_cast<unsigned>(first_part));
  Pump(500ms);

  ASSERT_NO_FATAL_FAILURE(r.Click("ButtonRecord"));  // continue
  EXPECT_TRUE(r.workflow().state().RecordingActive);
  EXPECT_EQ(r.Button("ButtonRecord")->text(), "&2.  PAUSE \n    / STOP    ");
  watch_meter(message - message / 2 - 500ms);
  ASSERT_TRUE(PumpUntil([&] { return !paplay.Running(); }, 20s)) << "paplay does not end";
  EXPECT_EQ(paplay.WaitForExit(0ms), 0) << "paplay failed";
  Pump(800ms);
  const auto recorded_for = Clock::now() - played_at;
  EXPECT_GT(loudest, 30) << "the level meter did not move with the message";

  // Step 3 stops the recording, compresses, decompresses and plays the result.
  MonitorRecording heard(folder_ / "heard.wav");
  ASSERT_TRUE(heard.started());
  ASSERT_NO_FATAL_FAILURE(r.Click("ButtonComprDecomprAndPlay"));
  const auto step3_done = Clock::now();
  EXPECT_FALSE(r.workflow().state().RecordingActive);
  const std::int32_t samples = r.workflow().state().SampleCount;
  EXPECT_GT(samples, first_part);
  ASSERT_TRUE(fs::exists(r.paths().temp_compressed));
  EXPECT_TRUE(r.workflow().playback().PlaybackActive()) << "auto-play did not start";
  EXPECT_EQ(r.Button("ButtonComprDecomprAndPlay")->text(), "&3. STOP Wiederg.!");
  EXPECT_FALSE(r.Button("ButtonRecord")->isEnabled());
  EXPECT_FALSE(r.Button("ButtonRecordLevelOnOff")->isEnabled());
  const bool ended = PumpUntil([&] { return !r.workflow().playback().PlaybackActive(); },
                               std::chrono::milliseconds(samples * 1000LL / 11025) + 10s);
  EXPECT_TRUE(ended) << "the playback of the compressed version does not end";
  const auto played_for = Clock::now() - step3_done;
  Pump(500ms);
  heard.Stop();

  // The compressed state: step 3 open again with its caption, steps 1 and 2 open, status ok.
  EXPECT_TRUE(r.Button("ButtonComprDecomprAndPlay")->isEnabled());
  EXPECT_EQ(r.Button("ButtonComprDecomprAndPlay")->text(), "&3. Komprimieren\nund anhören");
  EXPECT_TRUE(r.Find<QLabel>("PanelTipComprDecomprAndPlay")->isEnabled());
  EXPECT_TRUE(r.Button("ButtonRecordLevelOnOff")->isEnabled());
  EXPECT_FALSE(r.Button("ButtonRecordLevelOnOff")->isChecked());
  EXPECT_TRUE(r.Button("ButtonRecord")->isEnabled());
  EXPECT_EQ(r.Button("ButtonRecord")->text(), "&2. Weiter\naufnehmen");
  EXPECT_TRUE(r.Button("ButtonAndPlayOrig")->isEnabled());
  EXPECT_TRUE(r.Button("ButtonReset")->isEnabled());
  EXPECT_EQ(r.Status(), "ok.");
  EXPECT_FALSE(r.Find<QLabel>("PanelWait")->isVisible());
  EXPECT_FALSE(r.workflow().CompressedStream().empty());
  EXPECT_EQ(r.Find<QLabel>("LabelRecordedWAV_File")->text().toStdString(),
            r.paths().temp_recording.string());

  // TEMPs/TempRecording.wav: canonical 8-bit mono 11025 Hz, holding the message.
  const Bytes recording = ReadBytes(r.paths().temp_recording);
  ASSERT_GE(recording.size(), 44u);
  EXPECT_EQ(std::string(recording.begin(), recording.begin() + 4), "RIFF");
  EXPECT_EQ(std::string(recording.begin() + 8, recording.begin() + 16), "WAVEfmt ");
  EXPECT_EQ(std::string(recording.begin() + 36, recording.begin() + 40), "data");
  EXPECT_EQ(Le32(recording, 40), static_cast<std::uint32_t>(samples));
  EXPECT_EQ(Le32(recording, 4), static_cast<std::uint32_t>(samples) + 36);
  EXPECT_EQ(recording.size(), 44u + static_cast<std::size_t>(samples));
  const PcmSound recorded = ReadSound(r.paths().temp_recording);
  EXPECT_EQ(recorded.format.channels, 1u);
  EXPECT_EQ(recorded.format.bits_per_sample, 8u);
  EXPECT_EQ(recorded.format.sample_rate, 11025u);
  std::printf("message %.2f s, recorded %.2f s (%d samples, %d before the pause) in %.2f s\n",
              static_cast<double>(speech.samples.size()) / 11025, samples / 11025.0, samples,
              first_part, std::chrono::duration<double>(recorded_for).count());
  // The pause leaves a gap: one of the three stretches may fall into it.
  EXPECT_GE(MatchedStretches(speech.samples, recorded.samples, "recording"), 2);

  // TEMPs/TempCompressed.wav: the codec's round trip at the window's levels.
  const int compress_level = r.Find<QSlider>("TBCompressLevel")->value();
  const int mute_level = r.Find<QSlider>("TBMuteLevel")->value();
  EXPECT_EQ(compress_level, r.workflow().state().CompressLevel);
  EXPECT_EQ(mute_level, r.workflow().state().MuteLevel);
  const CodecTables& tables = InitCodecTables();
  const CompressResult compressed =
      Compress(recording, samples, CodecSettings::FromLevels(compress_level, mute_level), tables,
               ProgramVersion, InfoTextLength());
  EXPECT_EQ(compressed.CompressedStream, r.workflow().CompressedStream());
  const DecompressResult decompressed = Decompress(compressed.CompressedStream, tables);
  const Bytes compressed_file = ReadBytes(r.paths().temp_compressed);
  EXPECT_EQ(compressed_file.size(), decompressed.PcmStream.size());
  EXPECT_TRUE(compressed_file == decompressed.PcmStream)
      << "TempCompressed.wav is not the round trip at levels " << compress_level << "/"
      << mute_level;
  std::printf("compressed %zu bytes at levels %d/%d\n", compressed.CompressedStream.size(),
              compress_level, mute_level);

  // What the auto-play put into the sink is the decoded version.
  std::printf("played back for %.2f s\n", std::chrono::duration<double>(played_for).count());
  const PcmSound decoded = ReadSound(r.paths().temp_compressed);
  const PcmSound sink = ReadSound(folder_ / "heard.wav");
  EXPECT_GE(MatchedStretches(decoded.samples, sink.samples, "playback"), 2);

  // Nothing went wrong on the way.
  EXPECT_TRUE(r.dialogs.shown.empty()) << DialogTexts(r.dialogs);
  EXPECT_TRUE(r.sound_card().MemoErrors()->toPlainText().isEmpty())
      << r.sound_card().MemoErrors()->toPlainText().toStdString();

  r.window().SetBlockVisible(Block::kOptionsCompress, true);
  Screenshot(r.window(), kScreenshots / "recorder_main_compressed.png");
}

TEST_F(RecorderEndToEnd, WindowsOnTheDisplay) {
  Recorder& r = *recorder_;
  ASSERT_NO_FATAL_FAILURE(ShowWindow({20, 20}));
  MainWindow& window = r.window();
  ASSERT_TRUE(window.windowHandle() != nullptr);

  // The level display on for a moment, so that the meter and the counters show something.
  ChildProgram paplay("/usr/bin/paplay", folder_, {kSpeech.string()});
  ASSERT_NO_FATAL_FAILURE(r.Click("ButtonRecordLevelOnOff"));
  EXPECT_TRUE(PumpUntil([&] { return r.buffers >= 15; }, 5s)) << r.buffers << " buffers";

  for (Block block : {Block::kRecord, Block::kOptionsCompress, Block::kPlay, Block::kPlayStatus,
                      Block::kSpecials}) {
    window.SetBlockVisible(block, true);
  }
  Pump(300ms);
  const QSize all = window.size();
  const QImage main_all = Screenshot(window, kScreenshots / "recorder_main_all.png");
  EXPECT_GT(DistinctColours(main_all), 20);
  for (const char* block :
       {"PanelRecord", "PanelOptionsCompress", "PanelPlay", "PanelPlayStatus", "PanelSpecials"}) {
    QWidget* widget = r.Find<QWidget>(block);
    ASSERT_NE(widget, nullptr);
    EXPECT_TRUE(widget->isVisible()) << block;
    EXPECT_TRUE(window.rect().contains(QRect(widget->mapTo(&window, QPoint(0, 0)), widget->size())))
        << block << " lies outside the window";
  }

  SoundCardWindow& sound_card = r.sound_card();
  sound_card.move(window.frameGeometry().right() + 30, 20);
  sound_card.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&sound_card, 10000)) << "no sound-card window";
  Pump(500ms);
  const QImage card = Screenshot(sound_card, kScreenshots / "recorder_soundcard_x11.png");
  EXPECT_GT(DistinctColours(card), 10);
  EXPECT_NE(sound_card.Label_In_Count()->text(), QString()) << "no buffer counter";
  EXPECT_TRUE(sound_card.MemoErrors()->toPlainText().isEmpty())
      << sound_card.MemoErrors()->toPlainText().toStdString();
  sound_card.hide();

  ASSERT_NO_FATAL_FAILURE(r.Click("ButtonRecordLevelOnOff"));
  EXPECT_FALSE(r.workflow().state().LevelMeterOn);

  // The optional blocks hidden: the window shrinks to the recording block.
  for (Block block :
       {Block::kOptionsCompress, Block::kPlay, Block::kPlayStatus, Block::kSpecials}) {
    window.SetBlockVisible(block, false);
  }
  Pump(300ms);
  const QImage compact = Screenshot(window, kScreenshots / "recorder_main_compact.png");
  EXPECT_GT(DistinctColours(compact), 20);
  EXPECT_LT(window.height(), all.height()) << "hiding blocks did not shrink the window";
  EXPECT_LT(compact.height(), main_all.height());
  EXPECT_TRUE(r.dialogs.shown.empty()) << DialogTexts(r.dialogs);
}

// The mail program at the PATH boundary: "xdg-mime" knows no mail handler, so the recorder
// falls back to "xdg-email", a script that writes its arguments (separated by NUL) to a log;
// "xdg-open" writes the folder it is asked to show to a log of its own.
class FakeMailProgram {
 public:
  explicit FakeMailProgram(const fs::path& folder)
      : bin_(folder / "bin"), log_(folder / "mail.log"), opened_log_(folder / "opened.log") {
    fs::create_directories(bin_);
    Script("xdg-mime", "exit 0\n");
    Script("xdg-email", "for a in \"$@\"; do printf '%s\\0' \"$a\"; done >> '" + log_.string() +
                            "'\nprintf '\\n' >> '" + log_.string() + "'\n");
    Script("xdg-open", "printf '%s\\n' \"$1\" >> '" + opened_log_.string() + "'\n");
    const char* path = std::getenv("PATH");
    old_path_ = path != nullptr ? path : "";
    setenv("PATH", (bin_.string() + ":" + old_path_).c_str(), 1);
  }
  ~FakeMailProgram() { setenv("PATH", old_path_.c_str(), 1); }

  // The arguments of every call so far.
  std::vector<std::vector<std::string>> Calls() const {
    std::ifstream file(log_, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(file)),
                           std::istreambuf_iterator<char>());
    std::vector<std::vector<std::string>> calls(1);
    std::string argument;
    for (const char c : text) {
      if (c == '\0') {
        calls.back().push_back(argument);
        argument.clear();
      } else if (c == '\n' && argument.empty()) {
        calls.emplace_back();
      } else {
        argument += c;
      }
    }
    calls.pop_back();
    return calls;
  }

  // What xdg-open was asked to show, in order.
  std::vector<std::string> Opened() const {
    std::ifstream file(opened_log_);
    std::vector<std::string> opened;
    for (std::string line; std::getline(file, line);) opened.push_back(line);
    return opened;
  }

 private:
  void Script(const std::string& name, const std::string& body) {
    const fs::path file = bin_ / name;
    std::ofstream(file) << "#!/bin/sh\n" << body;
    fs::permissions(file, fs::perms::owner_all);
  }

  fs::path bin_;
  fs::path log_;
  fs::path opened_log_;
  std::string old_path_;
};

TEST_F(RecorderEndToEnd, TheRoadOfOneMessage) {
  // The recorder starts with a mail text of its own beside it, set to send the message as
  // attachment and MP3 file.
  const std::string mail_text = "Hallo,\r\nhier ist meine Sprachnachricht.\r\n";
  std::ofstream(folder_ / "MailTextMAPI.txt", std::ios::binary) << mail_text;
  std::ofstream(folder_ / "LORIX.INI", std::ios::binary) << "[Options]\r\nAttachmentKind=2\r\n";
  FakeMailProgram mail(folder_);
  recorder_.reset();
  recorder_ = std::make_unique<Recorder>(folder_);
  Recorder& r = *recorder_;
  ASSERT_NO_FATAL_FAILURE(ShowWindow({20, 20}));
  const PcmSound speech = ReadSound(kSpeech);
  const auto message = std::chrono::milliseconds(speech.samples.size() * 1000 / 11025);

  // Record the message (steps 1 and 2) and compress it without listening (step 3).
  r.Find<QCheckBox>("CBAndPlayLRXFile")->click();
  ASSERT_NO_FATAL_FAILURE(r.Click("ButtonRecordLevelOnOff"));
  ASSERT_TRUE(PumpUntil([&] { return r.buffers >= 3; }, 5s));
  ASSERT_NO_FATAL_FAILURE(r.Click("ButtonRecord"));
  {
    ChildProgram paplay("/usr/bin/paplay", folder_, {kSpeech.string()});
    ASSERT_TRUE(PumpUntil([&] { return !paplay.Running(); }, message + 20s));
  }
  Pump(800ms);
  ASSERT_NO_FATAL_FAILURE(r.Click("ButtonComprDecomprAndPlay"));
  ASSERT_TRUE(r.Button("ButtonCreateOpenMail")->isEnabled());
  const std::string offered = r.workflow().state().AttachmentPath;
  EXPECT_EQ(fs::path(offered).parent_path(), r.paths().lorixs_folder);
  EXPECT_EQ(r.workflow().state().AttachmentFileName.rfind("LORIX_", 0), 0u);

  // Step 4 through the real save dialog, keeping the offered name.
  r.chosen_files.push_back(fs::path(offered).filename().string());
  r.dialog_screenshot = kScreenshots / "recorder_save_dialog_x11.png";
  ASSERT_NO_FATAL_FAILURE(r.Click("ButtonCreateOpenMail"));
  ASSERT_EQ(r.file_requests.size(), 1u);
  EXPECT_EQ(r.file_requests[0].file_name, offered);
  ASSERT_TRUE(fs::exists(offered)) << DialogTexts(r.dialogs);
  const std::string mp3 = Mp3PathFor(offered);
  ASSERT_TRUE(fs::exists(mp3)) << DialogTexts(r.dialogs);
  ASSERT_GE(r.dialogs.shown.size(), 2u) << DialogTexts(r.dialogs);
  EXPECT_EQ(r.dialogs.shown.end()[-2].text,
            "Die Dateien \"" + offered + "\" und \"" + mp3 + "\" wurden erstellt!");
  EXPECT_EQ(fs::file_size(offered), fs::file_size(r.paths().player_program) + InfoTextLength() +
                                        r.workflow().CompressedStream().size());
  EXPECT_NE(fs::status(offered).permissions() & fs::perms::owner_exec, fs::perms::none);
  Screenshot(r.window(), kScreenshots / "recorder_main_step4_x11.png");

  // The mail program was asked for a new mail with subject, text and both files.
  ASSERT_TRUE(PumpUntil([&] { return mail.Calls().size() == 1; }, 10s)) << "no mail program";
  const std::string subject =
      "LORIX-Sprachanhang (" +
      std::to_string((fs::file_size(offered) + fs::file_size(mp3)) / 1024 + 1) + " KB) ";
  EXPECT_EQ(mail.Calls()[0], (std::vector<std::string>{"--subject", subject, "--body",
                                                       "Hallo,\nhier ist meine Sprachnachricht.\n",
                                                       "--attach", offered, "--attach", mp3}));
  // xdg-email may leave the file out: the user is told so, and its folder is shown.
  EXPECT_EQ(
      r.dialogs.shown.back().text.rfind("Das Standard-Mail-Programm ist LORIX nicht bekannt", 0),
      0u);
  EXPECT_TRUE(PumpUntil([&] { return !mail.Opened().empty(); }, 5s));
  EXPECT_EQ(mail.Opened(), std::vector<std::string>{r.paths().lorixs_folder.string()});
  EXPECT_EQ(fs::current_path(), folder_) << "the working directory is the program folder again";

  // A phone plays the MP3 file: it is the spoken message as a standard MP3 file, its sound at
  // 3000 bytes a second (plus the tag, the info frame and the encoder's delay and padding).
  const Bytes recording = ReadSound(r.paths().temp_recording).samples;
  const double seconds = static_cast<double>(recording.size()) / 11025;
  EXPECT_NEAR(CountStandardFrames(ReadBytes(mp3), 24) * 576.0 / 16000, seconds, 0.15);
  EXPECT_LE(static_cast<double>(fs::file_size(mp3)), 3000 * seconds + 1000);
  ExpectPlayersTakeMp3(mp3, 24);
  const Bytes heard_mp3 = DecodeMp3(mp3, folder_ / "mp3_decoded.wav");
  EXPECT_NEAR(static_cast<double>(heard_mp3.size()) / 11025, seconds, 0.1);
  EXPECT_GE(DecodedCorrelation(recording, heard_mp3), 0.8);

  // The recipient starts the attachment without an argument (under Wine: it is a Windows
  // program) and hears the message.
  const fs::path recipient = folder_ / "recipient";
  fs::create_directories(recipient);
  const PcmSound decoded = ReadSound(r.paths().temp_compressed);
  const Bytes decoded_file = ReadBytes(r.paths().temp_compressed);
  {
    MonitorRecording heard(folder_ / "recipient_heard.wav");
    ASSERT_TRUE(heard.started());
    ChildProgram player(FindInPath("wine"), recipient, {offered});
    ASSERT_TRUE(player.started());
    // Wine takes a few seconds to start a program.
    for (int i = 0; i < 300 && !fs::exists(recipient / "TEMPs" / "TempWave.wav"); ++i) {
      std::this_thread::sleep_for(100ms);
    }
    for (int i = 0; i < 300 && !SinkStreamIs(false); ++i) std::this_thread::sleep_for(100ms);
    std::this_thread::sleep_for(std::chrono::milliseconds(decoded.samples.size() * 1000 / 11025) +
                                2s);
    heard.Stop();
    EXPECT_TRUE(player.Running()) << "the attachment ended by itself";
  }
  EXPECT_TRUE(fs::exists(recipient / "TEMPs" / "TempWave.wav"));
  // The message was heard: one whole stretch of it in the sink is enough here, as Wine's
  // playback stutters when the machine is busy (how faithfully the Windows player plays is its
  // own tests' business).
  const PcmSound sink = ReadSound(folder_ / "recipient_heard.wav");
  EXPECT_GE(MatchedStretches(decoded.samples, sink.samples, "attachment", 0.8), 1);

  // Back in the recorder: the attachment is loaded, plays its recording and is sent again.
  ASSERT_NO_FATAL_FAILURE(r.Click("ButtonReset"));
  r.window().SetExpertMode(true);
  r.window().SetBlockVisible(Block::kSpecials, true);
  Pump(200ms);
  r.chosen_files.push_back(offered);
  ASSERT_NO_FATAL_FAILURE(r.Click("ButtonLoadLRXFile"));
  EXPECT_EQ(r.workflow().state().LoadedFileKind, LoadedKind::kCompressed);
  EXPECT_EQ(r.Find<QLabel>("LabelLoadedFile")->text().toStdString(), offered);
  EXPECT_TRUE(r.workflow().playback().PlaybackActive());
  EXPECT_TRUE(PumpUntil([&] { return !r.workflow().playback().PlaybackActive(); },
                        std::chrono::milliseconds(decoded.samples.size() * 1000 / 11025) + 10s));
  EXPECT_TRUE(ReadBytes(r.paths().temp_compressed) == decoded_file)
      << "the loaded attachment does not decode to the recording that was sent";
  EXPECT_TRUE(r.Button("ButtonShowMSINFofMail")->isEnabled());
  ASSERT_TRUE(r.Button("ButtonCreateOpenMail")->isEnabled());
  const fs::path again = r.paths().lorixs_folder / "nochmal.EXE";
  r.chosen_files.push_back(again.string());
  ASSERT_NO_FATAL_FAILURE(r.Click("ButtonCreateOpenMail"));
  EXPECT_EQ(ReadBytes(again), ReadBytes(offered)) << "the message sent again differs";
  ASSERT_TRUE(PumpUntil([&] { return mail.Calls().size() == 2; }, 10s));
  EXPECT_EQ(mail.Calls()[1].end()[-3], again.string());
  EXPECT_EQ(mail.Calls()[1].back(), Mp3PathFor(again.string()));
  EXPECT_TRUE(r.sound_card().MemoErrors()->toPlainText().isEmpty());
}

// TEMPs on a small file system of its own (as a nearly full disk) that fills while a recording
// is continued: the stop says so, and step 3 and step 4 still send every second of it. The
// journal stays, since the recording never reached TempRecording.wav.
TEST_F(RecorderEndToEnd, AFullTempsFolderLosesNoSecondOfAContinuedRecording) {
  FakeMailProgram mail(folder_);  // the mail after step 4 opens nothing on the test machine
  recorder_.reset();
  const fs::path temps = RecorderPaths::ForProgramFolder(folder_).temps_folder;
  fs::create_directories(temps);
  // 64 KiB: the first second fits as TempRecording.wav and journal, the whole message does not.
  ASSERT_EQ(::mount("tmpfs", temps.c_str(), "tmpfs", 0, "size=64k,mode=0700"), 0)
      << "mounting a small TEMPs needs root, as the test machines run it";
  struct Unmount {
    fs::path at;
    ~Unmount() { ::umount2(at.c_str(), MNT_DETACH); }
  } unmount{temps};
  recorder_ = std::make_unique<Recorder>(folder_);
  Recorder& r = *recorder_;
  ASSERT_NO_FATAL_FAILURE(ShowWindow({20, 20}));
  const PcmSound speech = ReadSound(kSpeech);
  const auto message = std::chrono::milliseconds(speech.samples.size() * 1000 / 11025);

  r.Find<QCheckBox>("CBAndPlayLRXFile")->click();
  ASSERT_NO_FATAL_FAILURE(r.Click("ButtonRecordLevelOnOff"));
  ASSERT_TRUE(PumpUntil([&] { return r.buffers >= 3; }, 5s));
  ASSERT_NO_FATAL_FAILURE(r.Click("ButtonRecord"));
  ChildProgram paplay("/usr/bin/paplay", folder_, {kSpeech.string()});
  ASSERT_TRUE(paplay.started());
  Pump(1s);
  ASSERT_NO_FATAL_FAILURE(r.Click("ButtonRecord"));  // pause: this part fits
  const std::int32_t first_part = r.workflow().state().SampleCount;
  ASSERT_EQ(fs::file_size(r.paths().temp_recording), 44u + static_cast<unsigned>(first_part));
  EXPECT_TRUE(r.dialogs.shown.empty()) << DialogTexts(r.dialogs);
  ASSERT_NO_FATAL_FAILURE(r.Click("ButtonRecord"));  // continue until the message ends
  ASSERT_TRUE(PumpUntil([&] { return !paplay.Running(); }, message + 20s));
  Pump(800ms);
  ASSERT_NO_FATAL_FAILURE(r.Click("ButtonRecord"));  // stop: TempRecording.wav does not fit
  const std::int32_t samples = r.workflow().state().SampleCount;
  EXPECT_GT(samples - first_part, 11025 * 2);
  ASSERT_EQ(r.dialogs.shown.size(), 1u);
  EXPECT_NE(r.dialogs.shown[0].text.find(r.paths().temp_recording.string()), std::string::npos)
      << r.dialogs.shown[0].text;
  EXPECT_EQ(fs::file_size(r.paths().temp_recording), 44u + static_cast<unsigned>(first_part));

  // Step 3 works from memory (TempCompressed.wav does not fit either, and is reported).
  ASSERT_NO_FATAL_FAILURE(r.Click("ButtonComprDecomprAndPlay"));
  EXPECT_EQ(r.workflow().state().SampleCount, samples);
  EXPECT_EQ(Decompress(r.workflow().CompressedStream(), InitCodecTables()).SampleCount, samples);
  EXPECT_TRUE(fs::exists(JournalPath(temps)));

  // Step 4 writes to LORIXs, which has room: the attachment holds every sample recorded.
  ASSERT_TRUE(r.Button("ButtonCreateOpenMail")->isEnabled()) << DialogTexts(r.dialogs);
  const std::string offered = r.workflow().state().AttachmentPath;
  r.chosen_files.push_back(offered);
  ASSERT_NO_FATAL_FAILURE(r.Click("ButtonCreateOpenMail"));
  ASSERT_TRUE(fs::exists(offered)) << DialogTexts(r.dialogs);
  const DecompressResult sent = Decompress(ReadBytes(offered), InitCodecTables());
  EXPECT_EQ(sent.SampleCount, samples);
  std::printf("recorded %d samples (%d before the pause) with TEMPs full\n", samples, first_part);
  EXPECT_TRUE(fs::exists(JournalPath(temps)));
  r.window().close();
  Pump(300ms);
}

// The program itself, as a user starts it, killed with SIGKILL a second after a spoken message
// and started again: the question comes as a window of its own, Return restores the recording,
// space compresses it, and TempRecording.wav holds the message up to at most a second before
// the kill. Closed normally afterwards, nothing is left to offer.
TEST(RecorderKilled, TheRecordingIsRestoredAtTheNextStart) {
  const char* rig = std::getenv("LORIX_AUDIO_RIG");
  ASSERT_TRUE(rig && std::string(rig) == "1") << "not started by the test rig";
  const fs::path folder = fs::temp_directory_path() / ("lorix_killed_" + std::to_string(getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder);
  const fs::path program = folder / "Lorix";
  fs::copy_file(kTool.parent_path() / "Lorix", program);
  fs::copy_file(kPlayer, folder / "LorixPlayer.exe");
  std::ofstream(folder / "LORIX.INI") << "[Options]\n";  // no "nicht gefunden" box at start
  const fs::path temps = folder / "TEMPs";
  // The first four and a half seconds of the spoken message, a sentence of their own.
  Bytes sentence = ReadSound(kSpeech).samples;
  sentence.resize(4 * 11025 + 11025 / 2);
  const WavHeader header = BuildMonoWavHeader(static_cast<std::int32_t>(sentence.size()), 11025);
  std::ofstream(folder / "sentence.wav", std::ios::binary)
      .write(reinterpret_cast<const char*>(header.data()), header.size())
      .write(reinterpret_cast<const char*>(sentence.data()),
             static_cast<std::streamsize>(sentence.size()));
  X11Windows x11;
  ASSERT_TRUE(x11.connected());
  const auto key = [](unsigned long window, const char* name) {
    EXPECT_EQ(RunAndCapture(
                  {"xdotool", "windowfocus", "--sync", std::to_string(window), "key", name}, 10s)
                  .exit_status,
              0)
        << name;
  };
  const auto main_window = [&x11] {
    const auto found = x11.WaitFor("Lorix V.", true, 15s);
    return found.empty() ? 0UL : found.front();
  };
  const auto wait = [](const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    return WaitUntil(done, timeout, [] { std::this_thread::sleep_for(20ms); });
  };

  Clock::time_point recording_from;
  Clock::time_point killed_at;
  {
    ChildProgram recorder(program, folder);
    const unsigned long window = main_window();
    ASSERT_NE(window, 0UL) << "the recorder's window does not appear";
    std::this_thread::sleep_for(1s);  // the start-up's settings and mixer
    ASSERT_TRUE(x11.Find("LORIX").empty()) << "a message box at start";
    key(window, "space");                 // level display
    std::this_thread::sleep_for(2500ms);  // as a user waits for the meter to move
    key(window, "space");                 // record
    recording_from = Clock::now();
    ASSERT_TRUE(wait([&] { return fs::exists(temps / "TempRecording.journal"); }, 5s))
        << "the recording did not start";
    ChildProgram paplay("/usr/bin/paplay", folder, {(folder / "sentence.wav").string()});
    ASSERT_TRUE(wait([&] { return !paplay.Running(); }, 30s)) << "paplay does not end";
    std::this_thread::sleep_for(1s);
    recorder.Signal(SIGKILL);
    killed_at = Clock::now();
    ASSERT_EQ(recorder.WaitForExit(5s), -1);
  }
  ASSERT_FALSE(fs::exists(temps / "TempRecording.wav")) << "nothing was saved before the kill";

  {
    ChildProgram recorder(program, folder);
    const auto question = x11.WaitFor("LORIX", false, 15s);
    ASSERT_EQ(question.size(), 1U) << "no question at the start after the kill";
    fs::create_directories(kScreenshots);
    RunAndCapture({"import", "-window", std::to_string(question.front()),
                   (kScreenshots / "recorder_restore_question.png").string()},
                  20s);
    key(question.front(), "Return");
    const unsigned long window = main_window();
    ASSERT_NE(window, 0UL);
    ASSERT_TRUE(wait([&] { return fs::exists(temps / "TempRecording.wav"); }, 10s))
        << "Ja did not restore the recording";
    key(window, "space");  // step 3
    ASSERT_TRUE(wait([&] { return fs::exists(temps / "TempCompressed.wav"); }, 10s))
        << "space did not compress the restored recording";

    const PcmSound restored = ReadSound(temps / "TempRecording.wav");
    const double recorded_s = static_cast<double>(restored.samples.size()) / 11025;
    const double until_kill_s = std::chrono::duration<double>(killed_at - recording_from).count();
    std::printf("recorded until the kill %.2f s, restored %.2f s\n", until_kill_s, recorded_s);
    EXPECT_GE(recorded_s, until_kill_s - 1.0);
    const std::size_t n = sentence.size();
    for (const std::size_t start : {n / 4, n / 2, n - kStretch}) {
      const auto begin = sentence.begin() + static_cast<std::ptrdiff_t>(start);
      const double correlation = BestCorrelation(Bytes(begin, begin + kStretch), restored.samples);
      std::printf("restored: correlation of the stretch at %zu: %.3f\n", start, correlation);
      EXPECT_GE(correlation, 0.8) << start;
    }

    // A normal close (the reset question answered with OK) leaves nothing to restore.
    x11.RequestClose(window);
    const auto reset_question = x11.WaitFor("LORIX", false, 10s);
    ASSERT_EQ(reset_question.size(), 1U) << "no reset question at close";
    key(reset_question.front(), "Return");
    EXPECT_EQ(recorder.WaitForExit(10s), 0);
    EXPECT_FALSE(fs::exists(temps / "TempRecording.journal"));
  }
  fs::remove_all(folder);
}

}  // namespace
}  // namespace lorix::testing
