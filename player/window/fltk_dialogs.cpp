#include "player/window/fltk_dialogs.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Double_Window.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "player/window/display.h"
#include "player/window/fltk_images.h"
#include "player/window/label_text.h"

namespace lorix {
namespace {

constexpr Fl_Font kFont = FL_HELVETICA;
constexpr Fl_Fontsize kFontSize = 12;
constexpr int kMargin = 12;
constexpr int kIconSize = 32;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kButtonGap = 8;
constexpr int kMinTextWidth = 120;

struct Choice {
  const char* label;
  DialogAnswer answer;
};

std::vector<Choice> ChoicesFor(DialogButtons buttons) {
  switch (buttons) {
    case DialogButtons::kOkCancel:
      return {{"OK", DialogAnswer::kOk}, {"Abbrechen", DialogAnswer::kCancel}};
    case DialogButtons::kYesNo:
      return {{"Ja", DialogAnswer::kYes}, {"Nein", DialogAnswer::kNo}};
    case DialogButtons::kOk:
      break;
  }
  return {{"OK", DialogAnswer::kOk}};
}

// What a box shows when there is no window to show it in.
void ShowOnStderr(const DialogRequest& request) {
  std::string text = request.text;
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  std::fprintf(stderr, "%s: %s\n", request.caption.c_str(), text.c_str());
}

// The box's state while it is open: which button ended it.
struct Outcome {
  Fl_Window* window = nullptr;
  DialogAnswer answer = DialogAnswer::kOk;
};

struct ButtonTarget {
  Outcome* outcome;
  DialogAnswer answer;
};

void OnButton(Fl_Widget*, void* data) {
  auto* target = static_cast<ButtonTarget*>(data);
  target->outcome->answer = target->answer;
  target->outcome->window->hide();
}

}  // namespace

DialogAnswer DismissAnswer(DialogButtons buttons) {
  switch (buttons) {
    case DialogButtons::kOkCancel:
      return DialogAnswer::kCancel;
    case DialogButtons::kYesNo:
      return DialogAnswer::kNo;
    case DialogButtons::kOk:
      break;
  }
  return DialogAnswer::kOk;
}

DialogAnswer FltkDialogs::Show(const DialogRequest& request) {
  if (!HasDisplay()) {
    ShowOnStderr(request);
    return DismissAnswer(request.buttons);
  }

  const std::string text = LabelText(request.text);
  fl_font(kFont, kFontSize);
  int text_w = 0, text_h = 0;
  fl_measure(text.c_str(), text_w, text_h, 1);
  // Lines wider than most of the screen (long paths) are wrapped.
  const int max_text_w = std::max(kMinTextWidth, Fl::w() * 3 / 4);
  const bool wrap = text_w > max_text_w;
  if (wrap) {
    text_w = max_text_w;
    fl_measure(text.c_str(), text_w, text_h, 1);
  }
  text_w = std::max(text_w, kMinTextWidth);
  Fl_RGB_Image* picture = DialogImage(request.icon);
  const std::vector<Choice> choices = ChoicesFor(request.buttons);

  const int text_x = kMargin + (picture ? kIconSize + kMargin : 0);
  const int body_h = std::max(text_h, picture ? kIconSize : 0);
  const int buttons_w = static_cast<int>(choices.size()) * (kButtonWidth + kButtonGap) - kButtonGap;
  const int width = std::max(text_x + text_w + kMargin, buttons_w + 2 * kMargin);
  const int height = kMargin + body_h + kMargin + kButtonHeight + kMargin;

  Fl_Double_Window window(width, height);
  window.copy_label(request.caption.c_str());
  window.icon(WindowIconImage());
  Outcome outcome{&window, DismissAnswer(request.buttons)};
  if (picture) {
    Fl_Box* icon = new Fl_Box(kMargin, kMargin, kIconSize, kIconSize);
    icon->image(picture);
  }
  Fl_Box* message = new Fl_Box(text_x, kMargin, text_w, body_h);
  message->copy_label(text.c_str());
  message->labelfont(kFont);
  message->labelsize(kFontSize);
  message->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE | (wrap ? FL_ALIGN_WRAP : 0));

  std::vector<ButtonTarget> targets;
  targets.reserve(choices.size());
  int x = (width - buttons_w) / 2;
  const int y = height - kMargin - kButtonHeight;
  for (std::size_t i = 0; i < choices.size(); ++i) {
    targets.push_back({&outcome, choices[i].answer});
    Fl_Button* button = new Fl_Button(x, y, kButtonWidth, kButtonHeight, choices[i].label);
    // The first button is the default one: Enter presses it.
    if (i == 0) button->shortcut(FL_Enter);
    button->labelfont(kFont);
    button->labelsize(kFontSize);
    button->callback(&OnButton, &targets.back());
    x += kButtonWidth + kButtonGap;
  }
  window.end();
  // Closing the box or Escape: the window's callback, with the dismiss answer already set.
  window.callback([](Fl_Widget* w, void*) { w->hide(); });
  window.set_modal();
  window.position((Fl::w() - width) / 2, (Fl::h() - height) / 2);
  window.show();
  while (window.shown()) Fl::wait();
  return outcome.answer;
}

}  // namespace lorix
