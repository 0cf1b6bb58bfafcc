#pragma once

// A thread of its own with one lock and one wake-up call, for work that must not hold up the
// thread that hands it over (the journal's writes and syncs). The POSIX version uses the C++
// library's thread, mutex and condition variable (writer_thread.cpp); the Windows build's C++
// library has none of them, so there the system's own thread, slim lock and condition variable
// stand in (win32/writer_thread_win32.cpp).

#include <chrono>
#include <functional>
#include <memory>

namespace lorix {

class WriterThread {
 public:
  WriterThread();
  ~WriterThread();  // the thread must have ended: Join
  WriterThread(const WriterThread&) = delete;
  WriterThread& operator=(const WriterThread&) = delete;

  // The lock that guards what the threads share; std::lock_guard and std::unique_lock take it.
  void lock();
  void unlock();
  // With the lock held: lets it go until Wake is called or `timeout` has passed (at times
  // earlier, so callers check what they wait for), then holds it again.
  void WaitFor(std::chrono::milliseconds timeout);
  // The same without a time limit.
  void Wait();
  void Wake();

  // Runs `work` on a new thread, called `name` where the system shows thread names. False when
  // no thread can be made.
  bool Start(const char* name, std::function<void()> work);
  // Waits for the thread's work to end; nothing when none was started.
  void Join();

 private:
  struct System;
  std::unique_ptr<System> system_;
};

}  // namespace lorix
