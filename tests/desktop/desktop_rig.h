#pragma once

#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace lorix::testing {

namespace fs = std::filesystem;

// A private desktop for one test: a temporary folder whose bin/ is the whole PATH and whose
// data/ and system/ are XDG_DATA_HOME and XDG_DATA_DIRS. Stand-in programs written into bin/
// record every call (program name and arguments, NUL-separated) in one log. The environment is
// restored when the rig goes.
class DesktopRig {
 public:
  DesktopRig() {
    std::string pattern = (fs::temp_directory_path() / "lorix-desktop-XXXXXX").string();
    root_ = mkdtemp(pattern.data());
    for (const char* name : {"bin", "data/applications", "system/applications", "home"}) {
      fs::create_directories(root_ / name);
    }
    for (const char* name : kVariables) {
      const char* value = std::getenv(name);
      saved_[name] = value != nullptr ? std::optional<std::string>(value) : std::nullopt;
    }
    setenv("PATH", bin().c_str(), 1);
    setenv("HOME", (root_ / "home").c_str(), 1);
    setenv("XDG_DATA_HOME", (root_ / "data").c_str(), 1);
    setenv("XDG_DATA_DIRS", (root_ / "system").c_str(), 1);
  }
  ~DesktopRig() {
    for (const auto& [name, value] : saved_) {
      if (value)
        setenv(name.c_str(), value->c_str(), 1);
      else
        unsetenv(name.c_str());
    }
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }

  const fs::path& root() const { return root_; }
  fs::path bin() const { return root_ / "bin"; }
  fs::path log() const { return root_ / "calls.log"; }

  fs::path WriteFile(const fs::path& path, const std::string& text, bool executable = false) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
    chmod(path.c_str(), executable ? 0755 : 0644);
    return path;
  }
  fs::path Script(const std::string& name, const std::string& body) {
    return WriteFile(bin() / name, "#!/bin/sh\n" + body + "\n", true);
  }
  // A stand-in that records its call and exits with `status`.
  fs::path Recorder(const std::string& name, int status = 0) {
    return Script(name, "printf '%s\\0' '" + name + "' \"$#\" \"$@\" >> '" + log().string() +
                            "'\nexit " + std::to_string(status));
  }
  // xdg-mime answering `query default TYPE` from the table (and recording the call).
  void MimeDefaults(const std::map<std::string, std::string>& answers) {
    std::string body = "printf '%s\\0' xdg-mime \"$#\" \"$@\" >> '" + log().string() + "'\n";
    body += "case \"$3\" in\n";
    for (const auto& [type, id] : answers) body += "  '" + type + "') echo '" + id + "' ;;\n";
    body += "esac";
    Script("xdg-mime", body);
  }
  // A desktop entry in data/ (user) or system/ (system-wide) below applications/.
  fs::path Entry(const fs::path& relative, const std::string& name, const std::string& exec,
                 bool user = false) {
    return WriteFile(root_ / (user ? "data" : "system") / "applications" / relative,
                     "[Desktop Entry]\nType=Application\nName=" + name + "\nIcon=app-icon\nExec=" +
                         exec + "\n\n[Desktop Action other]\nExec=wrong-program\n");
  }

  using Call = std::vector<std::string>;  // program name, then its arguments
  std::vector<Call> Calls() const {
    std::ifstream in(log(), std::ios::binary);
    std::vector<std::string> fields;
    for (std::string field; std::getline(in, field, '\0');) fields.push_back(field);
    std::vector<Call> calls;
    for (std::size_t i = 0; i + 1 < fields.size();) {
      const std::size_t count = std::stoul(fields[i + 1]);
      if (i + 2 + count > fields.size()) break;  // a call still being written
      Call call{fields[i]};
      call.insert(call.end(), fields.begin() + i + 2, fields.begin() + i + 2 + count);
      calls.push_back(call);
      i += 2 + count;
    }
    return calls;
  }
  // Waits until `count` calls are recorded (started programs run detached) and returns them.
  std::vector<Call> WaitForCalls(std::size_t count) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    std::vector<Call> calls = Calls();
    while (calls.size() < count && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      calls = Calls();
    }
    return calls;
  }
  // The calls other than xdg-mime's, once `count` of them are there.
  std::vector<Call> Started(std::size_t count) const {
    std::vector<Call> started;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    do {
      started.clear();
      for (const Call& call : Calls()) {
        if (call.front() != "xdg-mime") started.push_back(call);
      }
      if (started.size() >= count) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    } while (std::chrono::steady_clock::now() < deadline);
    return started;
  }

 private:
  static constexpr const char* kVariables[] = {"PATH", "HOME", "XDG_DATA_HOME", "XDG_DATA_DIRS"};
  fs::path root_;
  std::map<std::string, std::optional<std::string>> saved_;
};

// A text with everything a shell or a command-line parser would take apart.
inline const std::string kHostileText =
    "Grüße an 'alle', \"x\" $HOME `id` 50% & so;\r\nZeile 2\\n ende ";

}  // namespace lorix::testing
