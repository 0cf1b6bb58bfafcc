#pragma once

#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace lorix::tool {

// A wrong call: the message goes to stderr and the tool ends with status 2.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The arguments of one command: options with a value, flags, and the positional arguments.
struct ParsedArguments {
  std::map<std::string, std::string> values;
  std::set<std::string> flags;
  std::vector<std::string> positional;
  bool help = false;

  bool Has(const std::string& flag) const { return flags.count(flag) > 0; }
  // The option's value as a whole number in [min, max], or `fallback` when it was not given.
  int IntValue(const std::string& option, int fallback, int min, int max) const;
  std::string Value(const std::string& option, const std::string& fallback) const;
};

// Accepts "--name value", "--name=value" for `value_options`, "--flag" for `flag_options`,
// "--help"/"-h", and "--" to end the options.
ParsedArguments ParseArguments(const std::vector<std::string>& args,
                               const std::set<std::string>& value_options,
                               const std::set<std::string>& flag_options);

}  // namespace lorix::tool
