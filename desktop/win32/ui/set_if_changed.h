#pragma once

// Copying a program's state onto its controls on every tick: each helper touches the control
// only when what it shows differs, so nothing flickers and no notification fires for nothing.

// windows.h first: the other system headers build on it.
#include <windows.h>

#include <string>

namespace lorix {

// Sets the window text (UTF-8) when it differs from `shown`, the text last set, which it
// updates. True when the text was set.
bool SetTextIfChanged(HWND window, std::string& shown, const std::string& text);
void SetEnabledIfChanged(HWND window, bool enabled);
void SetVisibleIfChanged(HWND window, bool visible);
// A check box's or radio button's check mark.
void SetCheckedIfChanged(HWND button, bool checked);
// A track bar's thumb.
void SetTrackBarPositionIfChanged(HWND bar, int position);

}  // namespace lorix
