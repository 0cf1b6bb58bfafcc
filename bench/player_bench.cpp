// The player as it is shipped: the size of the stripped program, and the time from starting an
// attachment of a five-minute message to its first samples reaching the sound device (caught
// by the preloaded first-write probe). Needs an X display and a sound device; scripts/bench.sh
// runs it on the test rig. Environment: LORIX_PLAYER, LORIX_TOOL, LORIX_PROBE_LIB and
// LORIX_MESSAGE_WAV (the five-minute message).

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "desktop/command_output.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

long long MonotonicNs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

bool ReportSize(const fs::path& player, const fs::path& work) {
  const fs::path stripped = work / "LorixPlayer.stripped";
  fs::copy_file(player, stripped, fs::copy_options::overwrite_existing);
  if (lorix::RunAndCapture({"strip", stripped.string()}).exit_status != 0) return false;
  std::printf("player size: %ju bytes as built, %ju bytes stripped (%.0f KB)\n",
              static_cast<std::uintmax_t>(fs::file_size(player)),
              static_cast<std::uintmax_t>(fs::file_size(stripped)),
              static_cast<double>(fs::file_size(stripped)) / 1024.0);
  return true;
}

// Starts the attachment in `work` with the probe preloaded; returns ms to the first write, or
// a negative value when none came within ten seconds.
double StartToFirstWrite(const fs::path& attachment, const fs::path& work) {
  const fs::path probe_file = work / "first_write";
  fs::remove(probe_file);
  fs::remove_all(work / "TEMPs");
  std::vector<std::string> env_strings;
  for (char** entry = environ; *entry != nullptr; ++entry) env_strings.emplace_back(*entry);
  env_strings.push_back("LD_PRELOAD=" + Env("LORIX_PROBE_LIB"));
  env_strings.push_back("LORIX_PROBE_FILE=" + probe_file.string());
  std::vector<char*> envp;
  for (auto& entry : env_strings) envp.push_back(entry.data());
  envp.push_back(nullptr);
  std::string program = attachment.string();
  char* argv[] = {program.data(), nullptr};

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addchdir_np(&actions, work.c_str());
  const long long start = MonotonicNs();
  pid_t pid = -1;
  const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return -1;

  double ms = -1;
  for (const auto deadline = std::chrono::steady_clock::now() + 10s;
       std::chrono::steady_clock::now() < deadline; std::this_thread::sleep_for(1ms)) {
    std::ifstream in(probe_file);
    long long written = 0;
    if (in >> written) {
      ms = static_cast<double>(written - start) / 1e6;
      break;
    }
  }
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
  return ms;
}

}  // namespace

int main() {
  const fs::path player = Env("LORIX_PLAYER");
  const fs::path tool = Env("LORIX_TOOL");
  const fs::path message = Env("LORIX_MESSAGE_WAV");
  if (!fs::exists(player) || !fs::exists(tool) || !fs::exists(message) ||
      !fs::exists(Env("LORIX_PROBE_LIB"))) {
    std::fprintf(stderr,
                 "LORIX_PLAYER, LORIX_TOOL, LORIX_PROBE_LIB and LORIX_MESSAGE_WAV must "
                 "name existing files\n");
    return 2;
  }
  const fs::path work =
      fs::temp_directory_path() / ("lorix_player_bench_" + std::to_string(getpid()));
  fs::create_directories(work);
  if (!ReportSize(player, work)) return 1;

  const fs::path attachment = work / "LORIX_bench.EXE";
  if (lorix::RunAndCapture({tool.string(), "pack", "--player-exe", player.string(),
                            message.string(), attachment.string()},
                           60s)
          .exit_status != 0) {
    std::fprintf(stderr, "could not pack the message\n");
    return 1;
  }
  std::printf("attachment: %ju bytes\n", static_cast<std::uintmax_t>(fs::file_size(attachment)));
  std::vector<double> runs;
  for (int run = 0; run < 7; ++run) {
    const double ms = StartToFirstWrite(attachment, work);
    if (ms < 0) {
      std::fprintf(stderr, "the player wrote no sound within ten seconds\n");
      return 1;
    }
    runs.push_back(ms);
    std::this_thread::sleep_for(300ms);
  }
  std::sort(runs.begin(), runs.end());
  std::printf(
      "start of a five-minute attachment -> first samples written to ALSA: median %.1f ms, "
      "min %.1f ms, max %.1f ms (%zu runs)\n",
      runs[runs.size() / 2], runs.front(), runs.back(), runs.size());
  fs::remove_all(work);
  return 0;
}
