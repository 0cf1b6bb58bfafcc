#include "player/window/track_bar.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <cmath>

#include "player/player_screen.h"

namespace lorix {
namespace {

constexpr int kThumbLength = 12;
constexpr int kTrackMargin = kThumbLength / 2 + 2;  // from the bar's ends to the thumb centres
constexpr int kTickLength = 4;
constexpr int kChannelWidth = 4;

}  // namespace

TrackBar::TrackBar(int x, int y, int w, int h, Orientation orientation)
    : Fl_Widget(x, y, w, h), orientation_(orientation) {
  box(FL_NO_BOX);
  clear_visible_focus();
}

void TrackBar::SetValue(int value) {
  value = std::clamp(value, 0, kTrackMax);
  if (value == value_) return;
  value_ = value;
  redraw();
}

int TrackBar::TrackStart() const {
  return (horizontal() ? x() : y()) + kTrackMargin;
}

int TrackBar::TrackEnd() const {
  return (horizontal() ? x() + w() : y() + h()) - 1 - kTrackMargin;
}

int TrackBar::ThumbCentre(int value) const {
  const double share = static_cast<double>(std::clamp(value, 0, kTrackMax)) / kTrackMax;
  return TrackStart() + static_cast<int>(std::lround(share * (TrackEnd() - TrackStart())));
}

int TrackBar::ValueAt(int position) const {
  const double share = static_cast<double>(position - TrackStart()) / (TrackEnd() - TrackStart());
  return std::clamp(static_cast<int>(std::lround(share * kTrackMax)), 0, kTrackMax);
}

int TrackBar::EventPosition() const {
  return horizontal() ? Fl::event_x() : Fl::event_y();
}

void TrackBar::Move(int value, int code) {
  value_ = std::clamp(value, 0, kTrackMax);
  redraw();
  if (handler_) handler_(code, value_);
}

int TrackBar::handle(int event) {
  switch (event) {
    case FL_PUSH: {
      if (Fl::event_button() != FL_LEFT_MOUSE) return 0;
      const int position = EventPosition();
      const int centre = ThumbCentre(value_);
      if (std::abs(position - centre) <= kThumbLength / 2) {
        dragging_ = true;
        grab_offset_ = position - centre;
      } else if (position < centre) {
        paging_ = true;
        Move(value_ - kTrackPageSize, kScrollPageUp);
      } else {
        paging_ = true;
        Move(value_ + kTrackPageSize, kScrollPageDown);
      }
      return 1;
    }
    case FL_DRAG:
    case FL_RELEASE: {
      // X may merge the last moves into the release, so it counts as a move too.
      if (dragging_) {
        const int value = ValueAt(EventPosition() - grab_offset_);
        if (value != value_) Move(value, kScrollThumbTrack);
      }
      if (event == FL_DRAG) return 1;
      if (dragging_ || paging_) {
        dragging_ = paging_ = false;
        if (handler_) handler_(kScrollEndScroll, value_);
      }
      return 1;
    }
    case FL_MOUSEWHEEL: {
      const int steps = Fl::event_dy() != 0 ? Fl::event_dy() : Fl::event_dx();
      if (steps == 0) return 0;
      Move(value_ + (steps > 0 ? kTrackLineSize : -kTrackLineSize),
           steps > 0 ? kScrollLineDown : kScrollLineUp);
      if (handler_) handler_(kScrollEndScroll, value_);
      return 1;
    }
    default:
      // No focus, no keys: they go on to the window.
      return 0;
  }
}

void TrackBar::DrawTicks(int across_from, int across_to) const {
  fl_color(FL_BLACK);
  for (int value = 0; value <= kTrackMax; value += kTrackPageSize) {
    const int along = ThumbCentre(value);
    if (horizontal()) {
      fl_yxline(along, across_from, across_to);
    } else {
      fl_xyline(across_from, along, across_to);
    }
  }
}

// A thumb pointing up: a grey face, light edges on the left and the upper left slope, dark
// ones on the right, the upper right slope and the bottom.
void TrackBar::DrawHorizontalThumb(int centre) const {
  const int left = centre - kThumbLength / 2;
  const int right = left + kThumbLength - 1;
  const int tip = y() + kTickLength + 3;
  const int shoulder = tip + kThumbLength / 2 - 1;
  const int bottom = y() + h() - 3;
  fl_color(FL_BACKGROUND_COLOR);
  fl_polygon(left, bottom, left, shoulder, left + 5, tip, left + 6, tip);
  fl_polygon(left, bottom, left + 6, tip, right, shoulder, right, bottom);
  fl_color(FL_WHITE);
  fl_line(left, bottom - 1, left, shoulder, left + 5, tip);
  fl_color(FL_DARK3);
  fl_line(right - 1, shoulder, right - 1, bottom - 1, left + 1, bottom - 1);
  fl_color(FL_BLACK);
  fl_line(left + 6, tip, right, shoulder, right, bottom);
  fl_xyline(left, bottom, right);
}

void TrackBar::draw() {
  fl_push_clip(x(), y(), w(), h());
  fl_color(parent() ? parent()->color() : FL_BACKGROUND_COLOR);
  fl_rectf(x(), y(), w(), h());
  const int start = TrackStart() - 2;
  const int length = TrackEnd() - TrackStart() + 5;
  const int centre = ThumbCentre(value_);
  if (horizontal()) {
    DrawTicks(y() + 1, y() + kTickLength);
    const int body_middle = (y() + kTickLength + 3 + kThumbLength / 2 + y() + h() - 3) / 2;
    fl_draw_box(FL_THIN_DOWN_BOX, start, body_middle - kChannelWidth / 2, length, kChannelWidth,
                FL_WHITE);
    DrawHorizontalThumb(centre);
  } else {
    DrawTicks(x() + 2, x() + 1 + kTickLength);
    DrawTicks(x() + w() - 2 - kTickLength, x() + w() - 3);
    const int middle = x() + w() / 2;
    fl_draw_box(FL_THIN_DOWN_BOX, middle - kChannelWidth / 2, start, kChannelWidth, length,
                FL_WHITE);
    const int thumb_width = w() - 2 * (kTickLength + 4);
    fl_draw_box(FL_UP_BOX, middle - thumb_width / 2, centre - kThumbLength / 2, thumb_width,
                kThumbLength, FL_BACKGROUND_COLOR);
  }
  fl_pop_clip();
}

}  // namespace lorix
