#pragma once

#include <string>
#include <vector>

namespace lorix {

// What a desktop entry's Exec line needs besides the line itself.
struct ExecContext {
  std::string name;        // the entry's Name (for %c)
  std::string icon;        // the entry's Icon (for %i)
  std::string entry_path;  // the entry's file (for %k)
};

// Splits an Exec value (its string escapes already resolved) into arguments: blanks separate,
// double quotes group, and inside quotes a backslash escapes ", `, $ and \. The field codes for
// files and URLs (%f %F %u %U and the deprecated %d %D %n %N %v %m) are dropped, as are the
// sandbox markers @@, @@u and @@f; %i becomes --icon and the icon, %c the name, %k the entry's
// file, %% a percent sign. The result is empty when the line is malformed (an open quote).
std::vector<std::string> SplitExecLine(const std::string& exec, const ExecContext& context = {});

}  // namespace lorix
