#pragma once

#include <string>

namespace lorix {

// The program the desktop opens WAV files with.
struct WavApplication {
  int result = 0;    // more than 32: found; otherwise why not (see program_start.h)
  std::string path;  // the program's full path when found, else empty
};

// Asks the desktop for the default application of audio/x-wav (then audio/wav), reads its
// desktop entry and resolves the entry's program in PATH. No association or an entry that cannot
// be found gives kStartNoAssociation; an entry whose program is not installed kStartFileNotFound.
WavApplication FindExecutableForWav();

// The program to show for a lookup: its path when the lookup succeeded (a result above 32),
// else empty.
inline std::string WaveApplicationPath(const WavApplication& found) {
  return found.result > 32 ? found.path : std::string();
}

// The name the programs show for an application: the program path without its folders and
// without everything from the first '.' on ("/usr/bin/org.gnome.Totem" gives "org").
std::string ApplicationName(const std::string& program_path);

}  // namespace lorix
