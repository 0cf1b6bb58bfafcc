#pragma once

#include <ctime>

namespace lorix {

// The calendar time of `seconds` since the epoch in the user's time zone. Safe to call from any
// thread (the C library's localtime shares one result among all callers).
std::tm LocalTime(std::time_t seconds);

}  // namespace lorix
