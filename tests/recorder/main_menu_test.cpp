// The main window's menu bar, keys and close sequence on Qt's offscreen platform, with a scripted
// capture device and a playback that only runs when told.

#include <gtest/gtest.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "audio/manual_playback_backend.h"
#include "audio/mci_service.h"
#include "audio/scripted_capture_backend.h"
#include "recorder/help_page.h"
#include "recorder/space_walk.h"
#include "recorder/window/main_menu.h"
#include "recorder/window/main_window.h"
#include "tests/recorder/main_window_fixture.h"
#include "tests/support/recording_dialogs.h"

namespace lorix {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

// ---------------------------------------------------------------------------------------------
// The decisions without a window.

TEST(SpaceBarStepTest, TakesTheFirstOpenStepInTheOrderFourThreeTwoOne) {
  RecorderControls c;
  WorkflowState s;
  c.ButtonCreateOpenMail.enabled = true;
  c.ButtonComprDecomprAndPlay.enabled = true;
  s.LevelMeterOn = true;
  EXPECT_EQ(SpaceBarStep(c, s), SpaceStep::kCreateOpenMail);
  c.ButtonCreateOpenMail.enabled = false;
  EXPECT_EQ(SpaceBarStep(c, s), SpaceStep::kComprDecomprAndPlay);
  c.ButtonComprDecomprAndPlay.enabled = false;
  EXPECT_EQ(SpaceBarStep(c, s), SpaceStep::kRecord);
  // Step 2 only while the level display is on: otherwise step 1 switches it on.
  s.LevelMeterOn = false;
  EXPECT_EQ(SpaceBarStep(c, s), SpaceStep::kRecordLevelOnOff);
  s.LevelMeterOn = true;
  c.ButtonRecord.enabled = false;
  EXPECT_EQ(SpaceBarStep(c, s), SpaceStep::kRecordLevelOnOff);
  c.ButtonRecordLevelOnOff.enabled = false;
  EXPECT_EQ(SpaceBarStep(c, s), SpaceStep::kNone);
}

TEST(MenuStateTest, FollowsWindowOptionsAndWorkflow) {
  MenuInputs window;
  window.blocks_visible = {true, false, true, false, true};
  window.sound_card_window_visible = true;
  window.always_on_top = true;
  RecorderOptions options;
  options.OnStartSetMinVols = false;
  options.AutoSavePrefs = false;
  WorkflowState state;
  RecorderControls controls;
  controls.ButtonComprDecomprAndPlay.enabled = false;

  MenuState menu = MenuStateFrom(window, options, state, controls);
  EXPECT_EQ(menu.blocks, window.blocks_visible);
  EXPECT_TRUE(menu.MAFormLorixSK);
  EXPECT_TRUE(menu.MAAlwaysOnTop);
  EXPECT_EQ(menu.options, (std::array<bool, 4>{true, false, true, false}));
  EXPECT_TRUE(menu.MTLoadRec_enabled);
  EXPECT_FALSE(menu.MTSaveRec_enabled);

  state.LevelMeterOn = true;  // import only with the level display off
  EXPECT_FALSE(MenuStateFrom(window, options, state, controls).MTLoadRec_enabled);
  state.LevelMeterOn = false;
  state.BufferPristine = false;  // and into an empty buffer
  EXPECT_FALSE(MenuStateFrom(window, options, state, controls).MTLoadRec_enabled);
  controls.ButtonComprDecomprAndPlay.enabled = true;
  EXPECT_TRUE(MenuStateFrom(window, options, state, controls).MTSaveRec_enabled);

  EXPECT_EQ(OptionKey(OptionItem::kOnStartSelectMike), "OnStartSelectMike");
  EXPECT_EQ(OptionKey(OptionItem::kOnStartSetMinVols), "OnStartSetMinVols");
  EXPECT_EQ(OptionKey(OptionItem::kConfirmReset), "ConfirmReset");
  EXPECT_EQ(OptionKey(OptionItem::kAutoSavePrefs), "AutoSavePrefs");
  OptionValue(options, OptionItem::kConfirmReset) = false;
  EXPECT_FALSE(options.ConfirmReset);
}

TEST(HelpPageTest, OpensThePageBesideTheProgramOnlyWhenItExists) {
  const fs::path folder = fs::temp_directory_path() / ("lorix_help_" + std::to_string(::getpid()));
  fs::create_directories(folder);
  std::vector<std::string> opened;
  const auto open = [&opened](const std::string& page) { opened.push_back(page); };
  EXPECT_FALSE(OpenHelpPage(folder, kHelpPageName, open));
  EXPECT_TRUE(opened.empty());
  std::ofstream(folder / kHelpPageName) << "<html></html>";
  EXPECT_TRUE(OpenHelpPage(folder, kHelpPageName, open));
  ASSERT_EQ(opened.size(), 1U);
  EXPECT_EQ(opened[0], (folder / "Lorix-Hilfe.html").string());
  fs::remove_all(folder);
}

// ---------------------------------------------------------------------------------------------
// The window.

class MainMenuTest : public testing::MainWindowFixture {
 protected:
  void TearDown() override {
    window_.reset();
    sound_card_.reset();
    MainWindowFixture::TearDown();
  }

  void Create(const fs::path& settings_file = {}) {
    MainWindowFixture::Create(settings_file);
    window_->SetHelpOpener([this](const std::string& page) { opened_help_.push_back(page); });
  }

  void WriteIni(const std::string& text) {
    ini_ = folder_ / "Lorix.INI";
    std::ofstream(ini_, std::ios::binary) << text;
  }

  // Shows the window, lets its first activation run and gives it the keyboard.
  void Start() {
    window_->show();
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    QCoreApplication::processEvents();
    ASSERT_TRUE(window_->AppStarted());
  }

  // A key as the keyboard gives it: shortcut override first, then the press at the focus.
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus != nullptr ? focus : window_.get(), key, modifiers);
  }

  MainMenu& Menu() { return window_->menu(); }
  // As when the user opens a top menu.
  void OpenMenu() { emit Menu().MAnzeige->aboutToShow(); }

  fs::path ini_;
  std::unique_ptr<QWidget> sound_card_;
  std::vector<std::string> opened_help_;
};

TEST_F(MainMenuTest, MenusCarryTheirCaptionsAndKeys) {
  Create();
  Start();
  MainMenu& m = Menu();
  QStringList titles;
  for (QAction* top : window_->menuBar()->actions()) titles << top->text();
  EXPECT_EQ(titles, QStringList({"&Datei", "&Einstellungen", "&Anzeige", "&Speziell", "?"}));
  const struct {
    QAction* item;
    const char* caption;
    QKeySequence keys;
  } items[] = {
      {m.MDBeenden, "&Beenden", QKeySequence(Qt::ALT | Qt::Key_F4)},
      {m.MIOnStartSelectMike, "Bei Start Mikrophon auswählen", {}},
      {m.MIOnStartSetMinVols, "Bei Start Mindest-Lautstärken aus INI-Datei einstellen", {}},
      {m.MIConfirmReset, "Bestätigung bei \"Aufnahme zurücksetzen\"", {}},
      {m.MIAutoSavePrefs, "Allgemeine Einstellungen bei Beenden immer speichern", {}},
      {m.MAPanelRecord, "&Aufnahme-Block", QKeySequence(Qt::CTRL | Qt::Key_A)},
      {m.MAPanelPlay, "&Wiedergabe-Block", QKeySequence(Qt::CTRL | Qt::Key_W)},
      {m.MAPanelOptionsCompress, "&Kompressions-Einstellungen", QKeySequence(Qt::CTRL | Qt::Key_K)},
      {m.MAPanelPlayStatus, "&Statuszeile Wiedergabe", QKeySequence(Qt::CTRL | Qt::Key_S)},
      {m.MAPanelSpecials, "Zusätzliche &Datei-Infos", QKeySequence(Qt::CTRL | Qt::Key_D)},
      {m.MAFormLorixSK, "FormLorixS&K", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_K)},
      {m.MAAlwaysOnTop, "LORIX immer im &Vordergrund", QKeySequence(Qt::CTRL | Qt::Key_V)},
      {m.MTLoadRec, "Aufnahme laden / I&mportieren ...", QKeySequence(Qt::ALT | Qt::Key_M)},
      {m.MTSaveRec, "Aufnahme e&xportieren unter ...", QKeySequence(Qt::ALT | Qt::Key_X)},
      {m.MSShowWinMixerRecord, "System-Mixer &Aufnahme", QKeySequence(Qt::ALT | Qt::Key_A)},
      {m.MSShowWinMixerPlay, "System-Mixer &Wiedergabe", QKeySequence(Qt::ALT | Qt::Key_W)},
      {m.MSShowExplorer, "&Explorer (erstellte Mail-Anhänge)", QKeySequence(Qt::ALT | Qt::Key_E)},
      {m.MSExpertMode, "E&xpertMode", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_X)},
      {m.MIHilfe, "Hilfe", QKeySequence(Qt::Key_F1)},
      {m.MIInfo, "Info", QKeySequence(Qt::ALT | Qt::Key_I)},
  };
  for (const auto& [item, caption, keys] : items) {
    EXPECT_EQ(item->text(), QString::fromUtf8(caption));
    EXPECT_EQ(item->shortcut(), keys) << caption;
  }
  // The expert items appear with expert mode only.
  EXPECT_FALSE(m.MAFormLorixSK->isVisible());
  EXPECT_FALSE(m.MSExpertMode->isVisible());
  // At start the check marks follow the designed settings and the window.
  EXPECT_TRUE(m.MAPanelRecord->isChecked());
  EXPECT_TRUE(m.MAPanelPlay->isChecked());
  EXPECT_FALSE(m.MAPanelSpecials->isChecked());
  EXPECT_TRUE(m.MIConfirmReset->isChecked());
  EXPECT_TRUE(m.MIAutoSavePrefs->isChecked());
  EXPECT_TRUE(m.MTLoadRec->isEnabled());
  EXPECT_FALSE(m.MTSaveRec->isEnabled());

  // Ctrl+O opens "&Einstellungen".
  Key(Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(window_->menuBar()->activeAction(), m.MEinstellungen->menuAction());
  m.MEinstellungen->close();
}

TEST_F(MainMenuTest, SpaceBarWalksThroughTheSteps) {
  Create();
  Start();
  // The key never reaches the focused control: the check box keeps its mark.
  QCheckBox* auto_play = Find<QCheckBox>("CBAndPlayLRXFile");
  auto_play->setFocus();
  ASSERT_EQ(QApplication::focusWidget(), auto_play);
  const RecordingWorkflow& w = window_->workflow();

  Key(Qt::Key_Space);  // step 1: level display on
  EXPECT_TRUE(w.state().LevelMeterOn);
  EXPECT_FALSE(w.state().RecordingActive);
  EXPECT_TRUE(capture_->started());
  Key(Qt::Key_Space);  // step 2: recording
  EXPECT_TRUE(w.state().RecordingActive);
  Capture(12);
  Key(Qt::Key_Space);  // step 3 comes before step 2: stop, compress, play the result
  queue_.RunPending();
  EXPECT_FALSE(w.state().RecordingActive);
  EXPECT_FALSE(w.CompressedStream().empty());
  EXPECT_TRUE(w.playback().PlaybackActive());
  EXPECT_EQ(Button("ButtonComprDecomprAndPlay")->text(), "&3. STOP Wiederg.!");
  Key(Qt::Key_Space);  // step 3 again: the playback stops
  EXPECT_FALSE(w.playback().PlaybackActive());
  EXPECT_EQ(Button("ButtonComprDecomprAndPlay")->text(), "&3. Komprimieren\nund anhören");
  EXPECT_TRUE(auto_play->isChecked());
  EXPECT_TRUE(dialogs_.shown.empty());

  // Step 4 comes first now: the attachment is written and handed to the mail program.
  ASSERT_TRUE(w.controls().ButtonCreateOpenMail.enabled);
  std::ofstream(paths_.player_program) << "player";
  const fs::path attachment = paths_.lorixs_folder / "gruss.EXE";
  files_.answers.push_back(attachment.string());
  Key(Qt::Key_Space);
  ASSERT_EQ(files_.requests.size(), 1U);
  EXPECT_EQ(files_.requests[0].title, "Lorix-Sprachanhang speichern");
  EXPECT_EQ(files_.requests[0].file_name.rfind((paths_.lorixs_folder / "LORIX_").string(), 0), 0U)
      << files_.requests[0].file_name;
  EXPECT_TRUE(fs::exists(attachment));
  ASSERT_EQ(mail_drafts_.size(), 1U);
  EXPECT_EQ(mail_drafts_[0].attachments, std::vector<fs::path>{attachment});
}

TEST_F(MainMenuTest, SpaceBarIsLeftToOpenMenus) {
  Create();
  Start();
  QMenu* menu = Menu().MAnzeige;
  menu->popup(window_->mapToGlobal(QPoint(10, 10)));
  QCoreApplication::processEvents();
  ASSERT_EQ(QApplication::activePopupWidget(), menu);
  QTest::keyClick(menu, Qt::Key_Space);
  EXPECT_FALSE(window_->workflow().state().LevelMeterOn);
  menu->close();
  QCoreApplication::processEvents();
  Key(Qt::Key_Space);
  EXPECT_TRUE(window_->workflow().state().LevelMeterOn);
}

TEST_F(MainMenuTest, KeyOneTogglesStepOneAndGoesOnToTheFocusedControl) {
  Create();
  Start();
  QPushButton* step1 = Button("ButtonRecordLevelOnOff");
  QWidget* focus = QApplication::focusWidget();
  ASSERT_NE(focus, nullptr);
  struct KeyCounter : QObject {
    int ones = 0;
    bool eventFilter(QObject*, QEvent* event) override {
      if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_1)
        ++ones;
      return false;
    }
  } counter;
  focus->installEventFilter(&counter);

  Key(Qt::Key_1);
  EXPECT_TRUE(window_->workflow().state().LevelMeterOn);
  EXPECT_TRUE(step1->isChecked());
  EXPECT_EQ(counter.ones, 1);          // not consumed
  Key(Qt::Key_1, Qt::KeypadModifier);  // the keypad's "1"
  EXPECT_FALSE(window_->workflow().state().LevelMeterOn);
  EXPECT_EQ(counter.ones, 2);
  Key(Qt::Key_1, Qt::ControlModifier);  // not the plain key
  EXPECT_FALSE(window_->workflow().state().LevelMeterOn);

  // While recording, step 1 is closed and "1" does nothing.
  Button("ButtonRecord")->click();
  ASSERT_FALSE(window_->workflow().controls().ButtonRecordLevelOnOff.enabled);
  const bool level_meter = window_->workflow().state().LevelMeterOn;
  Key(Qt::Key_1);
  EXPECT_TRUE(window_->workflow().state().RecordingActive);
  EXPECT_EQ(window_->workflow().state().LevelMeterOn, level_meter);
  EXPECT_EQ(counter.ones, 4);
  focus->removeEventFilter(&counter);
}

TEST_F(MainMenuTest, CheckMarkItemsAreWrittenAtOnceEvenWithoutAutoSave) {
  WriteIni("[Options]\r\nAutoSavePrefs=0\r\nMinVolWaveOut=100\r\n");
  Create(ini_);
  Start();
  EXPECT_FALSE(Menu().MIAutoSavePrefs->isChecked());
  ASSERT_TRUE(Menu().MIConfirmReset->isChecked());

  Menu().MIConfirmReset->trigger();
  EXPECT_FALSE(settings_.Options.ConfirmReset);
  std::string text = ReadFile(ini_);
  EXPECT_NE(text.find("ConfirmReset=0"), std::string::npos) << text;
  EXPECT_NE(text.find("AutoSavePrefs=0"), std::string::npos);
  EXPECT_NE(text.find("MinVolWaveOut=100"), std::string::npos);
  EXPECT_EQ(text.find("ShowRecord"), std::string::npos);  // nothing else was written
  OpenMenu();
  EXPECT_FALSE(Menu().MIConfirmReset->isChecked());

  // The reset then asks nothing.
  Button("ButtonRecord")->click();
  Capture(2);
  Button("ButtonRecord")->click();
  queue_.RunPending();
  Button("ButtonReset")->click();
  EXPECT_TRUE(dialogs_.shown.empty());
  EXPECT_EQ(window_->workflow().state().SampleCount, 0);

  Menu().MIOnStartSelectMike->trigger();
  Menu().MIConfirmReset->trigger();
  text = ReadFile(ini_);
  EXPECT_NE(text.find("OnStartSelectMike=0"), std::string::npos) << text;
  EXPECT_NE(text.find("ConfirmReset=1"), std::string::npos) << text;
  EXPECT_TRUE(settings_.Options.ConfirmReset);
}

TEST_F(MainMenuTest, DisplayMenuShowsAndHidesBlocksAndTheWindowFollows) {
  Create();
  Start();
  const int full = window_->height();
  Key(Qt::Key_D, Qt::ControlModifier);  // Zusätzliche Datei-Infos
  EXPECT_TRUE(window_->BlockVisible(Block::kSpecials));
  EXPECT_GT(window_->height(), full);
  Key(Qt::Key_D, Qt::ControlModifier);
  EXPECT_FALSE(window_->BlockVisible(Block::kSpecials));
  Key(Qt::Key_K, Qt::ControlModifier);
  Key(Qt::Key_S, Qt::ControlModifier);
  EXPECT_TRUE(window_->BlockVisible(Block::kOptionsCompress));
  EXPECT_TRUE(window_->BlockVisible(Block::kPlayStatus));
  OpenMenu();
  EXPECT_TRUE(Menu().MAPanelOptionsCompress->isChecked());
  EXPECT_TRUE(Menu().MAPanelPlayStatus->isChecked());

  // Every block hidden through the menu: the title and the status panel remain.
  for (QAction* item : {Menu().MAPanelRecord, Menu().MAPanelPlay, Menu().MAPanelOptionsCompress,
                        Menu().MAPanelPlayStatus}) {
    item->trigger();
  }
  for (std::size_t i = 0; i < kBlockCount; ++i) {
    EXPECT_FALSE(window_->BlockVisible(static_cast<Block>(i))) << i;
  }
  OpenMenu();
  EXPECT_FALSE(Menu().MAPanelRecord->isChecked());
  EXPECT_FALSE(Menu().MAPanelPlay->isChecked());
  QWidget* title = Find<QWidget>("PanelTitle");
  QWidget* bottom = Find<QWidget>("PanelBottom");
  EXPECT_TRUE(title->isVisible());
  EXPECT_TRUE(bottom->isVisible());
  EXPECT_LT(window_->height(),
            window_->menuBar()->height() + title->height() + bottom->height() + 20);
  Key(Qt::Key_A, Qt::ControlModifier);
  EXPECT_TRUE(window_->BlockVisible(Block::kRecord));
}

TEST_F(MainMenuTest, SpecialItemsFollowTheWorkflow) {
  Create();
  Start();
  OpenMenu();
  EXPECT_TRUE(Menu().MTLoadRec->isEnabled());
  EXPECT_FALSE(Menu().MTSaveRec->isEnabled());
  Button("ButtonRecordLevelOnOff")->click();
  OpenMenu();
  EXPECT_FALSE(Menu().MTLoadRec->isEnabled());  // level display on
  Button("ButtonRecord")->click();
  Capture(2);
  OpenMenu();
  EXPECT_FALSE(Menu().MTLoadRec->isEnabled());
  EXPECT_TRUE(Menu().MTSaveRec->isEnabled());  // step 3 is open
  // A disabled item's key is left to the window's controls.
  Key(Qt::Key_M, Qt::AltModifier);
  EXPECT_TRUE(dialogs_.shown.empty());
}

TEST_F(MainMenuTest, ImportAndExportKeysSeeTheStateWithoutAMenuOpened) {
  Create();
  Start();
  window_->workflow().MTLoadSaveRecClick(false);  // nothing to export yet, however reached
  EXPECT_TRUE(files_.requests.empty());
  Button("ButtonRecord")->click();
  Capture(2);
  // An import would replace the running recording.
  Key(Qt::Key_M, Qt::AltModifier);
  window_->workflow().MTLoadSaveRecClick(true);
  EXPECT_TRUE(files_.requests.empty());
  Button("ButtonRecord")->click();
  queue_.RunPending();
  Key(Qt::Key_M, Qt::AltModifier);  // nor the stopped one, which has not been sent
  EXPECT_TRUE(files_.requests.empty());
  Key(Qt::Key_X, Qt::AltModifier);  // the export is open with step 3
  ASSERT_EQ(files_.requests.size(), 1U);
  EXPECT_EQ(files_.requests[0].title, "WAV(PCM)-Audio-Datei speichern");
  EXPECT_TRUE(dialogs_.shown.empty());
}

TEST_F(MainMenuTest, ExpertItemsAppearWithExpertModeAndSteerTheRecordingForm) {
  Create();
  sound_card_ = std::make_unique<QWidget>();
  window_->SetSoundCardWindow(sound_card_.get());
  Start();
  Key(Qt::Key_X, Qt::ControlModifier | Qt::AltModifier);  // hidden item: nothing
  EXPECT_FALSE(window_->ExpertMode());

  window_->SetExpertMode(true);
  EXPECT_TRUE(Menu().MAFormLorixSK->isVisible());
  EXPECT_TRUE(Menu().MSExpertMode->isVisible());
  EXPECT_TRUE(Menu().MSExpertMode->isChecked());
  EXPECT_TRUE(sound_card_->isVisible());
  window_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  OpenMenu();
  EXPECT_TRUE(Menu().MAFormLorixSK->isChecked());
  Key(Qt::Key_K, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_FALSE(sound_card_->isVisible());
  EXPECT_FALSE(Menu().MAFormLorixSK->isChecked());

  Key(Qt::Key_X, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_FALSE(window_->ExpertMode());
  EXPECT_EQ(dialogs_.shown.back().text, "Setze Expertenmodus auf AUS !");
  EXPECT_FALSE(Menu().MSExpertMode->isChecked());
  EXPECT_TRUE(Menu().MSExpertMode->isVisible());  // stays once shown
  Menu().MSExpertMode->trigger();
  EXPECT_TRUE(window_->ExpertMode());
  EXPECT_TRUE(Menu().MSExpertMode->isChecked());
}

TEST_F(MainMenuTest, HelpOpensThePagesWhenThereAreSome) {
  Create();
  Start();
  Key(Qt::Key_F1);
  EXPECT_TRUE(opened_help_.empty());
  std::ofstream(folder_ / kHelpPageName) << "<html></html>";
  std::ofstream(folder_ / kMailHelpPageName) << "<html></html>";
  Key(Qt::Key_F1);
  window_->findChild<QPushButton*>(QStringLiteral("ButtonMailAppHelp"))->click();
  EXPECT_EQ(opened_help_, (std::vector<std::string>{(folder_ / kHelpPageName).string(),
                                                    (folder_ / kMailHelpPageName).string()}));
}

TEST_F(MainMenuTest, StoredAlwaysOnTopTakesEffectWithinOneTimerTick) {
  WriteIni("[WindowStart]\r\nAlwaysOnTop=1\r\n");
  Create(ini_);
  Start();
  EXPECT_TRUE(window_->AlwaysOnTop());
  QTest::qWait(150);
  EXPECT_TRUE(window_->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(window_->isVisible());
  OpenMenu();
  EXPECT_TRUE(Menu().MAAlwaysOnTop->isChecked());

  // The menu switches it off at once, and the timer leaves it off.
  window_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  Key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_FALSE(window_->AlwaysOnTop());
  EXPECT_FALSE(window_->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(window_->isVisible());
  QTest::qWait(150);
  EXPECT_FALSE(window_->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  OpenMenu();
  EXPECT_FALSE(Menu().MAAlwaysOnTop->isChecked());
  Menu().MAAlwaysOnTop->trigger();
  EXPECT_TRUE(window_->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(window_->isVisible());
}

// Where the window system keeps no window on top (Wayland) the item is closed and says why;
// neither Ctrl+V nor a stored AlwaysOnTop=1 touches the window, and the stored value goes back
// into the file as it was, for the next start on X11 or Windows.
TEST_F(MainMenuTest, WithoutStayOnTopTheItemIsClosedAndTheStoredFlagKept) {
  WriteIni("[WindowStart]\r\nAlwaysOnTop=1\r\n");
  window_system_.keeps_window_on_top = false;
  Create(ini_);
  Start();
  QTest::qWait(150);
  EXPECT_FALSE(window_->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  OpenMenu();
  EXPECT_FALSE(Menu().MAAlwaysOnTop->isEnabled());
  EXPECT_FALSE(Menu().MAAlwaysOnTop->isChecked());
  EXPECT_TRUE(Menu().MAAlwaysOnTop->toolTip().contains(QStringLiteral("Wayland")));
  EXPECT_TRUE(Menu().MAnzeige->toolTipsVisible());

  Key(Qt::Key_V, Qt::ControlModifier);
  QTest::qWait(150);
  EXPECT_FALSE(window_->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(window_->isVisible());
  EXPECT_TRUE(window_->close());
  EXPECT_NE(ReadFile(ini_).find("AlwaysOnTop=1"), std::string::npos) << ReadFile(ini_);
}

// Where the window system does not say where a window is (Wayland), the stored places of the
// main window and the recording form are written back as they were read; the form's size is
// still saved. Elsewhere the places the windows have are saved.
TEST_F(MainMenuTest, UnreportedWindowPlacesAreWrittenBackAsRead) {
  const std::string stored =
      "[WindowStart]\r\nLeft=317\r\nTop=149\r\n"
      "[WindowSK]\r\nLeft=700\r\nTop=50\r\nWidth=422\r\nHeight=305\r\n";
  for (const bool reported : {false, true}) {
    SCOPED_TRACE(reported ? "reported" : "not reported");
    WriteIni(stored);
    window_system_.reports_window_position = reported;
    Create(ini_);
    sound_card_ = std::make_unique<QWidget>();
    window_->SetSoundCardWindow(sound_card_.get());
    Start();
    // What the platform answers for a place it does not know.
    window_->move(1280, 0);
    sound_card_->setGeometry(20, 30, 500, 400);
    EXPECT_TRUE(window_->close());
    const std::string text = ReadFile(ini_);
    const auto section = [&text](const std::string& name) {
      const std::size_t start = text.find("[" + name + "]");
      return start == std::string::npos ? std::string()
                                        : text.substr(start, text.find('[', start + 1) - start);
    };
    const std::string main_window = section("WindowStart");
    const std::string form = section("WindowSK");
    EXPECT_NE(main_window.find(reported ? "Left=1280" : "Left=317"), std::string::npos) << text;
    EXPECT_NE(main_window.find(reported ? "Top=0" : "Top=149"), std::string::npos) << text;
    EXPECT_NE(form.find(reported ? "Left=20" : "Left=700"), std::string::npos) << text;
    EXPECT_NE(form.find(reported ? "Top=30" : "Top=50"), std::string::npos) << text;
    EXPECT_NE(form.find("Width=500"), std::string::npos) << text;
    EXPECT_NE(form.find("Height=400"), std::string::npos) << text;
    window_.reset();
    sound_card_.reset();
  }
}

TEST_F(MainMenuTest, ClosingDuringAFirstRecordingAsksNothingAndReleasesTheDevice) {
  Create();
  Start();
  QSignalSpy closed(window_.get(), &MainWindow::Closed);
  Button("ButtonRecord")->click();
  Capture(3);
  ASSERT_EQ(window_->workflow().state().SampleCount, 0);  // never paused
  Menu().MDBeenden->trigger();
  EXPECT_FALSE(window_->isVisible());
  EXPECT_EQ(closed.count(), 1);
  EXPECT_TRUE(dialogs_.shown.empty());
  EXPECT_FALSE(window_->workflow().state().RecordingActive);
  EXPECT_FALSE(capture_->started());
}

TEST_F(MainMenuTest, ClosingWritesNothingWithoutAutoSaveAndRefusesOnCancel) {
  const std::string stored = "[WindowStart]\r\nShowPlay=1\r\n[Options]\r\nAutoSavePrefs=0\r\n";
  WriteIni(stored);
  Create(ini_);
  Start();
  Key(Qt::Key_W, Qt::ControlModifier);  // a change that a save would write
  Button("ButtonRecord")->click();
  Capture(3);
  Button("ButtonRecord")->click();
  queue_.RunPending();
  dialogs_.answers.push_back(DialogAnswer::kCancel);
  EXPECT_FALSE(window_->close());
  EXPECT_EQ(dialogs_.shown.back().text, "Die letzte Aufnahme löschen?");
  EXPECT_TRUE(window_->isVisible());
  EXPECT_GT(window_->workflow().state().SampleCount, 0);

  EXPECT_TRUE(window_->close());
  EXPECT_EQ(ReadFile(ini_), stored);
  EXPECT_EQ(dialogs_.shown.size(), 2U);
}

}  // namespace
}  // namespace lorix
