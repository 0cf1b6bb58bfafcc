#pragma once

// The texts the system's file dialogs take, formed from the programs' own: toolkit-free, so that
// the conversion is the same in every build.

#include <string>
#include <string_view>

namespace lorix {

// A filter list with entries separated by '|' (description, pattern, description, …) as the
// dialog's list: each entry ended by a NUL, the whole list by a second NUL.
std::string NulSeparatedFilter(std::string_view bar_separated);

// The extension the dialog appends to a name typed without one: no leading dot.
std::string DialogDefaultExtension(std::string_view extension);

// A path with the system's own separator.
std::string BackslashPath(std::string_view path);

}  // namespace lorix
