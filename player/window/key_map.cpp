#include "player/window/key_map.h"

#include <FL/Enumerations.H>

#include "player/player_keys.h"

namespace lorix {

PlayerKey PlayerKeyFromFltk(int fltk_key) {
  switch (fltk_key) {
    case FL_F + 1:
      return PlayerKey::kF1;
    case ' ':
      return PlayerKey::kSpace;
    case FL_Left:
      return PlayerKey::kLeft;
    case FL_Right:
      return PlayerKey::kRight;
    case FL_Up:
      return PlayerKey::kUp;
    case FL_Down:
      return PlayerKey::kDown;
    default:
      break;
  }
  return PlayerKeyFromLetter(fltk_key);
}

}  // namespace lorix
