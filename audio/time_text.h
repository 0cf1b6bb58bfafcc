#pragma once

#include <cstdint>
#include <string>

namespace lorix {

// `value` with `decimals` decimals and a point as the decimal mark, whatever the locale.
std::string FormatDecimal(double value, int decimals);

// A duration as the programs show it: seconds with two decimals and a point, then " Sek."
// (1500 -> "1.50 Sek."). Independent of the process locale.
std::string FormatSeconds(std::int64_t ms);

}  // namespace lorix
