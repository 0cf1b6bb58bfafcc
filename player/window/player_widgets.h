#pragma once

// The player window's buttons and text lines. None of them takes the keyboard focus: every key
// belongs to the window, which passes it to the handlers (a focused button would take the
// space bar for itself).

#include <FL/Fl_Button.H>
#include <FL/Fl_Widget.H>

#include <cstddef>
#include <string>

#include "player/player_screen.h"

namespace lorix {

class PlayerButton : public Fl_Button {
 public:
  // `label` is shown as it is: no '&' shortcut marks (the window strips them beforehand).
  PlayerButton(int x, int y, int w, int h, const std::string& label);

  // Shows `icon` instead of the caption, greyed while the button is disabled.
  void ShowIcon(PlayerIcon icon);
  PlayerIcon icon() const { return icon_; }

  int handle(int event) override;

 private:
  PlayerIcon icon_ = PlayerIcon::kMainIcon;
};

// One line of text without a frame, such as the status and file lines. The text is drawn as it
// is ('@' and '&' included) and clipped to the line; a click hands the focus to the window.
class TextLine : public Fl_Widget {
 public:
  TextLine(int x, int y, int w, int h, Fl_Align align);

  // Redraws only when the text changes.
  void SetText(const std::string& text);
  // As SetText, but a text too long for the line is shortened in its middle: its first
  // `keep_front` and last `keep_back` bytes stay in view.
  void SetTextCutInTheMiddle(const std::string& text, std::size_t keep_front,
                             std::size_t keep_back);
  const std::string& text() const { return text_; }

  int handle(int event) override;

 protected:
  void draw() override;

 private:
  std::string text_;
  Fl_Align text_align_;
  bool cut_in_the_middle_ = false;
  std::size_t keep_front_ = 0;
  std::size_t keep_back_ = 0;
};

}  // namespace lorix
