#include "player/window/display.h"

#include <FL/x.H>

namespace lorix {

bool OpenDisplay() {
  if (fl_display) return true;
  Display* display = XOpenDisplay(nullptr);
  if (!display) return false;
  fl_open_display(display);
  return true;
}

bool HasDisplay() {
  return fl_display != nullptr;
}

}  // namespace lorix
