#include "recorder/ini_document.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <optional>

namespace lorix {
namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::size_t npos = std::string::npos;

std::string_view Trim(std::string_view text) {
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

// What a line is: a section header, a key, or anything else (blank, comment, stray text).
struct LineInfo {
  enum class Kind { kOther, kSection, kKey };
  Kind kind = Kind::kOther;
  std::string_view name;
  std::size_t value_start = npos;  // just behind the '='; npos for a key line without one
};

LineInfo Classify(std::string_view text) {
  const std::string_view trimmed = Trim(text);
  if (trimmed.empty() || trimmed[0] == ';' || trimmed[0] == '#') return {};
  if (trimmed[0] == '[') {
    const std::string_view inner = trimmed.substr(1);
    return {LineInfo::Kind::kSection, Trim(inner.substr(0, inner.find(']')))};
  }
  const std::size_t equals = text.find('=');
  if (equals == npos) return {LineInfo::Kind::kKey, trimmed};
  const std::string_view name = Trim(text.substr(0, equals));
  if (name.empty()) return {};
  return {LineInfo::Kind::kKey, name, equals + 1};
}

std::optional<std::int64_t> LeadingInteger(std::string_view text) {
  const bool has_sign = !text.empty() && (text[0] == '+' || text[0] == '-');
  const std::size_t digits = has_sign ? 1 : 0;
  std::size_t end = digits;
  while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
  if (end == digits) return std::nullopt;
  const bool negative = has_sign && text[0] == '-';
  // from_chars takes a '-' but no '+'.
  const std::size_t start = negative ? 0 : digits;
  std::int64_t value = 0;
  const auto result = std::from_chars(text.data() + start, text.data() + end, value);
  if (result.ec == std::errc::result_out_of_range) {
    return negative ? std::numeric_limits<std::int64_t>::min()
                    : std::numeric_limits<std::int64_t>::max();
  }
  return value;
}

}  // namespace

IniDocument::IniDocument(std::string_view text) {
  if (text.starts_with(kUtf8Mark)) {
    byte_order_mark_ = kUtf8Mark;
    text.remove_prefix(kUtf8Mark.size());
  }
  std::size_t position = 0;
  while (position < text.size()) {
    const std::size_t line_feed = text.find('\n', position);
    if (line_feed == npos) {
      lines_.push_back({std::string(text.substr(position)), ""});
      break;
    }
    const bool crlf = line_feed > position && text[line_feed - 1] == '\r';
    const std::size_t end = crlf ? line_feed - 1 : line_feed;
    lines_.push_back({std::string(text.substr(position, end - position)), crlf ? "\r\n" : "\n"});
    position = line_feed + 1;
  }
  if (!lines_.empty() && !lines_.front().end.empty()) new_line_end_ = lines_.front().end;
}

std::size_t IniDocument::FindKey(std::string_view section, std::string_view key) const {
  bool inside = false;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const LineInfo info = Classify(lines_[i].text);
    if (info.kind == LineInfo::Kind::kSection) {
      inside = SameName(info.name, section);
    } else if (inside && info.kind == LineInfo::Kind::kKey && SameName(info.name, key)) {
      return i;
    }
  }
  return npos;
}

std::size_t IniDocument::NewKeyPosition(std::string_view section) const {
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const LineInfo header = Classify(lines_[i].text);
    if (header.kind != LineInfo::Kind::kSection || !SameName(header.name, section)) continue;
    // Behind the last key, so that blank lines and comments in front of the next section stay
    // in front of it.
    std::size_t position = i + 1;
    for (std::size_t j = i + 1; j < lines_.size(); ++j) {
      const LineInfo::Kind kind = Classify(lines_[j].text).kind;
      if (kind == LineInfo::Kind::kSection) break;
      if (kind == LineInfo::Kind::kKey) position = j + 1;
    }
    return position;
  }
  return npos;
}

std::string IniDocument::ReadString(std::string_view section, std::string_view key,
                                    std::string_view default_value) const {
  const std::size_t index = FindKey(section, key);
  if (index == npos) return std::string(default_value);
  const std::string_view text = lines_[index].text;
  const std::size_t value_start = Classify(text).value_start;
  if (value_start == npos) return {};
  std::string_view value = Trim(text.substr(value_start));
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value);
}

std::int64_t IniDocument::ReadInteger(std::string_view section, std::string_view key,
                                      std::int64_t default_value) const {
  const std::size_t index = FindKey(section, key);
  if (index == npos) return default_value;
  return LeadingInteger(ReadString(section, key, "")).value_or(default_value);
}

void IniDocument::EndLastLine() {
  if (!lines_.empty() && lines_.back().end.empty()) lines_.back().end = new_line_end_;
}

void IniDocument::WriteString(std::string_view section, std::string_view key,
                              std::string_view value) {
  value = value.substr(0, value.find_first_of("\r\n"));
  const std::size_t index = FindKey(section, key);
  if (index != npos) {
    std::string& text = lines_[index].text;
    const std::size_t value_start = Classify(text).value_start;
    if (value_start == npos) {
      text = std::string(Trim(text)) + "=" + std::string(value);
      return;
    }
    const std::size_t old_value = text.find_first_not_of(kBlanks, value_start);
    text = text.substr(0, old_value == npos ? value_start : old_value) + std::string(value);
    return;
  }

  std::size_t position = NewKeyPosition(section);
  if (position == npos) {
    EndLastLine();
    if (!lines_.empty() && !Trim(lines_.back().text).empty()) {
      lines_.push_back({"", new_line_end_});
    }
    lines_.push_back({"[" + std::string(section) + "]", new_line_end_});
    position = lines_.size();
  }
  if (position == lines_.size()) EndLastLine();
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(position),
                {std::string(key) + "=" + std::string(value), new_line_end_});
}

void IniDocument::WriteInteger(std::string_view section, std::string_view key, std::int64_t value) {
  WriteString(section, key, std::to_string(value));
}

std::string IniDocument::Text() const {
  std::string text = byte_order_mark_;
  for (const Line& line : lines_) text += line.text + line.end;
  return text;
}

}  // namespace lorix
