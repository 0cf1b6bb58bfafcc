#pragma once

// Sizes of the programs' tables are given at 96 DPI; the windows scale them to the screen's
// DPI (the manifest decides whether the system tells the program its real DPI).

// windows.h first: the other system headers build on it.
#include <windows.h>

namespace lorix {

class DpiScale {
 public:
  explicit DpiScale(int dpi) : dpi_(dpi) {}
  // The DPI of the screen as the system reports it to this program.
  static DpiScale OfSystem();

  int dpi() const { return dpi_; }
  // `pixels` at 96 DPI in pixels at this DPI, rounded as MulDiv rounds.
  int operator()(int pixels) const { return MulDiv(pixels, dpi_, 96); }

 private:
  int dpi_;
};

// The font of the system's message boxes, for windows that use it on their controls: its
// height scaled to `percent` per cent, bold when `bold`. The caller deletes it with DeleteObject.
HFONT CreateMessageFont(int percent, bool bold);

}  // namespace lorix
