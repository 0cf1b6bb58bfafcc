#pragma once

// The player's pictures, drawn from simple shapes: the window icon, the button and speaker
// icons, and the symbols of the message boxes. All are 32 x 32 with a transparent background.

#include "audio/dialogs.h"
#include "player/player_screen.h"
#include "player/window/icon_canvas.h"

namespace lorix {

inline constexpr int kPictureSize = 32;

IconCanvas PlayerPicture(PlayerIcon icon);

// kNone has no picture: an empty (fully transparent) canvas.
IconCanvas DialogPicture(DialogIcon icon);

}  // namespace lorix
