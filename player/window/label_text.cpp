#include "player/window/label_text.h"

#include "player/player_texts.h"

namespace lorix {

std::string LabelText(const std::string& text) {
  std::string label;
  label.reserve(text.size());
  for (const char c : text) {
    if (c == '\r') continue;
    label += c;
    if (c == '@') label += '@';
  }
  return label;
}

std::string CaptionLabel(const std::string& caption) {
  return LabelText(WithoutAccelerators(caption));
}

}  // namespace lorix
