#pragma once

#include <string>

#include "desktop/program_start.h"

namespace lorix {

// Opens a file, folder or URL (web page, mailto:) with the program the desktop associates with it,
// through `xdg-open` with exactly that one argument. Success means xdg-open was started; what it
// then opens is the desktop's business.
ProgramStart OpenWithDesktop(const std::string& target);

}  // namespace lorix
