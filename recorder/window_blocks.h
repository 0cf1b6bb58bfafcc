#pragma once

// The blocks of the main window that the display menu shows and hides, in window order.

#include <cstddef>

namespace lorix {

enum class Block { kRecord, kOptionsCompress, kPlay, kPlayStatus, kSpecials };

inline constexpr std::size_t kBlockCount = 5;

}  // namespace lorix
