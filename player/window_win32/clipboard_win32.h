#pragma once

// The clipboard helper is part of the shared Win32 layer now; this name stays for the player's
// program file until its include names the new place.
#include "desktop/win32/ui/clipboard_win32.h"
