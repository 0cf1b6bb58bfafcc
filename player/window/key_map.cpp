#include "player/window/key_map.h"

#include <FL/Enumerations.H>

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
  int letter = fltk_key;
  if (letter >= 'A' && letter <= 'Z') letter += 'a' - 'A';
  switch (letter) {
    case 'h':
      return PlayerKey::kH;
    case 'y':
      return PlayerKey::kY;
    case 'a':
      return PlayerKey::kA;
    case 's':
      return PlayerKey::kS;
    case 'n':
      return PlayerKey::kN;
    case 'e':
      return PlayerKey::kE;
    case 'm':
      return PlayerKey::kM;
    case 'i':
      return PlayerKey::kI;
    case 'w':
      return PlayerKey::kW;
    case 'd':
      return PlayerKey::kD;
    case 'l':
      return PlayerKey::kL;
    default:
      return PlayerKey::kOther;
  }
}

}  // namespace lorix
