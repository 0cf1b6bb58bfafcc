#pragma once

#include <string>

namespace lorix {

// The file version in the running program's version resource, "major.minor.release.build";
// "0.0.0.0" for a program without one.
std::string OwnFileVersion();

}  // namespace lorix
