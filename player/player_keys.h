#pragma once

#include "player/player_screen.h"

namespace lorix {

// The player's letter keys, the same in every window: a letter in either case, anything else
// kOther. The windows map their own codes for F1, space and the arrows.
PlayerKey PlayerKeyFromLetter(int letter);

}  // namespace lorix
