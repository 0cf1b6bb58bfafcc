#pragma once

#include <functional>

namespace lorix {

// Hands a piece of work to the program's user-interface thread. Audio threads only move bytes
// and post what they finished; the handlers then run on the UI thread, one after the other.
// Qt and FLTK each supply their own; tests and command-line programs use TaskQueue
// (task_queue.h).
using PostToUiThread = std::function<void(std::function<void()>)>;

}  // namespace lorix
