#pragma once

#include <string>

namespace lorix {

// Puts `text` on the clipboard as plain text in the Western code page, with its closing zero
// byte, the clipboard owned by `owner` (a window handle). False when the clipboard could not be
// opened (another program holds it) or the text not set.
bool CopyTextToClipboard(void* owner, const std::string& text);

}  // namespace lorix
