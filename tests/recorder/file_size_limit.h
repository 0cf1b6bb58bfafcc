#pragma once

// A full disk for the tests: while a FileSizeLimit lives, no file of the process grows beyond
// the given size (writes past it fail with EFBIG). It works for root as well, where a folder
// without write permission would not stop anything.

#include <sys/resource.h>

#include <csignal>
#include <cstdint>

namespace lorix::testing {

class FileSizeLimit {
 public:
  explicit FileSizeLimit(std::uint64_t max_bytes) {
    // The signal that comes with EFBIG would end the process.
    old_handler_ = std::signal(SIGXFSZ, SIG_IGN);
    ::getrlimit(RLIMIT_FSIZE, &old_limit_);
    rlimit limit = old_limit_;
    limit.rlim_cur = static_cast<rlim_t>(max_bytes);
    applied_ = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &old_limit_);
    std::signal(SIGXFSZ, old_handler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  bool applied() const { return applied_; }

 private:
  rlimit old_limit_{};
  void (*old_handler_)(int) = SIG_DFL;
  bool applied_ = false;
};

}  // namespace lorix::testing
