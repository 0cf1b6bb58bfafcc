#pragma once

// A track bar as the player shows them: values 0..kTrackMax from left to right or from top to
// bottom, a tick every kTrackPageSize, a 12-pixel thumb. Dragging the thumb reports thumb-track
// codes and an end code on release; a click in the channel moves the thumb a page toward the
// click, a wheel notch a line, each followed by an end code. The bar never takes the keyboard
// focus: the arrow keys belong to the window, whose handlers move the bars themselves.

#include <FL/Fl_Widget.H>

#include <functional>

namespace lorix {

class TrackBar : public Fl_Widget {
 public:
  enum class Orientation {
    kHorizontalTicksAbove,  // the thumb points up at the ticks
    kVerticalTicksBothSides,
  };

  // Receives the scroll code (kScroll... of player_screen.h) and the bar's new value.
  using ScrollHandler = std::function<void(int code, int value)>;

  TrackBar(int x, int y, int w, int h, Orientation orientation);

  void OnScroll(ScrollHandler handler) { handler_ = std::move(handler); }

  int value() const { return value_; }
  // Moves the thumb without reporting; redraws only when the value changes.
  void SetValue(int value);

  // The thumb's centre along the bar for `value`, in window coordinates, and back.
  int ThumbCentre(int value) const;
  int ValueAt(int position) const;

  int handle(int event) override;

 protected:
  void draw() override;

 private:
  bool horizontal() const { return orientation_ == Orientation::kHorizontalTicksAbove; }
  // The range of thumb centres along the bar.
  int TrackStart() const;
  int TrackEnd() const;
  int EventPosition() const;
  void Move(int value, int code);
  void DrawTicks(int across_from, int across_to) const;
  void DrawHorizontalThumb(int centre) const;

  Orientation orientation_;
  ScrollHandler handler_;
  int value_ = 0;
  bool dragging_ = false;
  bool paging_ = false;
  int grab_offset_ = 0;
};

}  // namespace lorix
