#pragma once

// The media-control service of Windows (winmm) behind the two calls the playback code makes:
// a command string with its reply, and the service's own text for an error number.

#include <string>

namespace lorix {

// Sends `command` to mciSendString; a status command's reply (at most 17 characters, as the
// playback code asks for) lands in `reply`. Returns 0 or the service's error number.
int WinmmSendString(const std::string& command, std::string& reply);

// mciGetErrorString for `code`, at most 1023 characters.
std::string WinmmErrorText(int code);

}  // namespace lorix
