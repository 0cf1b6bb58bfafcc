#pragma once

// The recorder's way of handing work from the capture thread to the user-interface thread.

#include <QObject>

#include "audio/ui_thread.h"

namespace lorix {

// Posts each piece of work to the event loop of `context`'s thread, where it runs after the
// work posted before it. May be called from any thread. `context` must outlive every call of
// the returned poster; work still queued when it is destroyed is dropped.
PostToUiThread QtPoster(QObject* context);

}  // namespace lorix
