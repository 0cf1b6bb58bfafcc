#include "recorder/window/qt_ui_thread.h"

#include <utility>

namespace lorix {

PostToUiThread QtPoster(QObject* context) {
  return [context](std::function<void()> task) {
    // A queued call goes through the receiver thread's event queue, which keeps the order in
    // which threads posted.
    QMetaObject::invokeMethod(context, std::move(task), Qt::QueuedConnection);
  };
}

}  // namespace lorix
