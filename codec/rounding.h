#pragma once

#include <cmath>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace lorix {

// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2), as the
// default floating-point rounding mode does. The decoder's output depends on it.
inline std::int32_t RoundHalfEven(double x) {
#if defined(__SSE2__)
  return _mm_cvtsd_si32(_mm_set_sd(x));  // rounds by the current (default: to even) mode
#else
  return static_cast<std::int32_t>(std::nearbyint(x));
#endif
}

}  // namespace lorix
