// LocalTime with the Windows C runtime's thread-safe conversion.

#include <ctime>

#include "codec/local_time.h"

namespace lorix {

std::tm LocalTime(std::time_t seconds) {
  std::tm local{};
  localtime_s(&local, &seconds);
  return local;
}

}  // namespace lorix
