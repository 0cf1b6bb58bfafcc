#include "audio/wave_in_errors.h"

#include <array>
#include <string_view>

namespace lorix {

namespace {

// clang-format off
constexpr std::array<std::string_view, 20> kOpenErrorTexts = {
    "unspecified error",
    "device ID out of range",
    "driver failed enable",
    "device already allocated",
    "device handle is invalid",
    "no device driver present",
    "memory allocation error",
    "function is not supported",
    "error value out of range",
    "invalid flag passed",
    "invalid parameter passed",
    "handle being used simultaneously on another thread (eg callback)",
    "specified alias not found",
    "bad registry database",
    "registry key not found",
    "registry read error",
    "registry write error",
    "registry delete error",
    "registry value not found",
    "driver does not call DriverCallback",
};
// clang-format on

}  // namespace

std::string WaveInOpenErrorText(int code) {
  if (code < 1 || code > static_cast<int>(kOpenErrorTexts.size())) return {};
  return std::string(kOpenErrorTexts[static_cast<std::size_t>(code - 1)]);
}

}  // namespace lorix
