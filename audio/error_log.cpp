#include "audio/error_log.h"

#include <ctime>
#include <utility>

#include "codec/local_time.h"

namespace lorix {

namespace {

// The recorder's message boxes carry the application title.
constexpr const char* kApplicationTitle = "LORIX";

}  // namespace

std::string FormatErrorTime(std::chrono::system_clock::time_point when) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
  const std::tm local = LocalTime(seconds);
  char text[32];
  const std::size_t length = std::strftime(text, sizeof(text), "%d.%m.%Y %H:%M:%S", &local);
  return std::string(text, length);
}

ErrorLog::ErrorLog(Dialogs& dialogs, Clock clock) : dialogs_(dialogs), clock_(std::move(clock)) {
  if (!clock_) clock_ = [] { return std::chrono::system_clock::now(); };
}

void ErrorLog::AddErrorLine(const std::string& text, bool modal) {
  ++error_line_count_;
  std::string line =
      "(" + std::to_string(error_line_count_) + ")  " + FormatErrorTime(clock_()) + " :  " + text;
  lines_.push_back(line);
  while (lines_.size() > kMaxErrorLines) lines_.pop_front();
  if (modal || CBShowWaveErrors) {
    dialogs_.Show({kApplicationTitle, std::move(line), DialogIcon::kNone, DialogButtons::kOk});
  }
}

}  // namespace lorix
