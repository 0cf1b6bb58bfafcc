#pragma once

// Where the programs find the files that come with them. A program in …/bin with …/share/lorix
// beside that folder runs from an installed prefix: the package puts the Windows player into
// …/lib/lorix and the help pages and default texts into …/share/lorix. Anywhere else (the build
// tree, an unpacked folder) everything lies in the program's own folder.

#include <filesystem>

namespace lorix {

bool IsInstalledProgramFolder(const std::filesystem::path& program_folder);

// The file the Windows setup program leaves beside the programs it installed: they then keep
// their files in the user's folders, not beside themselves.
inline constexpr const char* kInstalledMarkerName = "Lorix.installed";

// "LorixPlayer.exe", the front of every attachment.
std::filesystem::path WindowsPlayerProgram(const std::filesystem::path& program_folder);

// The help pages and the default mail texts.
std::filesystem::path ProgramDataFolder(const std::filesystem::path& program_folder);

}  // namespace lorix
