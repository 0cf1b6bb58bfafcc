#include "desktop/system_tools.h"

#include <string>
#include <vector>

#include "desktop/open_with_desktop.h"
#include "desktop/path_search.h"

namespace lorix {

namespace {

struct Candidate {
  std::vector<std::string> argv;
  std::vector<std::string> also_needed;  // programs the command runs in turn
};

std::vector<Candidate> MixerCandidates(MixerSide side) {
  const bool recording = side == MixerSide::kRecording;
  // pavucontrol's tabs: 1 playback streams, 2 recording streams, 3 output devices, 4 input
  // devices, 5 configuration. The device tabs hold the volumes of the sound card itself.
  std::vector<std::string> alsamixer = {"alsamixer"};
  if (recording) alsamixer.insert(alsamixer.end(), {"-V", "capture"});
  std::vector<std::string> terminal = {"x-terminal-emulator", "-e"};
  terminal.insert(terminal.end(), alsamixer.begin(), alsamixer.end());
  return {
      {{"pavucontrol", recording ? "--tab=4" : "--tab=3"}, {}},
      {{"gnome-control-center", "sound"}, {}},
      {terminal, {"alsamixer"}},
  };
}

}  // namespace

ProgramStart StartSystemMixer(MixerSide side) {
  ProgramStart last{kStartFileNotFound, -1};
  for (const Candidate& candidate : MixerCandidates(side)) {
    bool installed = !FindInPath(candidate.argv.front()).empty();
    for (const std::string& program : candidate.also_needed) {
      installed = installed && !FindInPath(program).empty();
    }
    if (!installed) continue;
    last = StartProgram(candidate.argv);
    if (last.Succeeded()) return last;
  }
  return last;
}

ProgramStart OpenFolderInFileManager(const std::filesystem::path& folder) {
  return OpenWithDesktop(folder.string());
}

}  // namespace lorix
