// RecorderApp without a window: the order of the start at the first activation, the close
// query's veto and the order of the close, the settings read into the window state and
// collected from it, and the timer's mixer refresh around a slider the user holds; the routing
// of the forms' controls and menu items to its handlers.

#include "recorder/recorder_app.h"

#include "recorder/form_commands.h"
#include "recorder/help_page.h"

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "audio/fake_mixer_backend.h"
#include "tests/recorder/workflow_fixture.h"

namespace lorix {
namespace {

class RecorderAppTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static int counter = 0;
    folder_ = fs::temp_directory_path() /
              ("lorix_app_" + std::to_string(::getpid()) + "_" + std::to_string(++counter));
    fs::create_directories(folder_);
    paths_ = RecorderPaths::ForProgramFolder(folder_);
    CreateRecorderFolders(paths_);
    settings_file_ = folder_ / "LORIX.INI";
    settings_.Options.PrepareMemoryMB = 1;
    capture_ = std::make_unique<ScriptedCaptureBackend>(Tone(20000));
    engine_ = std::make_unique<RecordingEngine>(*capture_, queue_.Poster(), dialogs_);
    mci_ = std::make_unique<MciService>(output_);
    dialogs_.while_open = [this](const DialogRequest& request) {
      log_.push_back("box " + request.text);
    };
  }

  void TearDown() override {
    app_.reset();
    engine_.reset();
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  void Create(Mixer* mixer = nullptr) {
    WavePlayback::Services playback;
    playback.send_command = [this](const std::string& command, std::string& reply) {
      return mci_->MciSendString(command, reply);
    };
    RecorderWindowServices s;
    s.show_blocks = [this] { log_.push_back("show blocks"); };
    s.window_place = [this] { return place_; };
    s.move_window = [this](std::int32_t left, std::int32_t top) {
      log_.push_back("move " + std::to_string(left) + "," + std::to_string(top));
    };
    s.window_on_top = [this] { return on_top_; };
    s.set_window_on_top = [this](bool on) {
      on_top_ = on;
      log_.push_back(on ? "on top" : "normal");
    };
    s.set_standard_windows = [this] { log_.push_back("standard windows"); };
    s.has_recording_form = [] { return true; };
    s.recording_form_place = [this] { return form_place_; };
    s.place_recording_form = [this](const WindowPlace& place) { form_place_ = place; };
    s.recording_form_visible = [this] { return form_visible_; };
    s.show_recording_form = [this](bool visible) { form_visible_ = visible; };
    s.run_timer = [this](bool run) { log_.push_back(run ? "timer on" : "timer off"); };
    s.volume_slider_held = [this](VolumeSlider slider) { return held_ == slider; };
    s.resolve_argument = [this](const std::string& argument) {
      return (folder_ / argument).string();
    };
    s.shutdown_wait = [this] {
      log_.push_back(fs::exists(settings_file_) ? "wait, settings written" : "wait");
    };
    app_ = std::make_unique<RecorderApp>(RecorderAppParts{.engine = *engine_,
                                                          .dialogs = dialogs_,
                                                          .settings = settings_,
                                                          .paths = paths_,
                                                          .playback = playback,
                                                          .mixer = mixer,
                                                          .settings_file = settings_file_,
                                                          .attachment_overhead = kOverhead,
                                                          .choose_file = {},
                                                          .open_file = {},
                                                          .mail = {}},
                                         std::move(s));
    app_->FormCreate();
    log_.clear();
  }

  void WriteIni(const std::string& text) {
    std::ofstream(settings_file_, std::ios::binary) << text;
  }
  std::string ReadIni() const {
    std::ifstream in(settings_file_, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  // Where `entry` stands in the log; the log's size when it is not there.
  std::size_t At(const std::string& entry) const {
    return static_cast<std::size_t>(std::find(log_.begin(), log_.end(), entry) - log_.begin());
  }

  void RecordAndPause() {
    app_->workflow().ButtonRecordClick(RecordSender::kButtonRecord);
    ASSERT_EQ(capture_->Deliver(3), 3);
    queue_.RunPending();
    app_->workflow().ButtonRecordClick(RecordSender::kButtonRecord);
    queue_.RunPending();
  }

  fs::path folder_;
  RecorderPaths paths_;
  fs::path settings_file_;
  RecorderSettings settings_;
  TaskQueue queue_;
  testing::RecordingDialogs dialogs_;
  ManualPlaybackBackend output_;
  std::unique_ptr<ScriptedCaptureBackend> capture_;
  std::unique_ptr<RecordingEngine> engine_;
  std::unique_ptr<MciService> mci_;
  std::unique_ptr<RecorderApp> app_;

  std::vector<std::string> log_;
  WindowPlace place_;
  bool on_top_ = false;
  WindowPlace form_place_{1, 2, 3, 4};
  bool form_visible_ = false;
  std::optional<VolumeSlider> held_;
};

TEST_F(RecorderAppTest, StartAppliesTheSettingsThenStartsTheTimerThenTakesTheCommandLine) {
  WriteIni("[WindowStart]\r\nLeft=40\r\nTop=50\r\nAlwaysOnTop=1\r\n");
  Create();
  app_->FormActivate({"fehlt.wav", "/x"});
  ASSERT_TRUE(app_->AppStarted());
  EXPECT_EQ(app_->workflow().controls().Caption, (folder_ / "fehlt.wav").string());
  const std::size_t timer = At("timer on");
  ASSERT_LT(timer + 1, log_.size());
  EXPECT_LT(At("move 40,50"), At("standard windows"));
  EXPECT_LT(At("standard windows"), timer);
  // The file that cannot be loaded is reported after the timer runs, before the switch that
  // follows it on the command line.
  EXPECT_EQ(log_[timer + 1].rfind("box ", 0), 0u);
  const auto last_box = std::find_if(log_.rbegin(), log_.rend(), [](const std::string& entry) {
    return entry.rfind("box ", 0) == 0;
  });
  ASSERT_NE(last_box, log_.rend());
  EXPECT_EQ(*last_box, "box Setze Expertenmodus auf EIN !");
  // The stored always-on-top flag reaches the window style at the next tick, not before.
  EXPECT_FALSE(on_top_);
  app_->Timer1Timer();
  EXPECT_TRUE(on_top_);

  log_.clear();
  app_->FormActivate({"/x"});
  EXPECT_TRUE(log_.empty());
}

TEST_F(RecorderAppTest, CloseQueryVetoLeavesEverythingAndConsentSavesBeforeReleasingDevices) {
  Create();
  app_->FormActivate({});
  RecordAndPause();
  ASSERT_GT(app_->workflow().state().SampleCount, 0);
  log_.clear();

  dialogs_.answers = {DialogAnswer::kCancel};
  EXPECT_FALSE(app_->FormCloseQuery());
  EXPECT_GT(app_->workflow().state().SampleCount, 0);
  EXPECT_FALSE(fs::exists(settings_file_));
  ASSERT_EQ(log_.size(), 1u);  // the question, nothing more
  EXPECT_EQ(log_[0], "box Die letzte Aufnahme löschen?");

  log_.clear();
  EXPECT_TRUE(app_->FormCloseQuery());
  EXPECT_EQ(app_->workflow().state().SampleCount, 0);
  ASSERT_GE(log_.size(), 2u);
  EXPECT_EQ(log_[log_.size() - 2], "wait, settings written");
  EXPECT_EQ(log_.back(), "timer off");
}

TEST_F(RecorderAppTest, SettingsGoIntoTheWindowStateAndComeBackFromIt) {
  WriteIni(
      "[WindowStart]\r\nShowRecord=0\r\nShowSpecials=1\r\n"
      "[WindowSK]\r\nLeft=11\r\nTop=12\r\nWidth=300\r\nHeight=200\r\nVisible=1\r\n"
      "[Options]\r\nMikeToOutEnabled=1\r\nAndPlayLRXFile=0\r\nMailAppStartSelection=2\r\n"
      "AttachmentKind=7\r\nCompressLevel=6\r\nMuteLevel=2\r\n");
  Create();
  app_->FormActivate({});
  const RecorderWindowState& w = app_->window();
  EXPECT_EQ(w.blocks_visible, (std::array<bool, kBlockCount>{false, false, true, false, true}));
  EXPECT_EQ(w.menus.blocks, w.blocks_visible);
  EXPECT_TRUE(w.menus.MAFormLorixSK);
  EXPECT_TRUE(w.CBMikeToOutEnabled);
  EXPECT_EQ(w.mail_method, MailMethod::kSystem);
  EXPECT_EQ(w.attachment_kind, std::nullopt);
  EXPECT_EQ(app_->workflow().controls().TBCompressLevel, 6);
  EXPECT_EQ(app_->workflow().controls().TBMuteLevel, 2);
  EXPECT_FALSE(app_->workflow().controls().CBAndPlayLRXFile);
  EXPECT_EQ(form_place_.width, 300);

  app_->MABlockClick(Block::kPlayStatus);
  app_->RBMailAppClick(MailMethod::kNone);
  app_->CBMikeToOutEnabledClick(false);
  place_ = {70, 80, 500, 400};
  form_place_ = {21, 22, 310, 210};
  form_visible_ = false;
  ASSERT_TRUE(app_->FormCloseQuery());
  const std::string text = ReadIni();
  for (const char* line :
       {"\nLeft=70\r\n", "\nTop=80\r\n", "\nShowRecord=0\r\n", "\nShowPlayStatus=1\r\n",
        "\nShowSpecials=1\r\n", "\nLeft=21\r\n", "\nWidth=310\r\n", "\nVisible=0\r\n",
        "\nMikeToOutEnabled=0\r\n", "\nAndPlayLRXFile=0\r\n", "\nMailAppStartSelection=0\r\n",
        "\nAttachmentKind=7\r\n", "\nCompressLevel=6\r\n", "\nMuteLevel=2\r\n"}) {
    EXPECT_NE(text.find(line), std::string::npos) << line << " in\n" << text;
  }
}

TEST_F(RecorderAppTest, TimerMovesTheVolumeSlidersExceptTheOneTheUserHolds) {
  FakeMixerBackend backend;
  backend.AddControl(0, kControlTypeVolume, kComponentDstSpeakers, kDestinationPlayback, 20000);
  backend.AddControl(1, kControlTypeVolume, kComponentSrcWaveOut, kDestinationPlayback, 30000);
  backend.AddControl(2, kControlTypeMute, kComponentSrcMicrophone, kDestinationPlayback, 0);
  Mixer mixer(backend);
  Create(&mixer);
  const auto position = [this](VolumeSlider slider) {
    return app_->window().volume_sliders[static_cast<std::size_t>(slider)];
  };
  // What the mixer says at the tick; the slider's position is written back to it.
  const int waveout = ReadVolumeSlider(mixer, VolumeSlider::kScrollbarVolWaveout);
  const int speakers = ReadVolumeSlider(mixer, VolumeSlider::kScrollBarVolSpeakers);
  ASSERT_NE(speakers, 0);
  held_ = VolumeSlider::kScrollBarVolSpeakers;
  app_->Timer1Timer();
  EXPECT_EQ(position(VolumeSlider::kScrollbarVolWaveout), waveout);
  EXPECT_EQ(position(VolumeSlider::kScrollBarVolSpeakers), 0);
  EXPECT_TRUE(app_->window().CBMikeToOutEnabled);  // the microphone is not muted

  held_.reset();
  app_->Timer1Timer();
  EXPECT_EQ(position(VolumeSlider::kScrollBarVolSpeakers), speakers);
}

// A window reports only which row was clicked: each radio button must set the value its row
// stands for, each display item must toggle its own block, and the check-mark items store the
// inverse of the mark they had. The bar's menus only open.
TEST_F(RecorderAppTest, ClicksOnTableRowsRunTheirOwnRowsHandlers) {
  Create();
  const WindowCommands none;
  for (const FormControlRow& row : MainFormControlTable()) {
    if (row.radio_row == RadioRow::kNone) continue;
    ASSERT_TRUE(FormControlClick(*app_, row.id, true, none)) << row.name;
    const RecorderWindowState& window = app_->window();
    const int shown =
        row.radio_row == RadioRow::kMailMethod
            ? static_cast<int>(window.mail_method)
            : static_cast<int>(window.attachment_kind.value_or(static_cast<AttachmentChoice>(-1)));
    EXPECT_EQ(shown, row.radio_value) << row.name;
  }

  for (const FormControlRow& row : MainFormControlTable()) {
    if (!row.shows_block) continue;
    const auto block = static_cast<std::size_t>(*row.shows_block);
    const bool before = app_->window().blocks_visible[block];
    const auto entry =
        std::find_if(MainMenuTable().begin(), MainMenuTable().end(), [&row](const MenuRow& item) {
          return std::string_view(item.name) == "MA" + std::string(row.name);
        });
    ASSERT_NE(entry, MainMenuTable().end()) << row.name;
    ASSERT_TRUE(MenuEntryClick(*app_, entry->id, before, none)) << entry->name;
    EXPECT_EQ(app_->window().blocks_visible, [&] {
      auto expected = app_->window().blocks_visible;
      expected[block] = !before;
      return expected;
    }()) << entry->name;
  }

  settings_.Options.ConfirmReset = true;
  EXPECT_TRUE(MenuEntryClick(*app_, MenuEntry::kMIConfirmReset, true, none));
  EXPECT_FALSE(settings_.Options.ConfirmReset);
  EXPECT_NE(ReadIni().find("ConfirmReset=0"), std::string::npos) << ReadIni();

  std::vector<std::string> opened;
  const WindowCommands window{.close = [&opened] { opened.push_back("close"); },
                              .open_help = [&opened](const char* page) { opened.push_back(page); },
                              .show_about = [&opened] { opened.push_back("about"); },
                              .start_program = {}};
  for (const MenuRow& row : MainMenuTable()) {
    if (row.parent == row.id) {
      EXPECT_FALSE(MenuEntryClick(*app_, row.id, false, window)) << row.name;
    }
  }
  EXPECT_TRUE(MenuEntryClick(*app_, MenuEntry::kMIHilfe, false, window));
  EXPECT_TRUE(MenuEntryClick(*app_, MenuEntry::kMIInfo, false, window));
  EXPECT_TRUE(MenuEntryClick(*app_, MenuEntry::kMDBeenden, false, window));
  EXPECT_TRUE(FormControlClick(*app_, FormControl::kButtonMailAppHelp, false, window));
  EXPECT_EQ(opened, (std::vector<std::string>{kHelpPageName, "about", "close", kMailHelpPageName}));
}

}  // namespace
}  // namespace lorix
