#include "player/window/player_widgets.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>

#include "player/middle_cut.h"
#include "player/window/fltk_images.h"

namespace lorix {

PlayerButton::PlayerButton(int x, int y, int w, int h, const std::string& label)
    : Fl_Button(x, y, w, h) {
  copy_label(label.c_str());
  clear_flag(SHORTCUT_LABEL);
  clear_visible_focus();
}

void PlayerButton::ShowIcon(PlayerIcon icon) {
  if (image() && icon == icon_) return;
  icon_ = icon;
  image(ButtonImage(icon));
  deimage(InactiveButtonImage(icon));
  label(nullptr);
  redraw();
}

int PlayerButton::handle(int event) {
  switch (event) {
    case FL_FOCUS:
    case FL_UNFOCUS:
    case FL_KEYBOARD:
    case FL_KEYUP:
    case FL_SHORTCUT:
      return 0;
    default:
      return Fl_Button::handle(event);
  }
}

TextLine::TextLine(int x, int y, int w, int h, Fl_Align align)
    : Fl_Widget(x, y, w, h), text_align_(align) {
  box(FL_NO_BOX);
  clear_visible_focus();
}

void TextLine::SetText(const std::string& text) {
  if (text == text_) return;
  text_ = text;
  redraw();
}

void TextLine::SetTextCutInTheMiddle(const std::string& text, std::size_t keep_front,
                                     std::size_t keep_back) {
  if (!cut_in_the_middle_ || keep_front != keep_front_ || keep_back != keep_back_) redraw();
  cut_in_the_middle_ = true;
  keep_front_ = keep_front;
  keep_back_ = keep_back;
  SetText(text);
}

int TextLine::handle(int event) {
  if (event == FL_PUSH) {
    if (Fl_Window* w = window()) Fl::focus(w);
    return 1;
  }
  return 0;
}

void TextLine::draw() {
  // The parent's background shows through the line; it is redrawn here so that a shorter text
  // leaves nothing of the longer one behind.
  fl_push_clip(x(), y(), w(), h());
  fl_color(parent() ? parent()->color() : FL_BACKGROUND_COLOR);
  fl_rectf(x(), y(), w(), h());
  fl_font(labelfont(), labelsize());
  fl_color(active_r() ? labelcolor() : fl_inactive(labelcolor()));
  const int width = w() - 4;
  const std::string shown =
      cut_in_the_middle_
          ? CutInTheMiddle(text_, keep_front_, keep_back_, width,
                           [](std::string_view text) {
                             return fl_width(text.data(), static_cast<int>(text.size()));
                           })
          : text_;
  Fl_Align align = text_align_ | FL_ALIGN_INSIDE | FL_ALIGN_CLIP;
  // A line still too long for the control shows its beginning, as an edit field does.
  if (fl_width(shown.c_str()) > width) align = FL_ALIGN_LEFT | FL_ALIGN_INSIDE | FL_ALIGN_CLIP;
  fl_draw(shown.c_str(), x() + 2, y(), width, h(), align, nullptr, 0);
  fl_pop_clip();
}

}  // namespace lorix
