#pragma once

// The pictures as FLTK images, made on first use and kept for the whole run: widgets only
// point at their images. Button and dialog pictures are laid onto the window's grey, so they
// need no alpha blending from the X server.

#include <FL/Fl_RGB_Image.H>

#include "audio/dialogs.h"
#include "player/player_screen.h"

namespace lorix {

Fl_RGB_Image* ButtonImage(PlayerIcon icon);
// The greyed picture of a disabled button.
Fl_RGB_Image* InactiveButtonImage(PlayerIcon icon);
// The main icon with its transparency, for the window manager.
Fl_RGB_Image* WindowIconImage();
// Null for DialogIcon::kNone.
Fl_RGB_Image* DialogImage(DialogIcon icon);

}  // namespace lorix
