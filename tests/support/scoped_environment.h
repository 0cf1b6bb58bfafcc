#pragma once

// Environment variables set for one test and put back as they were afterwards.

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace lorix::testing {

class ScopedEnvironment {
 public:
  ScopedEnvironment() = default;
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
  ~ScopedEnvironment() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) Apply(it->first, it->second);
  }

  // Sets `name` to `value`, or removes it for no value.
  ScopedEnvironment& Set(const std::string& name, const std::optional<std::string>& value) {
    const char* old = std::getenv(name.c_str());
    saved_.emplace_back(name, old != nullptr ? std::optional<std::string>(old) : std::nullopt);
    Apply(name, value);
    return *this;
  }

  // Adds `item` to the list in `name` (a separated list such as WINEDLLOVERRIDES), or sets it
  // when there is none.
  ScopedEnvironment& Append(const std::string& name, const std::string& item,
                            char separator = ';') {
    const char* old = std::getenv(name.c_str());
    return Set(name, old != nullptr && *old != '\0' ? std::string(old) + separator + item : item);
  }

 private:
  static void Apply(const std::string& name, const std::optional<std::string>& value) {
    if (value) {
      setenv(name.c_str(), value->c_str(), 1);
    } else {
      unsetenv(name.c_str());
    }
  }

  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

}  // namespace lorix::testing
