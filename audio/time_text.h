#pragma once

#include <cstdint>
#include <string>

namespace lorix {

// A duration as the programs show it: seconds with two decimals and a point, then " Sek."
// (1500 -> "1.50 Sek."). Independent of the process locale.
std::string FormatSeconds(std::int64_t ms);

}  // namespace lorix
