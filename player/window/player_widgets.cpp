#include "player/window/player_widgets.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>

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
  Fl_Align align = text_align_ | FL_ALIGN_INSIDE | FL_ALIGN_CLIP;
  // A line too long for the control shows its beginning, as an edit field does.
  if (fl_width(text_.c_str()) > w() - 4) align = FL_ALIGN_LEFT | FL_ALIGN_INSIDE | FL_ALIGN_CLIP;
  fl_draw(text_.c_str(), x() + 2, y(), w() - 4, h(), align, nullptr, 0);
  fl_pop_clip();
}

}  // namespace lorix
