// The player's window in this process on the rig's X display, over the handlers with test
// backends: real mouse and key events (xdotool), a real drop (XDND), and the message boxes.

#include <FL/Fl.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Window.H>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "audio/volume_scale.h"
#include "desktop/command_output.h"
#include "player/window/display.h"
#include "player/window/fltk_dialogs.h"
#include "player/window/label_text.h"
#include "player/window/player_window.h"
#include "tests/player/player_fixture.h"
#include "tests/player/xdnd_source.h"
#include "tests/support/x11_windows.h"

namespace lorix::testing {
namespace {

using namespace std::chrono_literals;

// Fails, not skips, without the rig's display: these tests are the window's only check.
void RequireDisplay() {
  ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "no X display: run through the test rig";
  ASSERT_TRUE(OpenDisplay()) << "the X display does not answer";
}

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = 5s) {
  return WaitUntil(done, timeout, [] { Fl::wait(0.02); });
}

void Xdotool(std::vector<std::string> args) {
  args.insert(args.begin(), "xdotool");
  const CommandOutput run = RunAndCapture(args);
  ASSERT_EQ(run.exit_status, 0) << args[1];
}

class PlayerWindowTest : public PlayerTest {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(RequireDisplay());
    ASSERT_TRUE(x11_.connected());
    window_ = std::make_unique<PlayerWindow>(app_);
    window_->Show();
    window_->StartTimer();
    const auto found = x11_.Find(app_.screen().Title);
    ASSERT_EQ(found.size(), 1u);
    xid_ = found.front();
    Xdotool({"windowfocus", std::to_string(xid_)});
  }
  void TearDown() override {
    if (window_) window_->hide();
    window_.reset();
    Fl::check();
  }

  // Clicks at a point of the window (which sits at the screen's corner).
  void Click(int x, int y) {
    Xdotool({"mousemove", std::to_string(x), std::to_string(y), "click", "1"});
  }
  void Key(const std::string& key) { Xdotool({"key", key}); }

  PlayerButton& Button(PlayerControl control) {
    return *static_cast<PlayerButton*>(window_->control(control));
  }
  TrackBar& Bar(PlayerControl control) {
    return *static_cast<TrackBar*>(window_->control(control));
  }
  bool PlayCommandSent() const {
    return std::any_of(commands_.begin(), commands_.end(), [](const std::string& command) {
      return command.rfind("play mciAlias", 0) == 0;
    });
  }
  std::string StartWithWave() {
    const std::string wav = WriteWav("ton.wav").string();
    app_.Start({wav});
    window_->Sync();
    return wav;
  }

  X11Windows x11_;
  std::unique_ptr<PlayerWindow> window_;
  unsigned long xid_ = 0;
};

TEST_F(PlayerWindowTest, ShowsTheScreenAndKeepsTheKeysAfterAClick) {
  StartWithWave();
  EXPECT_STREQ(window_->label(), "LORIX-Player V.1.5.0.100");
  EXPECT_EQ(window_->status_line().text(), app_.screen().LineStatus);
  EXPECT_EQ(window_->file_line().text(), app_.screen().LineFile);
  EXPECT_EQ(window_->position_label().text(), app_.screen().LabelPosition);
  EXPECT_TRUE(Button(PlayerControl::kBtnPlay).active());
  EXPECT_TRUE(Button(PlayerControl::kBtnStop).active());
  EXPECT_EQ(x11_.Geometry(xid_), (WindowGeometry{0, 0, 237, 155, true}));

  // The view button widens the window; E afterwards narrows it again, so the button did not
  // keep the keys for itself.
  Click(97, 130);
  ASSERT_TRUE(PumpUntil([&] { return window_->w() == 606; })) << "the view did not widen";
  EXPECT_TRUE(PumpUntil([&] {
    return x11_.Geometry(xid_) == WindowGeometry{0, 0, 606, 200, true};
  }));
  Key("e");
  ASSERT_TRUE(PumpUntil([&] { return window_->w() == 237; })) << "E did not reach the handlers";
  EXPECT_EQ(window_->h(), 155);

  // The space bar pauses and resumes; the pause button shows which.
  Key("space");
  ASSERT_TRUE(PumpUntil([&] { return app_.playback().PlaybackPaused(); }));
  EXPECT_EQ(Button(PlayerControl::kBtnPause).icon(), PlayerIcon::kPausing);
  Click(157, 27);  // stop
  ASSERT_TRUE(PumpUntil([&] { return !app_.playback().PlaybackActive(); }));
  EXPECT_EQ(Button(PlayerControl::kBtnPause).icon(), PlayerIcon::kPause);
  EXPECT_FALSE(Button(PlayerControl::kBtnPause).active());
  EXPECT_EQ(window_->status_line().text(), app_.screen().LineStatus);
  Key("space");
  EXPECT_TRUE(PumpUntil([&] { return app_.playback().PlaybackActive(); }));
}

TEST_F(PlayerWindowTest, ArrowKeysGoToTheHandlersEvenAfterTheBarWasClicked) {
  StartWithWave();
  TrackBar& bar = Bar(PlayerControl::kTrackPosition);
  // A click on the thumb without moving it: the bar would take the arrows if it kept the focus.
  TakeCommands();
  Click(bar.ThumbCentre(bar.value()), 68);
  ASSERT_TRUE(PumpUntil([&] { return PlayCommandSent(); })) << "the release was not reported";
  TakeCommands();
  Key("Right");
  ASSERT_TRUE(PumpUntil([&] { return app_.screen().TrackPosition > 0; }))
      << "the arrow did not reach the handlers";
  EXPECT_EQ(bar.value(), app_.screen().TrackPosition);
  // Letting go of the key plays from the new place.
  EXPECT_TRUE(PumpUntil([&] { return PlayCommandSent(); }));
}

TEST_F(PlayerWindowTest, TheVolumeBarFollowsDragsClicksAndTheWheel) {
  TrackBar& bar = Bar(PlayerControl::kTrackVolume);
  ASSERT_TRUE(PumpUntil([&] { return bar.value() == MixerToPlayerTrack(50000); }))
      << "the timer did not show the speakers' volume";
  const int from = bar.ThumbCentre(bar.value());
  Xdotool({"mousemove", "214", std::to_string(from), "mousedown", "1", "mousemove", "214",
           std::to_string(from + 20), "mousemove", "214", std::to_string(from + 40), "mouseup",
           "1"});
  // The handlers set the speakers to where the thumb was let go; the timer then shows the
  // speakers' volume as read back.
  const auto speakers = [&] { return mixer_backend_.value(kSpeakersVolume); };
  const auto shows_speakers = [&] { return bar.value() == MixerToPlayerTrack(speakers()); };
  ASSERT_TRUE(PumpUntil([&] { return speakers() == SliderToMixer(bar.ValueAt(from + 40)); }))
      << bar.value();
  EXPECT_TRUE(PumpUntil(shows_speakers));

  // A click in the channel above the thumb pages toward it: louder.
  const std::uint32_t dragged = speakers();
  Click(214, bar.y() + 3);
  ASSERT_TRUE(PumpUntil([&] { return speakers() > dragged; }));
  EXPECT_TRUE(PumpUntil(shows_speakers));

  // A wheel notch down: a step toward the bottom, quieter.
  const std::uint32_t paged = speakers();
  Xdotool({"mousemove", "214", "60", "click", "5"});
  ASSERT_TRUE(PumpUntil([&] { return speakers() < paged; }));
  EXPECT_TRUE(PumpUntil(shows_speakers));
}

TEST_F(PlayerWindowTest, DroppedFilesAreLoadedOneAfterTheOther) {
  const fs::path foreign = dir_.path() / "Mein Brief ä.txt";
  std::ofstream(foreign) << "kein Ton";
  const fs::path wav = WriteWav("Grüße 1.wav");
  std::atomic<bool> done = false;
  std::string result;
  std::thread source([&] {
    result = DropUriList(xid_, 100, 100,
                         FileUri(foreign.string()) + "\r\n" + FileUri(wav.string()) + "\r\n");
    done = true;
  });
  const bool finished = PumpUntil([&] { return done.load(); }, 10s);
  source.join();
  ASSERT_TRUE(finished);
  EXPECT_EQ(result, "");
  ASSERT_TRUE(PumpUntil([&] { return app_.CurrentWavFile() == wav.string(); }))
      << "the files were not loaded";
  ASSERT_EQ(dialogs_.shown.size(), 1u);
  EXPECT_EQ(dialogs_.shown[0].caption, "Information");
  EXPECT_NE(dialogs_.shown[0].text.find(foreign.string()), std::string::npos)
      << dialogs_.shown[0].text;
  EXPECT_NE(window_->file_line().text().find(wav.string()), std::string::npos);
}

// A message box answered through the display: `act` runs once the box is up and gets the box;
// what the box shows is noted before.
class FltkDialogsTest : public ::testing::Test {
 protected:
  using Action = std::function<void(Fl_Window& box, unsigned long xid)>;

  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(RequireDisplay());
    ASSERT_TRUE(x11_.connected());
  }

  DialogAnswer ShowAndDo(const DialogRequest& request, Action act) {
    request_ = &request;
    act_ = std::move(act);
    acted_ = false;
    labels_.clear();
    text_.clear();
    picture_ = false;
    Fl::add_timeout(0.05, &FltkDialogsTest::Poll, this);
    const DialogAnswer answer = dialogs_.Show(request);
    Fl::remove_timeout(&FltkDialogsTest::Poll, this);
    EXPECT_TRUE(acted_) << "the box was never seen";
    return answer;
  }

  // Waits for the box to be on the display under its caption, then acts on it once.
  static void Poll(void* data) {
    auto* self = static_cast<FltkDialogsTest*>(data);
    Fl_Window* box = Fl::modal();
    const auto found = self->x11_.Find(self->request_->caption);
    if (found.size() != 1 || !box) {
      Fl::repeat_timeout(0.05, &FltkDialogsTest::Poll, data);
      return;
    }
    self->acted_ = true;
    for (int i = 0; i < box->children(); ++i) {
      Fl_Widget* child = box->child(i);
      self->picture_ |= child->image() != nullptr;
      if (dynamic_cast<Fl_Button*>(child)) {
        self->labels_.emplace_back(child->label());
      } else if (child->label()) {
        self->text_ = child->label();
      }
    }
    self->act_(*box, found.front());
  }

  static Action Click(int index) {
    return [index](Fl_Window& box, unsigned long) {
      std::vector<Fl_Widget*> buttons;
      for (int i = 0; i < box.children(); ++i) {
        if (dynamic_cast<Fl_Button*>(box.child(i))) buttons.push_back(box.child(i));
      }
      const Fl_Widget& button = *buttons.at(index);
      Xdotool({"mousemove", std::to_string(box.x() + button.x() + button.w() / 2),
               std::to_string(box.y() + button.y() + button.h() / 2), "click", "1"});
    };
  }
  static Action Press(const std::string& key) {
    return [key](Fl_Window&, unsigned long xid) {
      Xdotool({"windowfocus", std::to_string(xid), "key", key});
    };
  }
  Action Close() {
    return [this](Fl_Window&, unsigned long xid) { x11_.RequestClose(xid); };
  }

  X11Windows x11_;
  FltkDialogs dialogs_;
  const DialogRequest* request_ = nullptr;
  Action act_;
  bool acted_ = false;
  std::vector<std::string> labels_;
  std::string text_;
  bool picture_ = false;
};

TEST_F(FltkDialogsTest, ShowsCaptionTextAndPicture) {
  const DialogRequest request{"Frage an Sie", "Zeile eins\r\nautor@lorix.example",
                              DialogIcon::kQuestion, DialogButtons::kYesNo};
  EXPECT_EQ(ShowAndDo(request, Click(1)), DialogAnswer::kNo);
  EXPECT_EQ(labels_, (std::vector<std::string>{"Ja", "Nein"}));
  EXPECT_EQ(text_, LabelText(request.text));
  EXPECT_TRUE(picture_);
}

TEST_F(FltkDialogsTest, GermanButtonsKeysAndClosingGiveTheirAnswers) {
  using Labels = std::vector<std::string>;
  const Labels ok{"OK"}, ok_cancel{"OK", "Abbrechen"}, yes_no{"Ja", "Nein"};
  const struct {
    DialogButtons buttons;
    Action act;
    DialogAnswer expected;
    const Labels& labels;
    const char* what;
  } cases[] = {
      {DialogButtons::kOk, Press("Return"), DialogAnswer::kOk, ok, "OK by Enter"},
      {DialogButtons::kOk, Close(), DialogAnswer::kOk, ok, "OK box closed"},
      {DialogButtons::kOkCancel, Click(0), DialogAnswer::kOk, ok_cancel, "OK clicked"},
      {DialogButtons::kOkCancel, Click(1), DialogAnswer::kCancel, ok_cancel, "Abbrechen"},
      {DialogButtons::kOkCancel, Press("Escape"), DialogAnswer::kCancel, ok_cancel, "Escape"},
      {DialogButtons::kOkCancel, Close(), DialogAnswer::kCancel, ok_cancel, "closed"},
      {DialogButtons::kYesNo, Click(0), DialogAnswer::kYes, yes_no, "Ja clicked"},
      {DialogButtons::kYesNo, Press("Return"), DialogAnswer::kYes, yes_no, "Ja by Enter"},
      {DialogButtons::kYesNo, Close(), DialogAnswer::kNo, yes_no, "question closed"},
  };
  for (const auto& c : cases) {
    const DialogRequest request{"Information", "Text", DialogIcon::kNone, c.buttons};
    EXPECT_EQ(ShowAndDo(request, c.act), c.expected) << c.what;
    EXPECT_EQ(labels_, c.labels) << c.what;
    EXPECT_FALSE(picture_) << "a box without an icon shows none";
  }
}

}  // namespace
}  // namespace lorix::testing
