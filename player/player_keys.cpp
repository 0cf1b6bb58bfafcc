#include "player/player_keys.h"

namespace lorix {

PlayerKey PlayerKeyFromLetter(int letter) {
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
