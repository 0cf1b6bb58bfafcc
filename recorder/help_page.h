#pragma once

// The short German help pages that come with the program, opened with the desktop's program.

#include <filesystem>
#include <functional>
#include <string>

namespace lorix {

// The program's help, and the page on the start methods of the mail program.
inline constexpr const char* kHelpPageName = "Lorix-Hilfe.html";
inline constexpr const char* kMailHelpPageName = "Lorix-Hilfe-Mail.html";

// Hands the help page `page` in `program_folder` (installed: the data folder) to `open` when it
// exists; without the page nothing happens. Returns whether the page was handed over.
bool OpenHelpPage(const std::filesystem::path& program_folder, const char* page,
                  const std::function<void(const std::string&)>& open);

}  // namespace lorix
