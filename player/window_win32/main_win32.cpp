// LorixPlayer.exe for Windows: plays the recording appended to its own file (or a file named on
// the command line or dropped on the window) through the system's media-control service.

// windows.h first: the other system headers build on it.
#include <windows.h>

#include <shellapi.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "audio/mixer.h"
#include "audio/win32/winmm_mci.h"
#include "audio/win32/winmm_mixer_backend.h"
#include "codec/file_system.h"
#include "codec/install_layout.h"
#include "codec/win32/wide_text.h"
#include "desktop/win32/shell_win32.h"
#include "desktop/win32/ui/clipboard_win32.h"
#include "desktop/win32/ui/message_box_dialogs.h"
#include "desktop/win32/ui/message_loop.h"
#include "player/player_app.h"
#include "player/player_window_glue.h"
#include "player/window_win32/own_version.h"
#include "player/window_win32/win32_player_window.h"

// The runtime's default handler for an uncaught exception prints the exception's demangled
// type, and the demangler alone is a fifth of the program. The player catches what it throws;
// anything else ends it at once.
namespace __gnu_cxx {
void __verbose_terminate_handler() {
  std::abort();
}
}  // namespace __gnu_cxx

namespace {

std::string OwnExecutable() {
  std::wstring buffer(MAX_PATH, L'\0');
  while (true) {
    const DWORD length =
        GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length < buffer.size()) return lorix::Narrow(std::wstring_view(buffer.data(), length));
    buffer.resize(buffer.size() * 2);
  }
}

// The arguments after the program's name; a quoted argument may hold blanks.
std::vector<std::string> Arguments() {
  int count = 0;
  LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  for (int i = 1; words && i < count; ++i) arguments.push_back(lorix::Narrow(words[i]));
  if (words) LocalFree(words);
  return arguments;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  using namespace lorix;

  WinmmMixerBackend mixer_backend;
  Mixer mixer(mixer_backend);
  // Boxes without an owner: the window stays usable while one is open (the glue refuses what
  // would run into the waiting handler).
  Win32Dialogs dialogs;

  Win32PlayerWindow* window = nullptr;
  PlayerServices services;
  services.send_command = [](const std::string& command, std::string& reply) {
    return WinmmSendString(command, reply);
  };
  services.error_text = [](int code) { return WinmmErrorText(code); };
  services.find_wave_application = [](const std::string& wav_file) {
    return WaveApplicationPath(FindExecutableFor(wav_file));
  };
  services.open = [](const std::string& target) { ShellOpen(target); };
  services.start_system_mixer = StartVolumeMixer;
  services.copy_to_clipboard = [&window](const std::string& text) {
    return CopyTextToClipboard(window ? window->handle() : nullptr, text);
  };
  services.repaint = [&window] {
    if (window) window->Repaint();
  };
  services.shutdown_wait = WaitForMediaService;

  PlayerSetup setup;
  // "TEMPs" in the current folder; the player falls back to %TEMP%\LORIX\TEMPs (or TEMPs-2…)
  // where it cannot be made there (a read-only folder) or another player plays from it. The
  // installed player, which opens .lrx files from wherever they lie, goes there at once.
  setup.base_dir = CurrentDirectory();
  setup.own_executable = OwnExecutable();
  setup.installed = EntryExists(setup.own_executable.parent_path() / kInstalledMarkerName);
  setup.version = OwnFileVersion();

  PlayerApp app(std::move(services), mixer, dialogs, std::move(setup));
  Win32PlayerWindow player_window(instance, app);
  window = &player_window;

  app.Start(Arguments());
  player_window.Sync();

  // The player's keys reach its window as they are: no accelerators, no dialog keys.
  return RunMessageLoop({});
}
