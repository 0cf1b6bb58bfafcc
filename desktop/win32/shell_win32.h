#pragma once

// The Windows shell's services the player uses: open with the associated program, find the
// program associated with a file, start a program by its command line.

#include <string>

#include "desktop/wav_application.h"

namespace lorix {

// ShellExecute "open" on `target` (file, folder or URL), owned by the desktop window, shown
// normally. The result is not looked at.
void ShellOpen(const std::string& target);

// FindExecutable for `file`: result above 32 and the program's path when one is associated.
WavApplication FindExecutableFor(const std::string& file);

// Starts `command_line` in a normal window; the system's result (31 or less: failed).
int StartCommandLine(const std::string& command_line);

// Starts the system's volume mixer: "SndVol.exe" of today's Windows, else the older
// "SNDVOL32"; the result of the last try (31 or less: neither started).
int StartVolumeMixer();

}  // namespace lorix
