#pragma once

#include "player/player_screen.h"

namespace lorix {

// The player's key for an FLTK key number (Fl::event_key()): letters in either case, F1, the
// space bar and the arrow keys; every other key (the keypad's included) is kOther.
PlayerKey PlayerKeyFromFltk(int fltk_key);

}  // namespace lorix
