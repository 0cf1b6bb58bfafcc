#pragma once

// Shows files selected in an Explorer window of their folder.

#include <filesystem>
#include <vector>

namespace lorix {

// Opens the folder of the first file in Explorer with every file of that folder selected; where
// Explorer cannot select them, the folder is opened. False when not even that started.
bool ShowFilesInExplorer(const std::vector<std::filesystem::path>& files);

}  // namespace lorix
