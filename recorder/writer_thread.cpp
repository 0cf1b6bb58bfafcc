#include "recorder/writer_thread.h"

#include <pthread.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <utility>

namespace lorix {

struct WriterThread::System {
  std::mutex mutex;
  std::condition_variable wake;
  std::thread thread;
};

WriterThread::WriterThread() : system_(std::make_unique<System>()) {}

WriterThread::~WriterThread() = default;

void WriterThread::lock() {
  system_->mutex.lock();
}

void WriterThread::unlock() {
  system_->mutex.unlock();
}

void WriterThread::WaitFor(std::chrono::milliseconds timeout) {
  std::unique_lock held(system_->mutex, std::adopt_lock);
  system_->wake.wait_for(held, timeout);
  held.release();  // the caller goes on holding it
}

void WriterThread::Wait() {
  std::unique_lock held(system_->mutex, std::adopt_lock);
  system_->wake.wait(held);
  held.release();
}

void WriterThread::Wake() {
  system_->wake.notify_one();
}

bool WriterThread::Start(const char* name, std::function<void()> work) {
  try {
    system_->thread = std::thread([name = std::string(name), work = std::move(work)] {
      // Linux takes at most 15 characters.
      pthread_setname_np(pthread_self(), name.substr(0, 15).c_str());
      work();
    });
  } catch (const std::system_error&) {
    return false;
  }
  return true;
}

void WriterThread::Join() {
  if (system_->thread.joinable()) system_->thread.join();
}

}  // namespace lorix
