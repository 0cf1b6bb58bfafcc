#include "recorder/window/main_window.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QToolTip>
#include <cmath>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "audio/manual_playback_backend.h"
#include "audio/mci_service.h"
#include "audio/scripted_capture_backend.h"
#include "codec/file_io.h"
#include "codec/version.h"
#include "codec/wav_header.h"
#include "recorder/recording_journal.h"
#include "recorder/window/db_meter_widget.h"
#include "recorder/window/main_window_paint.h"
#include "tests/recorder/main_window_fixture.h"
#include "tests/support/qt_run_until.h"
#include "tests/support/recording_dialogs.h"

namespace lorix {
namespace {

namespace fs = std::filesystem;
using testing::EnsureApplication;
using testing::Tone;

class MainWindowTest : public testing::MainWindowFixture {
 protected:
  // Shows the window and lets its first activation run.
  void Start() {
    window_->show();
    QCoreApplication::processEvents();
    ASSERT_TRUE(window_->AppStarted());
  }

  StepTip* Tip(const char* name) const { return Find<StepTip>(name); }
  QString Text(const char* label) const { return Find<QLabel>(label)->text(); }

  static void ClickTip(StepTip* tip) {
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(2, 2), tip->mapToGlobal(QPointF(2, 2)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(tip, &press);
  }
};

TEST_F(MainWindowTest, StartStateShowsStepsOneAndTwoOpen) {
  Create();
  Start();
  const QString title = QStringLiteral("LORIX V.%1.%2").arg(kVersionMajor).arg(kVersionMinor);
  EXPECT_EQ(Text("PanelTitle"), title);
  EXPECT_EQ(window_->windowTitle(),
            title + QStringLiteral("  (Build ") + QString::fromLatin1(kFileVersion) + ")");

  EXPECT_TRUE(Button("ButtonRecordLevelOnOff")->isEnabled());
  EXPECT_FALSE(Button("ButtonRecordLevelOnOff")->isChecked());
  EXPECT_EQ(Button("ButtonRecordLevelOnOff")->toolTip(),
            "1. Aufnahme-Pegel einstellen: Peaks bis etwa zum Anfang des Rot-Bereiches");
  EXPECT_TRUE(Button("ButtonRecord")->isEnabled());
  EXPECT_EQ(Button("ButtonRecord")->text(), "&2. Neu\naufnehmen ");
  EXPECT_FALSE(Button("ButtonComprDecomprAndPlay")->isEnabled());
  EXPECT_EQ(Button("ButtonComprDecomprAndPlay")->text(), "&3. Komprimieren\nund anhören");
  EXPECT_FALSE(Button("ButtonCreateOpenMail")->isEnabled());
  EXPECT_EQ(Button("ButtonCreateOpenMail")->text(), "&4. Fertigstellen ");
  EXPECT_EQ(Button("ButtonReset")->text(), "Aufnahme \n&zurücksetzen");
  EXPECT_FALSE(Button("ButtonReset")->isEnabled());

  const QColor open = QPalette().color(QPalette::ToolTipBase);
  EXPECT_EQ(Tip("PanelTipRecordLevelOnOff")->Colour(), open);
  EXPECT_EQ(Tip("PanelTipRecord")->Colour(), open);
  EXPECT_EQ(Tip("PanelTipComprDecomprAndPlay")->Colour(), QColor(128, 128, 128));
  EXPECT_EQ(Tip("PanelTipCreateOpenMail")->Colour(), QColor(128, 128, 128));
  EXPECT_EQ(Tip("PanelTipCreateOpenMail")->text(), "4.");

  EXPECT_TRUE(Find<QCheckBox>("CBAndPlayLRXFile")->isChecked());
  EXPECT_EQ(Text("LabelRecordedWAV_File"), "(-)");
  EXPECT_EQ(Text("PanelBottom"), "ok.");
  EXPECT_EQ(Text("LabelMutePercent"), "(wenn unter  9%  Aussteuerung)");
  EXPECT_EQ(Find<QSlider>("TBCompressLevel")->value(), 3);
  EXPECT_EQ(Text("LabelQuality"), "5");
  EXPECT_TRUE(dialogs_.shown.empty());
}

TEST_F(MainWindowTest, HintsAppearAtOnceAndStayThirtySeconds) {
  Create();
  Start();
  window_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  // Far sooner than the toolkit's own pause of 700 ms.
  for (QWidget* control : {static_cast<QWidget*>(Button("ButtonCreateOpenMail")),
                           static_cast<QWidget*>(Find<QCheckBox>("CBMikeToOutEnabled"))}) {
    QTest::mouseMove(control);
    EXPECT_TRUE(testing::RunUntil(
        [control] { return QToolTip::isVisible() && QToolTip::text() == control->toolTip(); }, 300))
        << control->objectName().toStdString();
  }
  // The toolkit's own hints are gone after ten seconds.
  QTest::qWait(11000);
  EXPECT_TRUE(QToolTip::isVisible());
  QToolTip::hideText();
}

TEST_F(MainWindowTest, BlocksStandInOrderWithTheOptionalOnesHidden) {
  Create();
  Start();
  for (const char* hidden : {"PanelOptionsCompress", "PanelPlayStatus", "PanelSpecials",
                             "PanelWait", "PanelScrollBarMikeOut", "PanelExpertButtons"}) {
    EXPECT_TRUE(Find<QWidget>(hidden)->isHidden()) << hidden;
  }
  for (Block block : {Block::kOptionsCompress, Block::kPlayStatus, Block::kSpecials}) {
    window_->SetBlockVisible(block, true);
  }
  int previous_bottom = Find<QWidget>("PanelTitle")->geometry().bottom();
  const QWidget* client = Find<QWidget>("PanelClient");
  for (const char* name :
       {"PanelRecord", "PanelOptionsCompress", "PanelPlay", "PanelPlayStatus", "PanelSpecials"}) {
    const QWidget* block = Find<QWidget>(name);
    const int top = block->mapTo(window_.get(), QPoint(0, 0)).y();
    EXPECT_GT(top, previous_bottom) << name;
    previous_bottom = top + block->height();
    EXPECT_EQ(block->parentWidget(), client) << name;
  }
  EXPECT_GT(Find<QWidget>("PanelBottom")->mapTo(window_.get(), QPoint(0, 0)).y(), previous_bottom);

  // The volume sliders run 0..1000 with 0 at the top.
  for (const char* name : {"ScrollBarRecordLevel", "ScrollBarMikeOut", "ScrollbarVolWaveout",
                           "ScrollBarVolSpeakers"}) {
    const QSlider* slider = Find<QSlider>(name);
    EXPECT_EQ(slider->orientation(), Qt::Vertical) << name;
    EXPECT_EQ(slider->maximum(), 1000) << name;
    EXPECT_TRUE(slider->invertedAppearance()) << name;
  }
  EXPECT_EQ(Find<QSlider>("ScrollbarPlay")->maximum(), 1000);
}

TEST_F(MainWindowTest, HidingABlockShrinksTheWindowAndShowingItGrowsIt) {
  Create();
  Start();
  const int full = window_->height();
  const int play = Find<QWidget>("PanelPlay")->height();
  window_->SetBlockVisible(Block::kPlay, false);
  EXPECT_FALSE(window_->BlockVisible(Block::kPlay));
  EXPECT_LE(window_->height(), full - play);

  window_->SetBlockVisible(Block::kOptionsCompress, true);
  QCoreApplication::processEvents();
  const int with_compress = window_->height();
  EXPECT_GT(with_compress, full - play);
  window_->SetBlockVisible(Block::kPlay, true);
  QCoreApplication::processEvents();
  EXPECT_GT(window_->height(), with_compress);

  // All blocks hidden: the title and the status panel remain.
  for (Block block : {Block::kRecord, Block::kOptionsCompress, Block::kPlay}) {
    window_->SetBlockVisible(block, false);
  }
  EXPECT_LT(window_->height(), window_->menuBar()->height() +
                                   Find<QWidget>("PanelTitle")->height() +
                                   Find<QWidget>("PanelBottom")->height() + 20);
}

TEST_F(MainWindowTest, StepOneSwitchesTheLevelDisplayOnAndOff) {
  Create();
  Start();
  QPushButton* step1 = Button("ButtonRecordLevelOnOff");
  step1->click();
  EXPECT_TRUE(capture_->started());
  EXPECT_TRUE(step1->isChecked());
  EXPECT_EQ(step1->toolTip(), "1. Pegel-Anzeige wieder ausschalten!");
  EXPECT_FALSE(Button("ButtonComprDecomprAndPlay")->isEnabled());
  EXPECT_EQ(Tip("PanelTipComprDecomprAndPlay")->Colour(), QColor(128, 128, 128));

  // The device's buffers move the meter at once.
  Capture(2);
  DbMeterWidget* meter = Find<DbMeterWidget>("DbMeterRecordLevel");
  EXPECT_GT(meter->Position(), 0);
  EXPECT_EQ(meter->Position(), window_->workflow().controls().DbMeterRecordLevel);

  // A file handed over now is refused.
  EXPECT_FALSE(window_->workflow().AddMoreToList("/tmp/x.wav"));
  ASSERT_EQ(dialogs_.shown.size(), 1U);

  // The step 1 tip acts like the button: the display goes off again.
  ClickTip(Tip("PanelTipRecordLevelOnOff"));
  queue_.RunPending();
  EXPECT_FALSE(step1->isChecked());
  EXPECT_EQ(meter->Position(), 0);
  EXPECT_EQ(step1->toolTip(),
            "1. Aufnahme-Pegel einstellen: Peaks bis etwa zum Anfang des Rot-Bereiches");
}

TEST_F(MainWindowTest, RecordingPressesOnlyStepTwoAndPauseOpensStepThree) {
  Create();
  Start();
  QPushButton* step1 = Button("ButtonRecordLevelOnOff");
  QPushButton* step2 = Button("ButtonRecord");
  step1->click();
  step2->click();
  EXPECT_TRUE(step2->isChecked());
  EXPECT_FALSE(step1->isChecked());  // one group: at most one shown pressed
  EXPECT_FALSE(step1->isEnabled());
  EXPECT_EQ(step2->text(), "&2.  PAUSE \n    / STOP    ");
  EXPECT_TRUE(Button("ButtonComprDecomprAndPlay")->isEnabled());
  Capture(10);
  EXPECT_EQ(Text("LabelSmpsRecorded"),
            QString::fromStdString(window_->workflow().controls().LabelSmpsRecorded));
  EXPECT_TRUE(Text("LabelKBExpectedLRX").contains("ca."));

  step2->click();
  queue_.RunPending();
  EXPECT_FALSE(step2->isChecked());
  EXPECT_FALSE(step1->isChecked());
  EXPECT_TRUE(step1->isEnabled());
  EXPECT_EQ(step2->text(), "&2. Weiter\naufnehmen");
  EXPECT_TRUE(Button("ButtonComprDecomprAndPlay")->isEnabled());
  EXPECT_TRUE(Button("ButtonReset")->isEnabled());
  EXPECT_TRUE(Button("ButtonAndPlayOrig")->isEnabled());
  EXPECT_EQ(Text("LabelRecordedWAV_File"), QString::fromStdString(paths_.temp_recording.string()));
  EXPECT_TRUE(fs::exists(paths_.temp_recording));
}

TEST_F(MainWindowTest, StepThreeCompressesShowsTheWaitPanelAndPlays) {
  Create();
  Start();
  int wait_visible = 0;
  // PanelWait is shown and repainted before the long work: count its paints.
  struct PaintCounter : QObject {
    int* count;
    explicit PaintCounter(int* c) : count(c) {}
    bool eventFilter(QObject*, QEvent* event) override {
      if (event->type() == QEvent::Paint) ++*count;
      return false;
    }
  } counter(&wait_visible);
  QWidget* wait = Find<QWidget>("PanelWait");
  wait->installEventFilter(&counter);

  Button("ButtonRecord")->click();
  Capture(12);
  Button("ButtonComprDecomprAndPlay")->click();  // stops the recording first
  queue_.RunPending();
  EXPECT_GE(wait_visible, 2);
  EXPECT_TRUE(wait->isHidden());
  EXPECT_FALSE(window_->workflow().CompressedStream().empty());
  EXPECT_EQ(Button("ButtonComprDecomprAndPlay")->text(), "&3. STOP Wiederg.!");
  EXPECT_TRUE(Button("ButtonPlay")->isChecked());
  EXPECT_TRUE(Button("ButtonStop")->isEnabled());
  EXPECT_TRUE(
      Text("LabelPlayFile").startsWith(QString::fromStdString(paths_.temp_compressed.string())));
  // Step 4 waits for the attachment builder: no attachment name yet.
  EXPECT_FALSE(Button("ButtonCreateOpenMail")->isEnabled());

  Button("ButtonStop")->click();
  EXPECT_FALSE(Button("ButtonPlay")->isChecked());
  EXPECT_TRUE(Text("LabelPlayStatus").startsWith("gestoppt nach "));
  EXPECT_EQ(Button("ButtonComprDecomprAndPlay")->text(), "&3. Komprimieren\nund anhören");
}

TEST_F(MainWindowTest, CompressionSlidersRunTheirHandlers) {
  Create();
  Start();
  Find<QSlider>("TBCompressLevel")->setValue(8);
  EXPECT_EQ(Text("LabelCompressLevel"), "8");
  EXPECT_EQ(Text("LabelQuality"), "0");
  EXPECT_EQ(window_->workflow().state().CompressLevel, 8);
  Find<QSlider>("TBMuteLevel")->setValue(8);
  EXPECT_EQ(Text("LabelMutePercent"), "(wenn unter  100%  Aussteuerung)");
  EXPECT_EQ(window_->workflow().state().MuteHigh, 16);

  Find<QCheckBox>("CBAndPlayLRXFile")->click();
  EXPECT_FALSE(window_->workflow().controls().CBAndPlayLRXFile);
  EXPECT_EQ(Button("ButtonComprDecomprAndPlay")->toolTip(), "3. Komprimieren");
}

TEST_F(MainWindowTest, SettingsAreAppliedAtFirstShowAndWrittenAtClose) {
  const fs::path ini = folder_ / "Lorix.INI";
  {
    std::ofstream file(ini);
    file << "[WindowStart]\r\nShowOptionsCompress=1\r\nShowPlay=0\r\n"
            "[Options]\r\nCompressLevel=6\r\nAndPlayLRXFile=0\r\n";
  }
  Create(ini);
  Start();
  EXPECT_TRUE(window_->BlockVisible(Block::kOptionsCompress));
  EXPECT_FALSE(window_->BlockVisible(Block::kPlay));
  EXPECT_EQ(Find<QSlider>("TBCompressLevel")->value(), 6);
  EXPECT_EQ(Text("LabelQuality"), "2");
  EXPECT_FALSE(Find<QCheckBox>("CBAndPlayLRXFile")->isChecked());

  window_->SetBlockVisible(Block::kSpecials, true);
  Find<QSlider>("TBMuteLevel")->setValue(2);
  EXPECT_TRUE(window_->close());
  std::ifstream file(ini);
  std::stringstream text;
  text << file.rdbuf();
  EXPECT_NE(text.str().find("ShowSpecials=1"), std::string::npos) << text.str();
  EXPECT_NE(text.str().find("ShowPlay=0"), std::string::npos);
  EXPECT_NE(text.str().find("MuteLevel=2"), std::string::npos);
  EXPECT_NE(text.str().find("CompressLevel=6"), std::string::npos);
}

TEST_F(MainWindowTest, ClosingAsksBeforeAStoppedRecordingIsLost) {
  const fs::path ini = folder_ / "Lorix.INI";
  Create(ini);
  Start();
  Button("ButtonRecord")->click();
  Capture(3);
  Button("ButtonRecord")->click();
  queue_.RunPending();
  dialogs_.answers.push_back(DialogAnswer::kCancel);
  EXPECT_FALSE(window_->close());
  ASSERT_EQ(dialogs_.shown.size(), 1U);
  EXPECT_EQ(dialogs_.shown[0].text, "Die letzte Aufnahme löschen?");
  EXPECT_FALSE(fs::exists(ini));  // nothing saved after a refusal

  EXPECT_TRUE(window_->close());  // OK this time
  EXPECT_TRUE(fs::exists(ini));
  EXPECT_EQ(dialogs_.shown.back().text,
            "Ini-Datei \"" + ini.string() + "\" nicht gefunden - Neu angelegt !!");
}

// A recording a crash left behind is offered after the settings and before the command line,
// whose file then finds the buffer taken.
TEST_F(MainWindowTest, AnUnfinishedRecordingIsOfferedBeforeTheCommandLine) {
  const std::vector<std::uint8_t> tone = Tone(22050);
  Bytes journal = JournalHeaderBytes({11025, std::time(nullptr), 0});
  AppendBytes(journal, JournalChunk(tone));
  WriteFileAtomically(JournalPath(paths_.temps_folder), journal);
  Create();
  window_->SetCommandLine({QString::fromStdString((folder_ / "gruss.wav").string())},
                          QString::fromStdString(folder_.string()));
  Start();

  ASSERT_EQ(dialogs_.shown.size(), 2U);
  EXPECT_EQ(dialogs_.shown[0].buttons, DialogButtons::kYesNo);
  EXPECT_TRUE(dialogs_.shown[0].text.ends_with("(0:02 Min.) wurde gefunden. Wiederherstellen?"));
  EXPECT_EQ(dialogs_.shown[1].text.rfind("Der Aufnahme-Puffer ist nicht leer", 0), 0U);
  EXPECT_EQ(window_->workflow().state().SampleCount, 22050);
  EXPECT_TRUE(Button("ButtonRecord")->text().contains(QStringLiteral("Weiter")));
  EXPECT_TRUE(Button("ButtonComprDecomprAndPlay")->isEnabled());
}

TEST_F(MainWindowTest, CommandLineSwitchesExpertModeAndHandsOverFiles) {
  // A relative path names a file in the folder the program was started in, which is not the
  // working folder of the running program.
  const fs::path start_folder = folder_ / "start";
  fs::create_directories(start_folder);
  const std::vector<std::uint8_t> samples = Tone(2000);
  const WavHeader header = BuildMonoWavHeader(static_cast<std::int32_t>(samples.size()), 11025);
  std::ofstream wav(start_folder / "gruss.wav", std::ios::binary);
  wav.write(reinterpret_cast<const char*>(header.data()),
            static_cast<std::streamsize>(header.size()));
  wav.write(reinterpret_cast<const char*>(samples.data()),
            static_cast<std::streamsize>(samples.size()));
  wav.close();
  ASSERT_NE(fs::current_path(), start_folder);

  Create();
  window_->SetCommandLine({"/x", "/X", "/data/Gruss.wav.bak", "gruss.wav"},
                          QString::fromStdString(start_folder.string()));
  Start();
  EXPECT_TRUE(window_->ExpertMode());
  ASSERT_EQ(dialogs_.shown.size(), 2U);  // the second "/X" says nothing
  EXPECT_EQ(dialogs_.shown[0].text, "Setze Expertenmodus auf EIN !");
  // The first file is loaded as a WAV file; this one does not exist.
  EXPECT_EQ(dialogs_.shown[1].icon, DialogIcon::kError);
  EXPECT_NE(dialogs_.shown[1].text.find("\"/data/Gruss.wav.bak\" kann nicht gelesen werden"),
            std::string::npos)
      << dialogs_.shown[1].text;
  // The last one is, and stays loaded.
  const std::string gruss = (start_folder / "gruss.wav").string();
  EXPECT_EQ(window_->windowTitle().toStdString(), gruss);
  EXPECT_EQ(window_->workflow().state().LoadedFileKind, LoadedKind::kRecording);
  EXPECT_EQ(window_->workflow().controls().LabelLoadedFile, gruss);
  window_->SetBlockVisible(Block::kSpecials, true);
  EXPECT_FALSE(Find<QWidget>("PanelExpertButtons")->isHidden());

  window_->SetExpertMode(false);
  EXPECT_EQ(dialogs_.shown.back().text, "Setze Expertenmodus auf AUS !");
  EXPECT_TRUE(Find<QWidget>("PanelExpertButtons")->isHidden());
}

TEST_F(MainWindowTest, SecondStartShowsTheFirstInstanceMessage) {
  Create();
  Start();
  window_->WMSecondInstance({});
  ASSERT_EQ(dialogs_.shown.size(), 1U);
  EXPECT_EQ(dialogs_.shown[0].text,
            "Programm \"LORIX\" wurde schon gestartet! Erst-Instanz aktiviert!");
}

// Where only a launcher's token brings a window forward (Wayland), the token of the second
// start is used for this window, and without one the box claims no activation.
TEST_F(MainWindowTest, SecondStartWithoutATokenDoesNotClaimTheActivation) {
  std::vector<std::pair<QWidget*, QString>> asked;
  window_system_.bring_to_front = [&asked](QWidget* window, const QString& token) {
    asked.emplace_back(window, token);
    return !token.isEmpty();
  };
  Create();
  Start();
  window_->WMSecondInstance(QStringLiteral("d00f5e0c9a3b4b7e"));
  window_->WMSecondInstance({});
  ASSERT_EQ(asked.size(), 2U);
  EXPECT_EQ(asked[0].first, window_.get());
  EXPECT_EQ(asked[0].second, QStringLiteral("d00f5e0c9a3b4b7e"));
  ASSERT_EQ(dialogs_.shown.size(), 2U);
  EXPECT_EQ(dialogs_.shown[0].text,
            "Programm \"LORIX\" wurde schon gestartet! Erst-Instanz aktiviert!");
  EXPECT_EQ(dialogs_.shown[1].text,
            "Programm \"LORIX\" wurde schon gestartet! Dies ist die Erst-Instanz.");
}

// Every block shown, in expert mode, during a recording: the picture in the build folder.
TEST_F(MainWindowTest, ScreenshotWithAllBlocks) {
  Create();
  Start();
  for (Block block : {Block::kOptionsCompress, Block::kPlayStatus, Block::kSpecials}) {
    window_->SetBlockVisible(block, true);
  }
  window_->SetExpertMode(true);
  Button("ButtonRecord")->click();
  Capture(20);
  QCoreApplication::processEvents();
  fs::create_directories(LORIX_SCREENSHOT_DIR);
  const QString file = QStringLiteral(LORIX_SCREENSHOT_DIR "/recorder_main.png");
  const QPixmap picture = window_->grab();
  EXPECT_EQ(picture.size(), window_->size());
  ASSERT_TRUE(picture.save(file));
  EXPECT_TRUE(fs::file_size(file.toStdString()) > 1000);
}

}  // namespace
}  // namespace lorix
