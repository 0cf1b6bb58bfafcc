// WriterThread with the system's own thread, slim reader/writer lock (taken exclusively) and
// condition variable. Thread names are left out: the call that sets them is missing from older
// Windows versions.

// windows.h first: the other system headers build on it.
#include <windows.h>

#include <utility>

#include "recorder/writer_thread.h"

namespace lorix {

struct WriterThread::System {
  SRWLOCK lock = SRWLOCK_INIT;
  CONDITION_VARIABLE wake = CONDITION_VARIABLE_INIT;
  HANDLE thread = nullptr;
  std::function<void()> work;

  static DWORD WINAPI Run(void* system) {
    static_cast<System*>(system)->work();
    return 0;
  }
};

WriterThread::WriterThread() : system_(std::make_unique<System>()) {}

WriterThread::~WriterThread() = default;

void WriterThread::lock() {
  AcquireSRWLockExclusive(&system_->lock);
}

void WriterThread::unlock() {
  ReleaseSRWLockExclusive(&system_->lock);
}

void WriterThread::WaitFor(std::chrono::milliseconds timeout) {
  const auto milliseconds = timeout.count() < 0 ? 0 : timeout.count();
  // Just below INFINITE at most: a long wait is still a timed one.
  const DWORD limit = milliseconds >= INFINITE ? INFINITE - 1 : static_cast<DWORD>(milliseconds);
  SleepConditionVariableSRW(&system_->wake, &system_->lock, limit, 0);
}

void WriterThread::Wait() {
  SleepConditionVariableSRW(&system_->wake, &system_->lock, INFINITE, 0);
}

void WriterThread::Wake() {
  WakeConditionVariable(&system_->wake);
}

bool WriterThread::Start(const char* /*name*/, std::function<void()> work) {
  system_->work = std::move(work);
  system_->thread = CreateThread(nullptr, 0, &System::Run, system_.get(), 0, nullptr);
  return system_->thread != nullptr;
}

void WriterThread::Join() {
  if (system_->thread == nullptr) return;
  WaitForSingleObject(system_->thread, INFINITE);
  CloseHandle(system_->thread);
  system_->thread = nullptr;
}

}  // namespace lorix
