#pragma once

// The X display, kept apart from the rest because the X headers define macros (Status, None,
// Bool) that clash with ordinary names.

namespace lorix {

// Connects FLTK to the display named by DISPLAY. False when there is none: FLTK itself would
// end the program with a message of its own.
bool OpenDisplay();

// Whether FLTK has a display connection.
bool HasDisplay();

}  // namespace lorix
