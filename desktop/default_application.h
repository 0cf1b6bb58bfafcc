#pragma once

#include <string>

namespace lorix {

// The desktop file id of the application the desktop uses by default for a MIME type or URL
// scheme handler (for example "audio/x-wav" or "x-scheme-handler/mailto"), as told by
// `xdg-mime query default`. Empty when nothing is associated or xdg-mime is missing or hangs.
std::string DefaultApplicationId(const std::string& mime_type);

}  // namespace lorix
