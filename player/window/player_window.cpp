#include "player/window/player_window.h"

#include <FL/Fl.H>

#include <chrono>
#include <string_view>

#include "player/window/drop_text.h"
#include "player/window/fltk_images.h"
#include "player/window/key_map.h"
#include "player/window/label_text.h"

namespace lorix {
namespace {

// The small font of the texts: about a 14-pixel line.
constexpr Fl_Font kTextFont = FL_HELVETICA;
constexpr Fl_Fontsize kTextSize = 11;
constexpr double kTimerSeconds = std::chrono::duration<double>(kPlayerTimerPeriod).count();
// Files dropped just before a message box opened wait this long between looks.
constexpr double kDropRetrySeconds = 0.1;

void SetEnabled(Fl_Widget* widget, bool enabled) {
  if (enabled && !widget->active()) widget->activate();
  if (!enabled && widget->active()) widget->deactivate();
}

Fl_Align TextAlign(ControlAlign align) {
  switch (align) {
    case ControlAlign::kLeft:
      return FL_ALIGN_LEFT;
    case ControlAlign::kRight:
      return FL_ALIGN_RIGHT;
    case ControlAlign::kCenter:
      break;
  }
  return FL_ALIGN_CENTER;
}

}  // namespace

PlayerWindow::PlayerWindow(PlayerApp& app)
    : Fl_Double_Window(0, 0, kCompactView.client_width, kCompactView.client_height),
      app_(app),
      glue_(app) {
  // Children keep their places when the view changes the window's size.
  resizable(nullptr);
  xclass("LorixPlayer");
  icon(WindowIconImage());
  callback(&PlayerWindow::CloseCallback, this);
  for (const PlayerControlRow& row : PlayerControlTable()) controls_.push_back({Create(row), &row});
  end();

  Sync();
}

PlayerWindow::~PlayerWindow() {
  StopTimer();
}

Fl_Widget* PlayerWindow::Create(const PlayerControlRow& row) {
  const auto [x, y, w, h] = row.rect;
  Fl_Widget* widget = nullptr;
  switch (row.kind) {
    case ControlKind::kFrame:
      widget = new Fl_Box(FL_ENGRAVED_FRAME, x, y, w, h, nullptr);
      break;
    case ControlKind::kButton:
    case ControlKind::kIconButton: {
      auto* button = new PlayerButton(x, y, w, h, CaptionLabel(row.caption));
      button->callback(&PlayerWindow::ButtonCallback, this);
      if (row.kind == ControlKind::kIconButton) button->ShowIcon(row.icon);
      // A left-aligned caption keeps to its own line breaks; a centred one may wrap.
      if (row.align == ControlAlign::kLeft) {
        button->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE);
      } else if (row.flags & kControlWraps) {
        button->align(FL_ALIGN_CENTER | FL_ALIGN_INSIDE | FL_ALIGN_WRAP);
      }
      widget = button;
      break;
    }
    case ControlKind::kTrackBar: {
      auto* bar = new TrackBar(x, y, w, h,
                               (row.flags & kControlVertical)
                                   ? TrackBar::Orientation::kVerticalTicksBothSides
                                   : TrackBar::Orientation::kHorizontalTicksAbove);
      bar->OnScroll([this, id = row.id](int code, int value) {
        glue_.Scroll(id, code, value, value);
        AfterEvent();
      });
      widget = bar;
      break;
    }
    case ControlKind::kLabel:
    case ControlKind::kEditLine: {
      auto* line = new TextLine(x, y, w, h, TextAlign(row.align));
      line->SetText(row.caption);
      widget = line;
      break;
    }
    case ControlKind::kIcon:
      widget = new Fl_Box(x, y, w, h);
      widget->image(ButtonImage(row.icon));
      widget->align(FL_ALIGN_CENTER | FL_ALIGN_INSIDE | FL_ALIGN_CLIP);
      break;
  }
  if (row.font == ControlFont::kSmall) {
    widget->labelfont(kTextFont);
    widget->labelsize(kTextSize);
  }
  if (row.text_colour) {
    widget->labelcolor(fl_rgb_color(row.text_colour->r, row.text_colour->g, row.text_colour->b));
  }
  if (!row.hint.empty()) widget->copy_tooltip(row.hint.c_str());
  return widget;
}

Fl_Widget* PlayerWindow::control(PlayerControl which) const {
  for (const Control& control : controls_) {
    if (control.row->id == which) return control.widget;
  }
  return nullptr;
}

const TextLine& PlayerWindow::TextOf(PlayerControl which) const {
  return *static_cast<const TextLine*>(control(which));
}

void PlayerWindow::Sync() {
  const PlayerScreen& screen = app_.screen();
  if (screen.Title != title_) {
    title_ = screen.Title;
    copy_label(title_.c_str());
  }
  for (const Control& control : controls_) SyncControl(control, screen);
  const PlayerView& view = ViewOf(screen);
  if (view.client_width != w() || view.client_height != h()) {
    // A fixed size in either view: the window manager offers no resizing.
    size_range(view.client_width, view.client_height, view.client_width, view.client_height);
    size(view.client_width, view.client_height);
    redraw();
  }
}

// The widget's type follows from the row's kind: text rows are lines, position rows bars, and
// only buttons show an icon of the screen.
void PlayerWindow::SyncControl(const Control& control, const PlayerScreen& screen) {
  const PlayerControlRow& row = *control.row;
  if (row.text) {
    auto* line = static_cast<TextLine*>(control.widget);
    if (row.kind == ControlKind::kEditLine) {
      line->SetTextCutInTheMiddle(screen.*row.text, screen.LineFileLabelSize,
                                  screen.LineFileLengthSize);
    } else {
      line->SetText(screen.*row.text);
    }
  }
  if (row.position) static_cast<TrackBar*>(control.widget)->SetValue(screen.*row.position);
  if (row.enabled) SetEnabled(control.widget, screen.*row.enabled);
  if (row.shown_icon) static_cast<PlayerButton*>(control.widget)->ShowIcon(screen.*row.shown_icon);
}

void PlayerWindow::Show() {
  show();
  wait_for_expose();
  // FLTK keeps a new window clear of an assumed frame; the player's place is the corner.
  position(0, 0);
  Fl::flush();
}

void PlayerWindow::Repaint() {
  if (!glue_.RepaintDue()) return;
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
  if (window->glue_.TimerTick()) window->Sync();
}

void PlayerWindow::ButtonCallback(Fl_Widget* widget, void* data) {
  static_cast<PlayerWindow*>(data)->OnButton(widget);
}

void PlayerWindow::OnButton(Fl_Widget* widget) {
  for (const Control& control : controls_) {
    if (control.widget == widget) {
      app_.Command(control.row->id);
      break;
    }
  }
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
  if (window->dropped_files_.empty()) return;
  // A box opened between the drop and now: the files wait until it is closed.
  if (!window->glue_.DropAllowed()) {
    Fl::repeat_timeout(kDropRetrySeconds, &PlayerWindow::DropCallback, data);
    return;
  }
  const std::vector<std::string> files = std::move(window->dropped_files_);
  window->dropped_files_.clear();
  window->glue_.DropFiles(files);
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
      if (!glue_.DropAllowed()) return 0;
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
  window->glue_.Close();
  window->hide();
}

}  // namespace lorix
