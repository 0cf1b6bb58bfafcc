#pragma once

// The name a file is written under before it is renamed into place, on Windows.

#include <cstdint>
#include <string>

namespace lorix {

// `value` as eight hex digits (the player formats without the C library's printf, which would
// add its whole formatting code).
inline std::wstring Hex8(std::uint32_t value) {
  std::wstring digits(8, L'0');
  for (int i = 7; i >= 0; --i, value >>= 4) digits[i] = L"0123456789abcdef"[value & 0xF];
  return digits;
}

// `target` + ".tmp" + the process id and a counter as eight hex digits each: every temporary
// name of a target is equally long, so a folder's check can make a file of exactly that length.
inline std::wstring TempNameBeside(const std::wstring& target, std::uint32_t process_id,
                                   std::uint32_t counter) {
  return target + L".tmp" + Hex8(process_id) + L"-" + Hex8(counter);
}

}  // namespace lorix
