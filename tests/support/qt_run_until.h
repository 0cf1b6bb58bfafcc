#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <functional>

namespace lorix::testing {

// Runs the Qt event loop until `done` holds or `timeout_ms` has passed; whether it holds.
inline bool RunUntil(const std::function<bool()>& done, int timeout_ms = 2000) {
  QElapsedTimer timer;
  timer.start();
  while (!done() && timer.elapsed() < timeout_ms) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return done();
}

}  // namespace lorix::testing
