#include "tools/command_line.h"

#include <charconv>

namespace lorix::tool {

int ParsedArguments::IntValue(const std::string& option, int fallback, int min, int max) const {
  const auto it = values.find(option);
  if (it == values.end()) return fallback;
  const std::string& text = it->second;
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < min || value > max) {
    throw UsageError(option + " erwartet eine ganze Zahl von " + std::to_string(min) + " bis " +
                     std::to_string(max) + ", nicht '" + text + "'");
  }
  return value;
}

std::string ParsedArguments::Value(const std::string& option, const std::string& fallback) const {
  const auto it = values.find(option);
  return it == values.end() ? fallback : it->second;
}

ParsedArguments ParseArguments(const std::vector<std::string>& args,
                               const std::set<std::string>& value_options,
                               const std::set<std::string>& flag_options) {
  ParsedArguments parsed;
  bool options_done = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (options_done || arg.size() < 2 || arg[0] != '-') {
      parsed.positional.push_back(arg);
      continue;
    }
    if (arg == "--") {
      options_done = true;
      continue;
    }
    if (arg == "--help" || arg == "-h") {
      parsed.help = true;
      continue;
    }
    const std::size_t equals = arg.find('=');
    const std::string name = arg.substr(0, equals);
    if (value_options.count(name)) {
      if (equals != std::string::npos) {
        parsed.values[name] = arg.substr(equals + 1);
      } else if (i + 1 < args.size()) {
        parsed.values[name] = args[++i];
      } else {
        throw UsageError(name + " erwartet einen Wert");
      }
    } else if (flag_options.count(name) && equals == std::string::npos) {
      parsed.flags.insert(name);
    } else {
      throw UsageError("unbekannte Option '" + arg + "'");
    }
  }
  return parsed;
}

}  // namespace lorix::tool
