#pragma once

#include <string>

namespace lorix {

// The text the sound-card window shows for a failed open of the wave-input device: the codes
// 1..20 of the device's error table, an empty text for every other code.
std::string WaveInOpenErrorText(int code);

}  // namespace lorix
