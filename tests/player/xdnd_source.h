#pragma once

// The dragging side of the X drag-and-drop protocol, as a file manager plays it: offers a
// text/uri-list, moves over the target, drops, hands over the list when asked and waits for
// the target to finish. Runs on a display connection of its own (any thread).

#include <chrono>
#include <string>

namespace lorix::testing {

// Drops `uri_list` on the top-level window `target` at (x, y) in root coordinates. Returns
// an empty string on success, otherwise the step that failed.
std::string DropUriList(unsigned long target, int x, int y, const std::string& uri_list,
                        std::chrono::milliseconds timeout = std::chrono::seconds(5));

// "file://" URI of an absolute path, with everything but unreserved characters and '/'
// percent-encoded, as file managers write them.
std::string FileUri(const std::string& path);

}  // namespace lorix::testing
