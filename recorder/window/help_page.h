#pragma once

// The short German help page shipped beside the program, opened with the desktop's program.

#include <filesystem>
#include <functional>
#include <string>

namespace lorix {

inline constexpr const char* kHelpPageName = "Lorix-Hilfe.html";

std::filesystem::path HelpPagePath(const std::filesystem::path& program_folder);

// Hands the help page to `open` when it exists; without the page nothing happens. Returns
// whether the page was handed over.
bool OpenHelpPage(const std::filesystem::path& program_folder,
                  const std::function<void(const std::string&)>& open);

}  // namespace lorix
