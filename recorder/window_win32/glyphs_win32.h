#pragma once

// The pictures on the main form's buttons that show a picture alone: the player's own icons
// for playing, pausing, stopping and the mixer (from the program's resources), and the
// microphone of step 1, drawn here.

// windows.h first: the other system headers build on it.
#include <windows.h>

namespace lorix {

class Win32FormControls;

// Puts the glyphs on the form's buttons. The icons live as long as the program.
void SetButtonGlyphs(const Win32FormControls& form, HINSTANCE instance);

}  // namespace lorix
