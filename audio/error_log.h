#pragma once

// The sound-card window's error log: numbered, time-stamped lines in the memo MemoErrors, at
// most 100 of them, and a message box for errors that must be seen.

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>

#include "audio/dialogs.h"

namespace lorix {

inline constexpr std::size_t kMaxErrorLines = 100;

// The date and time as the German desktop shows them: short date, a blank, long time
// ("07.03.2024 09:05:01"), in local time.
std::string FormatErrorTime(std::chrono::system_clock::time_point when);

class ErrorLog {
 public:
  using Clock = std::function<std::chrono::system_clock::time_point()>;

  // `clock` gives the time stamp of each line; the system clock when left empty.
  explicit ErrorLog(Dialogs& dialogs, Clock clock = {});

  // Appends "(n)  date time :  text", dropping the oldest line beyond 100. A modal error is
  // shown in a message box in any case, any other only while CBShowWaveErrors is checked.
  void AddErrorLine(const std::string& text, bool modal);

  const std::deque<std::string>& MemoErrors() const { return lines_; }
  std::int32_t ErrorLineCount() const { return error_line_count_; }

  // The check box "also report sound-card errors".
  bool CBShowWaveErrors = false;

 private:
  Dialogs& dialogs_;
  Clock clock_;
  std::int32_t error_line_count_ = 0;
  std::deque<std::string> lines_;
};

}  // namespace lorix
