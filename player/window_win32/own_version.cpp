#include "player/window_win32/own_version.h"

// windows.h first: the other system headers build on it.
#include <windows.h>

#include <cstring>

namespace lorix {

std::string OwnFileVersion() {
  const HRSRC found =
      FindResourceW(nullptr, MAKEINTRESOURCEW(VS_VERSION_INFO), MAKEINTRESOURCEW(16));
  const HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
  const auto* block = static_cast<const unsigned char*>(loaded ? LockResource(loaded) : nullptr);
  // RT_VERSION is 16. The block starts with its lengths, type and the key "VS_VERSION_INFO"; the
  // fixed file information follows at the next 32-bit boundary.
  constexpr std::size_t kFixedInfoOffset = 40;
  VS_FIXEDFILEINFO info{};
  if (block && SizeofResource(nullptr, found) >= kFixedInfoOffset + sizeof(info)) {
    std::memcpy(&info, block + kFixedInfoOffset, sizeof(info));
  }
  if (info.dwSignature != 0xFEEF04BD) info = VS_FIXEDFILEINFO{};
  return std::to_string(HIWORD(info.dwFileVersionMS)) + "." +
         std::to_string(LOWORD(info.dwFileVersionMS)) + "." +
         std::to_string(HIWORD(info.dwFileVersionLS)) + "." +
         std::to_string(LOWORD(info.dwFileVersionLS));
}

}  // namespace lorix
