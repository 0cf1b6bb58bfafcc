#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QObject>
#include <QThread>
#include <thread>
#include <vector>

#include "recorder/window/qt_ui_thread.h"
#include "tests/support/qt_run_until.h"

namespace {

using lorix::testing::RunUntil;

TEST(QtPoster, RunsWorkFromAnotherThreadOnTheUiThreadInOrder) {
  QObject context;
  const lorix::PostToUiThread post = lorix::QtPoster(&context);
  QThread* const ui_thread = QThread::currentThread();
  std::vector<int> order;
  int off_thread = 0;

  std::thread worker([&post, &order, &off_thread, ui_thread] {
    for (int i = 0; i < 200; ++i) {
      post([i, &order, &off_thread, ui_thread] {
        if (QThread::currentThread() != ui_thread) ++off_thread;
        order.push_back(i);
      });
    }
  });
  worker.join();
  ASSERT_TRUE(RunUntil([&order] { return order.size() == 200; }));
  EXPECT_EQ(off_thread, 0);
  for (int i = 0; i < 200; ++i) ASSERT_EQ(order[i], i);
}

TEST(QtPoster, NeverRunsWorkInsideThePostingCall) {
  QObject context;
  const lorix::PostToUiThread post = lorix::QtPoster(&context);
  bool ran = false;
  post([&ran] { ran = true; });
  EXPECT_FALSE(ran);
  EXPECT_TRUE(RunUntil([&ran] { return ran; }));
}

TEST(QtPoster, DropsWorkWhoseContextIsGone) {
  bool ran = false;
  {
    QObject context;
    lorix::QtPoster (&context)([&ran] { ran = true; });
  }
  QCoreApplication::processEvents();
  EXPECT_FALSE(ran);
}

}  // namespace
