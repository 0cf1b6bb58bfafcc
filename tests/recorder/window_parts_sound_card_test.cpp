#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <chrono>
#include <vector>

#include "audio/recording_engine.h"
#include "audio/scripted_capture_backend.h"
#include "recorder/window/qt_ui_thread.h"
#include "recorder/window/sound_card_window.h"
#include "tests/support/qt_run_until.h"
#include "tests/support/recording_dialogs.h"

namespace {

using lorix::testing::RunUntil;

std::chrono::system_clock::time_point FixedTime() {
  return std::chrono::system_clock::from_time_t(1700000000);
}

QStringList MemoLines(const SoundCardWindow& window) {
  const QString text = window.MemoErrors()->toPlainText();
  return text.isEmpty() ? QStringList{} : text.split(QLatin1Char('\n'));
}

void DoubleClick(QWidget* widget) {
  const QPointF at(5, 5);
  QMouseEvent event(QEvent::MouseButtonDblClick, at, widget->mapToGlobal(at), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
}

// The engine on a scripted device, its buffers handed over through the Qt event loop.
class SoundCardWindowTest : public ::testing::Test {
 protected:
  QObject ui_context_;
  lorix::ScriptedCaptureBackend backend_{std::vector<std::uint8_t>(5000, 200)};
  lorix::testing::RecordingDialogs dialogs_;
  lorix::RecordingEngine engine_{backend_, lorix::QtPoster(&ui_context_), dialogs_, FixedTime};
};

TEST_F(SoundCardWindowTest, ShowsTheFormAsDesigned) {
  SoundCardWindow window(engine_);
  EXPECT_EQ(window.windowTitle(), "FormLorixSK");
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(window.Label_In_Count()->text(), "0");
  EXPECT_TRUE(window.Label_In_Count()->font().bold());
  EXPECT_EQ(window.LabelWaveFormat()->text(), "(-)");
  EXPECT_EQ(window.ButtonStart()->text(), "Start SK");
  EXPECT_EQ(window.CBShowWaveErrors()->text(),
            QString::fromUtf8("Soundkarten-Fehler:             zusätzlich melden:"));
  EXPECT_FALSE(window.CBShowWaveErrors()->isChecked());
  EXPECT_TRUE(window.MemoErrors()->isReadOnly());
  EXPECT_EQ(window.MemoErrors()->toolTip(), QString::fromUtf8("Löschen mit Doppelklick!"));
  EXPECT_TRUE(MemoLines(window).isEmpty());
}

TEST_F(SoundCardWindowTest, StartButtonRunsTheEngineAndTheCountersFollow) {
  SoundCardWindow window(engine_);
  window.ButtonStart()->click();
  EXPECT_TRUE(backend_.started());
  EXPECT_EQ(window.ButtonStart()->text(), "Stop SK");
  EXPECT_EQ(window.LabelWaveFormat()->text(), "(Format: 8 Bit Mono)");
  EXPECT_EQ(window.Label_In_Count()->text(), "wiOpen done ...");

  std::int32_t sink_calls = 0;
  engine_.OnSoundData = [&sink_calls](const std::uint8_t*, std::int32_t) { ++sink_calls; };
  ASSERT_EQ(backend_.DeliverFromThread(3), 3);
  ASSERT_TRUE(RunUntil([&sink_calls] { return sink_calls == 3; }));
  // Each returned buffer shows the count before its replacement is queued.
  EXPECT_EQ(window.Label_In_Count()->text(), "19");

  window.ButtonStart()->click();
  EXPECT_EQ(window.ButtonStart()->text(), "Start SK");
  ASSERT_TRUE(RunUntil([this] { return !backend_.is_open(); }));
  EXPECT_EQ(window.Label_In_Count()->text(), "0");
  EXPECT_EQ(sink_calls, 3);
}

TEST_F(SoundCardWindowTest, ErrorMemoShowsTheLogAndDoubleClickClearsIt) {
  SoundCardWindow window(engine_);
  backend_.open_result = lorix::kWaveAllocated;
  window.ButtonStart()->click();
  EXPECT_EQ(window.ButtonStart()->text(), "Start SK");
  ASSERT_EQ(dialogs_.shown.size(), 1u);
  QStringList lines = MemoLines(window);
  ASSERT_EQ(lines.size(), 1);
  EXPECT_EQ(lines[0].toStdString(), dialogs_.shown[0].text);
  EXPECT_TRUE(lines[0].startsWith("(1)  "));
  EXPECT_TRUE(lines[0].endsWith(" :  Problem creating record handle:  device already allocated"));

  DoubleClick(window.MemoErrors()->viewport());
  EXPECT_TRUE(MemoLines(window).isEmpty());
  window.Refresh();
  EXPECT_TRUE(MemoLines(window).isEmpty());

  // Numbers go on where they were; only the new line shows.
  window.ButtonStart()->click();
  lines = MemoLines(window);
  ASSERT_EQ(lines.size(), 1);
  EXPECT_TRUE(lines[0].startsWith("(2)  "));
}

TEST_F(SoundCardWindowTest, MemoKeepsTheLastHundredLines) {
  SoundCardWindow window(engine_);
  for (int i = 0; i < 105; ++i) engine_.AddErrorLine("Fehler", false);
  window.Refresh();
  const QStringList lines = MemoLines(window);
  ASSERT_EQ(lines.size(), 100);
  EXPECT_TRUE(lines.front().startsWith("(6)  "));
  EXPECT_TRUE(lines.back().startsWith("(105)  "));
}

TEST_F(SoundCardWindowTest, ErrorLinesShowAtOnce) {
  SoundCardWindow window(engine_);
  window.show();
  engine_.AddErrorLine("Fehler 11 in \"WaveInAddBuffer\" !", false);
  EXPECT_EQ(MemoLines(window).size(), 1);
  EXPECT_TRUE(dialogs_.shown.empty());
}

TEST_F(SoundCardWindowTest, CheckBoxDecidesWhetherMinorErrorsPopUp) {
  SoundCardWindow window(engine_);
  window.CBShowWaveErrors()->click();
  EXPECT_TRUE(engine_.error_log().CBShowWaveErrors);
  engine_.AddErrorLine("Fehler", false);
  EXPECT_EQ(dialogs_.shown.size(), 1u);
  window.CBShowWaveErrors()->click();
  EXPECT_FALSE(engine_.error_log().CBShowWaveErrors);
  engine_.AddErrorLine("Fehler", false);
  EXPECT_EQ(dialogs_.shown.size(), 1u);
}

TEST_F(SoundCardWindowTest, KeepsAnEarlierTextHandlerAndHandsItBack) {
  int earlier = 0;
  engine_.OnTextsChanged = [&earlier] { ++earlier; };
  {
    SoundCardWindow window(engine_);
    window.ButtonStart()->click();
    EXPECT_GT(earlier, 0);
    EXPECT_EQ(window.ButtonStart()->text(), "Stop SK");
  }
  ASSERT_TRUE(engine_.OnTextsChanged);
  // The stopped device's buffers come back and change the counter text.
  const int before = earlier;
  engine_.StopSK();
  EXPECT_TRUE(RunUntil([&earlier, before] { return earlier > before; }));
}

TEST_F(SoundCardWindowTest, Screenshot) {
  SoundCardWindow window(engine_);
  window.ButtonStart()->click();
  ASSERT_EQ(backend_.Deliver(2), 2);
  ASSERT_TRUE(RunUntil([&window] { return window.Label_In_Count()->text() == "19"; }));
  engine_.AddErrorLine("Fehler 11 in \"WaveInAddBuffer\" !", false);
  window.show();
  ASSERT_TRUE(RunUntil([&window] { return MemoLines(window).size() == 1; }));
  const QString folder = QStringLiteral(LORIX_SCREENSHOT_DIR);
  ASSERT_TRUE(QDir().mkpath(folder));
  const QImage image = window.grab().toImage();
  EXPECT_FALSE(image.isNull());
  EXPECT_TRUE(image.save(QDir(folder).filePath("recorder_soundcard.png")));
  engine_.StopSK();
}

}  // namespace
