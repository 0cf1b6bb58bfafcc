// Fuzzes the splitting of Exec lines into arguments. Besides not failing on any line, the
// splitter must take back what it is given: arguments quoted as the desktop-entry rules say
// come out of it unchanged, whatever bytes they hold.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "desktop/exec_line.h"
#include "fuzz/fuzz_support.h"

namespace {

// The argument in double quotes, with ", `, $ and \ escaped by a backslash.
std::string Quoted(const std::string& argument) {
  std::string quoted = "\"";
  for (const char c : argument) {
    if (std::string_view("\"`$\\").find(c) != std::string_view::npos) quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string line(reinterpret_cast<const char*>(data), size);
  const lorix::ExecContext context{"Mail \"Programm\"", "mail-icon", "/usr/share/applications/m"};
  const std::vector<std::string> arguments = lorix::SplitExecLine(line, context);

  // Each argument quoted and joined by blanks splits into the same arguments again, codes and
  // all, since quoted arguments are taken literally.
  std::string joined;
  for (const std::string& argument : arguments) joined += Quoted(argument) + " ";
  LORIX_FUZZ_CHECK(lorix::SplitExecLine(joined, context) == arguments);

  // The input's pieces, separated at NUL bytes, as arguments of their own.
  std::vector<std::string> pieces;
  std::string quoted_pieces;
  for (std::size_t begin = 0; begin <= line.size();) {
    std::size_t end = line.find('\0', begin);
    if (end == std::string::npos) end = line.size();
    pieces.push_back(line.substr(begin, end - begin));
    quoted_pieces += Quoted(pieces.back()) + "\t";
    begin = end + 1;
  }
  LORIX_FUZZ_CHECK(lorix::SplitExecLine(quoted_pieces) == pieces);
  return 0;
}
