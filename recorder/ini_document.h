#pragma once

// The text of an INI file, read and changed the way the classic Windows profile functions do it.
// Users edit the recorder's settings file by hand, so a write changes only the one value it is
// about: comments, unknown keys and sections, blank lines, line ends and every byte the program
// does not understand stay as they were.
//
// Rules:
// - "[Name]" starts a section; "Key=Value" is a key; a line starting with ';' or '#' is a
//   comment. Lines before the first section belong to no section.
// - Section and key names are trimmed of blanks and compared case-insensitively (ASCII letters).
// - A value is trimmed of blanks; a value in matching double or single quotes loses them.
// - When a key occurs more than once (also in repeated sections of the same name), the first wins.
// - The text is 8-bit and taken as it is; a UTF-8 byte-order mark in front is kept.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lorix {

class IniDocument {
 public:
  // An empty document: a file that does not exist yet.
  IniDocument() = default;
  explicit IniDocument(std::string_view text);

  // The value of the key, or `default_value` when the section or the key is missing.
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view default_value) const;

  // An optional sign and the decimal digits at the start of the value; whatever follows the
  // digits is ignored ("12 ms" is 12). A value without leading digits - missing, empty, "abc",
  // "-" - gives `default_value`, never 0: an unreadable value must not change a setting.
  // Numbers beyond the 64-bit range are taken as its nearest end.
  std::int64_t ReadInteger(std::string_view section, std::string_view key,
                           std::int64_t default_value) const;

  // Sets the key's value. An existing key keeps its line up to the '=' and the blanks after
  // it; a new key goes behind the last key of its section (right behind the header when there
  // is none); a new section goes at the end of the file, after a blank line. A line break in
  // `value` would split the line, so the value ends before the first one.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, std::int64_t value);

  // The whole file. New lines end like the file's first line (CR LF in a file without any).
  std::string Text() const;

 private:
  struct Line {
    std::string text;  // without its line end
    std::string end;   // "\r\n", "\n" or, on a last line without one, ""
  };

  // The first line of `key` in `section`, or npos.
  std::size_t FindKey(std::string_view section, std::string_view key) const;
  // The place for a new key in the first section of that name, or npos without such a section.
  std::size_t NewKeyPosition(std::string_view section) const;
  void EndLastLine();

  std::string byte_order_mark_;
  std::vector<Line> lines_;
  std::string new_line_end_ = "\r\n";
};

}  // namespace lorix
