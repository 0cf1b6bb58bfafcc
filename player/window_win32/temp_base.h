#pragma once

#include <filesystem>

namespace lorix {

// The folder under which the player keeps "TEMPs": the current folder, as always; where
// "TEMPs" cannot be made or written there (a read-only folder, such as a mail program's view
// of an attachment), "%TEMP%\LORIX".
std::filesystem::path PlayerTempBase();

}  // namespace lorix
