#pragma once

// What every attachment carries besides the message: the player program and the information
// text. Measured once at start.

#include <cstdint>

#include "audio/dialogs.h"
#include "recorder/recorder_paths.h"

namespace lorix {

// The player program's size plus the information text's length. A missing player is reported
// in an error box and counts as 0 bytes; the program keeps running (building an attachment
// then fails the same way).
std::int64_t MeasureAttachmentOverhead(const RecorderPaths& paths, Dialogs& dialogs);

}  // namespace lorix
