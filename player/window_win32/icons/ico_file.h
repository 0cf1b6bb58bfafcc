#pragma once

// A 32 x 32 picture as a Windows icon file with 16 colours: the colours are the picture's most
// frequent ones, every pixel takes the nearest, and pixels that are mostly transparent are
// left out through the icon's mask.

#include <cstdint>
#include <vector>

#include "player/window/icon_canvas.h"

namespace lorix {

std::vector<std::uint8_t> SixteenColourIcon(const IconCanvas& picture);

}  // namespace lorix
