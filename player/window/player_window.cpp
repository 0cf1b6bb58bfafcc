#include "player/window/player_window.h"

#include <FL/Fl.H>

#include <string_view>

#include "player/player_texts.h"
#include "player/window/drop_text.h"
#include "player/window/fltk_images.h"
#include "player/window/key_map.h"
#include "player/window/label_text.h"

namespace lorix {
namespace {

// The small font of the texts: about a 14-pixel line.
constexpr Fl_Font kTextFont = FL_HELVETICA;
constexpr Fl_Fontsize kTextSize = 11;
constexpr double kTimerSeconds = 0.1;

void AddFrame(int x, int y, int w, int h) {
  new Fl_Box(FL_ENGRAVED_FRAME, x, y, w, h, nullptr);
}

void SmallFont(Fl_Widget* widget) {
  widget->labelfont(kTextFont);
  widget->labelsize(kTextSize);
}

void SetEnabled(Fl_Widget* widget, bool enabled) {
  if (enabled && !widget->active()) widget->activate();
  if (!enabled && widget->active()) widget->deactivate();
}

}  // namespace

PlayerWindow::PlayerWindow(PlayerApp& app)
    : Fl_Double_Window(0, 0, kCompactClientWidth, kCompactClientHeight), app_(app) {
  // Children keep their places when the view changes the window's size.
  resizable(nullptr);
  xclass("LorixPlayer");
  icon(WindowIconImage());
  callback(&PlayerWindow::CloseCallback, this);

  AddFrame(3, 3, 188, 96);
  btn_play_ = AddButton(7, 7, 60, 40, "Play", PlayerControl::kBtnPlay);
  btn_play_->ShowIcon(PlayerIcon::kPlay);
  btn_pause_ = AddButton(67, 7, 60, 40, "Pause", PlayerControl::kBtnPause);
  btn_pause_->ShowIcon(PlayerIcon::kPause);
  btn_stop_ = AddButton(127, 7, 60, 40, "Stop", PlayerControl::kBtnStop);
  btn_stop_->ShowIcon(PlayerIcon::kStop);
  AddFrame(7, 47, 180, 48);
  track_position_ = AddTrackBar(12, 52, 171, 24, TrackBar::Orientation::kHorizontalTicksAbove,
                                PlayerControl::kTrackPosition);
  label_position_ = AddLine(11, 75, 172, 16, FL_ALIGN_RIGHT, "Start-Pos.:   0 Sek.  ");
  SmallFont(label_position_);

  AddFrame(3, 106, 188, 48);
  btn_wave_app_ = AddButton(7, 110, 60, 40, "Exter&ne A&nwdg.", PlayerControl::kBtnWaveApp);
  btn_wave_app_->align(FL_ALIGN_CENTER | FL_ALIGN_INSIDE | FL_ALIGN_WRAP);
  SmallFont(btn_wave_app_);
  AddButton(67, 110, 60, 40, "L&orix", PlayerControl::kBtnView)->ShowIcon(PlayerIcon::kLorix);
  AddButton(127, 110, 60, 40, "Mixer", PlayerControl::kBtnMixer)->ShowIcon(PlayerIcon::kMixer);
  SmallFont(AddButton(194, 3, 40, 18, "&Hilfe?", PlayerControl::kBtnHelp));

  AddFrame(194, 23, 40, 131);
  Fl_Box* speaker = new Fl_Box(198, 126, 32, 24);
  speaker->image(ButtonImage(PlayerIcon::kSpeaker));
  speaker->align(FL_ALIGN_CENTER | FL_ALIGN_INSIDE | FL_ALIGN_CLIP);
  track_volume_ = AddTrackBar(198, 27, 32, 103, TrackBar::Orientation::kVerticalTicksBothSides,
                              PlayerControl::kTrackVolume);

  AddFrame(3, 157, 599, 40);
  line_status_ = AddLine(7, 161, 589, 16, FL_ALIGN_CENTER, "Status");
  SmallFont(line_status_);
  line_file_ = AddLine(7, 177, 589, 16, FL_ALIGN_CENTER, "(-)");
  SmallFont(line_file_);
  line_file_->labelcolor(FL_WHITE);
  controls_.emplace_back(line_file_, PlayerControl::kLineFile);

  AddFrame(237, 3, 365, 151);
  PlayerButton* info = AddButton(241, 7, 357, 39, InfoCaption(), PlayerControl::kBtnInfo);
  info->align(FL_ALIGN_CENTER | FL_ALIGN_INSIDE | FL_ALIGN_WRAP);
  SmallFont(info);
  TextLine* internet = AddLine(241, 52, 357, 16, FL_ALIGN_LEFT, kPlayerInternetLabel);
  SmallFont(internet);
  internet->labelcolor(fl_rgb_color(255, 255, 0));
  const struct {
    int y, h;
    std::string caption;
    PlayerControl link, copy;
  } links[] = {
      {68, 22, WebPageCaption(), PlayerControl::kBtnWebPage, PlayerControl::kBtnCopyWebPage},
      {90, 38, DownloadCaption(), PlayerControl::kBtnDownload, PlayerControl::kBtnCopyDownload},
      {128, 22, MailCaption(), PlayerControl::kBtnMail, PlayerControl::kBtnCopyMail},
  };
  for (const auto& link : links) {
    PlayerButton* button = AddButton(241, link.y, 309, link.h, link.caption, link.link);
    button->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE);
    SmallFont(button);
    SmallFont(AddButton(550, link.y, 48, link.h, "(Copy)", link.copy));
  }
  end();

  Sync();
}

PlayerWindow::~PlayerWindow() {
  StopTimer();
}

PlayerButton* PlayerWindow::AddButton(int x, int y, int w, int h, const std::string& caption,
                                      PlayerControl control) {
  PlayerButton* button = new PlayerButton(x, y, w, h, CaptionLabel(caption));
  button->callback(&PlayerWindow::ButtonCallback, this);
  controls_.emplace_back(button, control);
  return button;
}

TrackBar* PlayerWindow::AddTrackBar(int x, int y, int w, int h, TrackBar::Orientation orientation,
                                    PlayerControl control) {
  TrackBar* bar = new TrackBar(x, y, w, h, orientation);
  bar->OnScroll([this, control](int code, int value) { OnScroll(control, code, value); });
  controls_.emplace_back(bar, control);
  return bar;
}

TextLine* PlayerWindow::AddLine(int x, int y, int w, int h, Fl_Align align,
                                const std::string& text) {
  TextLine* line = new TextLine(x, y, w, h, align);
  line->SetText(text);
  return line;
}

Fl_Widget* PlayerWindow::control(PlayerControl which) const {
  for (const auto& [widget, control] : controls_) {
    if (control == which) return widget;
  }
  return nullptr;
}

void PlayerWindow::Sync() {
  const PlayerScreen& screen = app_.screen();
  if (screen.Title != title_) {
    title_ = screen.Title;
    copy_label(title_.c_str());
  }
  line_status_->SetText(screen.LineStatus);
  line_file_->SetTextCutInTheMiddle(screen.LineFile, screen.LineFileLabelSize,
                                    screen.LineFileLengthSize);
  label_position_->SetText(screen.LabelPosition);
  track_position_->SetValue(screen.TrackPosition);
  track_volume_->SetValue(screen.TrackVolume);
  SetEnabled(btn_play_, screen.BtnPlayEnabled);
  SetEnabled(btn_pause_, screen.BtnPauseEnabled);
  SetEnabled(btn_stop_, screen.BtnStopEnabled);
  SetEnabled(btn_wave_app_, screen.BtnWaveAppEnabled);
  btn_pause_->ShowIcon(screen.PauseIcon);
  const int width = screen.ClientWidth();
  const int height = screen.ClientHeight();
  if (width != w() || height != h()) {
    // A fixed size in either view: the window manager offers no resizing.
    size_range(width, height, width, height);
    size(width, height);
    redraw();
  }
}

void PlayerWindow::Show() {
  show();
  wait_for_expose();
  // FLTK keeps a new window clear of an assumed frame; the player's place is the corner.
  position(0, 0);
  Fl::flush();
}

void PlayerWindow::Repaint() {
  // Decoding calls this every few thousand tokens; showing it 25 times a second is enough,
  // and drawing more often only delays the sound.
  const auto now = std::chrono::steady_clock::now();
  if (now - last_repaint_ < std::chrono::milliseconds(40)) return;
  last_repaint_ = now;
  Sync();
  Fl::flush();
}

void PlayerWindow::StartTimer() {
  if (timer_running_) return;
  timer_running_ = true;
  Fl::add_timeout(kTimerSeconds, &PlayerWindow::TimerCallback, this);
}

void PlayerWindow::StopTimer() {
  if (!timer_running_) return;
  timer_running_ = false;
  Fl::remove_timeout(&PlayerWindow::TimerCallback, this);
}

void PlayerWindow::TimerCallback(void* data) {
  auto* window = static_cast<PlayerWindow*>(data);
  Fl::repeat_timeout(kTimerSeconds, &PlayerWindow::TimerCallback, data);
  // A message box of a handler runs its own event loop; the ticks it lets through must not
  // run into a tick that is still going on.
  if (window->in_timer_) return;
  window->in_timer_ = true;
  window->app_.PlayerTimerTick();
  window->in_timer_ = false;
  window->Sync();
}

void PlayerWindow::ButtonCallback(Fl_Widget* widget, void* data) {
  static_cast<PlayerWindow*>(data)->OnButton(widget);
}

void PlayerWindow::OnButton(Fl_Widget* widget) {
  for (const auto& [button, control] : controls_) {
    if (button == widget) {
      app_.Command(control);
      break;
    }
  }
  AfterEvent();
}

void PlayerWindow::OnScroll(PlayerControl bar, int code, int value) {
  // The bar has moved itself; the handlers learn its place before the scroll code.
  if (code != kScrollEndScroll) app_.TrackBarMoved(bar, value);
  app_.HandleSliderScroll(code, value, bar);
  AfterEvent();
}

void PlayerWindow::OnKey(int event) {
  const PlayerKey key = PlayerKeyFromFltk(Fl::event_key());
  if (event == FL_KEYUP) {
    app_.KeyUp(key);
  } else {
    app_.KeyDown(key);
  }
  AfterEvent();
}

void PlayerWindow::OnDrop(const char* text, int length) {
  std::vector<std::string> files =
      FilesFromDropText(std::string_view(text ? text : "", text ? length : 0));
  if (files.empty()) return;
  // Loading may show a message box with its own event loop. Inside the paste that would keep
  // FLTK from telling the source that the drop is finished (file managers then wait or report
  // a failure), so the files are loaded right after the paste.
  dropped_files_.insert(dropped_files_.end(), files.begin(), files.end());
  Fl::add_timeout(0.0, &PlayerWindow::DropCallback, this);
}

void PlayerWindow::DropCallback(void* data) {
  auto* window = static_cast<PlayerWindow*>(data);
  const std::vector<std::string> files = std::move(window->dropped_files_);
  window->dropped_files_.clear();
  if (files.empty()) return;
  window->app_.DropFiles(files);
  window->AfterEvent();
}

void PlayerWindow::AfterEvent() {
  if (shown()) Fl::focus(this);
  Sync();
}

int PlayerWindow::handle(int event) {
  switch (event) {
    case FL_FOCUS:
    case FL_UNFOCUS:
      // The window itself holds the focus; no child is to get it.
      return 1;
    case FL_KEYDOWN:
    case FL_SHORTCUT:
    case FL_KEYUP:
      // Alt combinations belong to the window manager.
      if (Fl::event_state(FL_ALT)) return 0;
      OnKey(event);
      return 1;
    case FL_DND_ENTER:
    case FL_DND_DRAG:
    case FL_DND_RELEASE:
      // No drops while a message box of a handler is open.
      if (Fl::modal() && Fl::modal() != this) return 0;
      // The drop's text goes to the widget under the mouse: that is the window.
      Fl::belowmouse(this);
      return 1;
    case FL_DND_LEAVE:
      return 1;
    case FL_PASTE:
      OnDrop(Fl::event_text(), Fl::event_length());
      return 1;
    default:
      return Fl_Double_Window::handle(event);
  }
}

void PlayerWindow::CloseCallback(Fl_Widget*, void* data) {
  auto* window = static_cast<PlayerWindow*>(data);
  window->StopTimer();
  window->app_.PlayerShutdown();
  window->hide();
}

}  // namespace lorix
