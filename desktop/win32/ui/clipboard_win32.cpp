#include "desktop/win32/ui/clipboard_win32.h"

// windows.h first: the other system headers build on it.
#include <windows.h>

#include <cstring>

#include "codec/text_encoding.h"

namespace lorix {

bool CopyTextToClipboard(void* owner, const std::string& text) {
  if (!OpenClipboard(static_cast<HWND>(owner))) return false;
  const std::string bytes = Utf8ToCp1252(text);
  const std::size_t size = bytes.size() + 1;  // with the closing zero
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, size);
  void* target = memory ? GlobalLock(memory) : nullptr;
  bool copied = false;
  if (target) {
    std::memcpy(target, bytes.c_str(), size);
    GlobalUnlock(memory);
    // From here on the memory belongs to the clipboard.
    if (EmptyClipboard() && SetClipboardData(CF_TEXT, memory)) {
      memory = nullptr;
      copied = true;
    }
  }
  if (memory) GlobalFree(memory);
  CloseClipboard();
  return copied;
}

}  // namespace lorix
