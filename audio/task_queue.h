#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

#include "audio/ui_thread.h"

namespace lorix {

// A queue of work for a thread that plays the part of the user-interface thread.
class TaskQueue {
 public:
  PostToUiThread Poster() {
    return [this](std::function<void()> task) { Post(std::move(task)); };
  }

  void Post(std::function<void()> task) {
    {
      std::lock_guard lock(mutex_);
      tasks_.push_back(std::move(task));
    }
    ready_.notify_one();
  }

  // Runs what is queued, waiting up to `timeout` for the first task. Returns how many ran.
  int RunPending(std::chrono::milliseconds timeout = std::chrono::milliseconds(0)) {
    std::deque<std::function<void()>> batch;
    {
      std::unique_lock lock(mutex_);
      ready_.wait_for(lock, timeout, [this] { return !tasks_.empty(); });
      batch.swap(tasks_);
    }
    for (auto& task : batch) task();
    return static_cast<int>(batch.size());
  }

  // Runs tasks as they come until `done` holds or `timeout` has passed. Returns `done()`.
  bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
      const auto now = std::chrono::steady_clock::now();
      if (now >= deadline) return false;
      RunPending(std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now));
    }
    return true;
  }

 private:
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<std::function<void()>> tasks_;
};

}  // namespace lorix
