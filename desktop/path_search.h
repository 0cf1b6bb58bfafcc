#pragma once

#include <filesystem>
#include <string>

namespace lorix {

// The full path of an executable program: a name with a slash is taken as it is, any other name
// is looked up in the folders of PATH (an empty entry is the current folder). Empty when there is
// no executable regular file of that name.
std::filesystem::path FindInPath(const std::string& program);

}  // namespace lorix
