#include "desktop/exec_line.h"

#include <optional>
#include <string_view>
#include <utility>

namespace lorix {

namespace {

struct Token {
  std::string text;
  bool quoted = false;
};

std::optional<std::vector<Token>> Tokenize(const std::string& exec) {
  std::vector<Token> tokens;
  std::optional<Token> current;
  bool in_quotes = false;
  for (std::size_t i = 0; i < exec.size(); ++i) {
    const char c = exec[i];
    if (in_quotes) {
      if (c == '"') {
        in_quotes = false;
      } else if (c == '\\' && i + 1 < exec.size() &&
                 std::string_view("\"`$\\").find(exec[i + 1]) != std::string_view::npos) {
        current->text += exec[++i];
      } else {
        current->text += c;
      }
    } else if (c == ' ' || c == '\t' || c == '\n') {
      if (current) tokens.push_back(*std::exchange(current, std::nullopt));
    } else {
      if (!current) current = Token{};
      if (c == '"') {
        in_quotes = true;
        current->quoted = true;
      } else {
        current->text += c;
      }
    }
  }
  if (in_quotes) return std::nullopt;
  if (current) tokens.push_back(*current);
  return tokens;
}

bool IsDroppedCode(char code) {
  return std::string_view("fFuUdDnNvm").find(code) != std::string_view::npos;
}

// Expands the field codes inside one unquoted argument; a quoted one is taken literally.
std::string ExpandCodes(const Token& token, const ExecContext& context) {
  if (token.quoted) return token.text;
  std::string expanded;
  for (std::size_t i = 0; i < token.text.size(); ++i) {
    if (token.text[i] != '%' || i + 1 == token.text.size()) {
      expanded += token.text[i];
      continue;
    }
    const char code = token.text[++i];
    if (code == '%') expanded += '%';
    if (code == 'c') expanded += context.name;
    if (code == 'k') expanded += context.entry_path;
  }
  return expanded;
}

}  // namespace

std::vector<std::string> SplitExecLine(const std::string& exec, const ExecContext& context) {
  const std::optional<std::vector<Token>> tokens = Tokenize(exec);
  if (!tokens) return {};
  std::vector<std::string> arguments;
  for (const Token& token : *tokens) {
    const std::string& text = token.text;
    if (!token.quoted) {
      if (text == "@@" || text == "@@u" || text == "@@f") continue;
      if (text.size() == 2 && text[0] == '%' && IsDroppedCode(text[1])) continue;
      if (text == "%i") {
        if (!context.icon.empty()) arguments.insert(arguments.end(), {"--icon", context.icon});
        continue;
      }
    }
    std::string argument = ExpandCodes(token, context);
    // An argument made only of codes for files that are not given disappears entirely.
    if (!token.quoted && argument.empty()) continue;
    arguments.push_back(std::move(argument));
  }
  return arguments;
}

}  // namespace lorix
