#pragma once

// A program's keys from Windows' virtual-key codes. Named keys are looked up first: their
// codes overlap the lower-case letters (VK_F1 is 0x70, the code of 'p'), which Windows uses for
// the number pad, so only the capitals 'A'..'Z' are taken as letters. Free of windows.h so that
// the mapping is the same everywhere it is used.

#include <span>

namespace lorix {

template <typename Key>
struct NamedVirtualKey {
  unsigned virtual_key;
  Key key;
};

// `named` first, then a letter key through `from_letter` (called with 'A'..'Z'), else `other`.
template <typename Key, typename FromLetter>
Key KeyOfVirtualKey(unsigned virtual_key, std::span<const NamedVirtualKey<Key>> named,
                    FromLetter from_letter, Key other) {
  for (const NamedVirtualKey<Key>& entry : named) {
    if (entry.virtual_key == virtual_key) return entry.key;
  }
  return virtual_key >= 'A' && virtual_key <= 'Z' ? from_letter(static_cast<int>(virtual_key))
                                                  : other;
}

}  // namespace lorix
