// lorix-player: plays the recording appended to its own file (or a file named on the command
// line, such as a saved attachment, or dropped on the window) in a small FLTK window.

#include <FL/Fl.H>

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "audio/alsa_mixer_backend.h"
#include "audio/alsa_playback_backend.h"
#include "audio/mci_errors.h"
#include "audio/mci_service.h"
#include "audio/mixer.h"
#include "codec/file_system.h"
#include "codec/info_text_view.h"
#include "codec/install_layout.h"
#include "codec/version.h"
#include "desktop/open_with_desktop.h"
#include "desktop/system_tools.h"
#include "desktop/wav_application.h"
#include "player/player_app.h"
#include "player/player_window_glue.h"
#include "player/window/display.h"
#include "player/window/fltk_dialogs.h"
#include "player/window/player_window.h"

namespace {

std::filesystem::path OwnExecutable(const char* argv0) {
  const std::filesystem::path path = lorix::ReadSymbolicLink("/proc/self/exe");
  return path.empty() ? std::filesystem::path(argv0) : path;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace lorix;

  if (!OpenDisplay()) {
    std::fputs(
        "LORIX-Player: Keine grafische Anzeige gefunden (X-Display nicht erreichbar, DISPLAY "
        "prüfen). Das Programm wird beendet.\n",
        stderr);
    return 1;
  }

  AlsaPlaybackBackend playback_backend;
  MciService mci(playback_backend);
  // Without a sound card the mixer has no controls: the volume bar then shows silence.
  AlsaMixerBackend mixer_backend;
  Mixer mixer(mixer_backend);
  FltkDialogs dialogs;

  PlayerWindow* window = nullptr;
  PlayerServices services;
  services.send_command = [&mci](const std::string& command, std::string& reply) {
    return mci.MciSendString(command, reply);
  };
  services.error_text = [](int code) { return MciGetErrorString(code); };
  services.find_wave_application = [](const std::string&) {
    return WaveApplicationPath(FindExecutableForWav());
  };
  services.open = [](const std::string& target) { OpenWithDesktop(target); };
  services.start_system_mixer = [] { return StartSystemMixer(MixerSide::kPlayback).result; };
  // FLTK keeps the text and hands it to whoever asks: taking the clipboard cannot fail.
  services.copy_to_clipboard = [](const std::string& text) {
    Fl::copy(text.data(), static_cast<int>(text.size()), 1);
    return true;
  };
  // Linux text viewers expect UTF-8.
  services.info_text_view = WriteInfoTextView;
  services.repaint = [&window] {
    if (window) window->Repaint();
  };
  services.shutdown_wait = WaitForMediaService;

  PlayerSetup setup;
  setup.base_dir = CurrentDirectory();
  if (setup.base_dir.empty()) setup.base_dir = ".";
  setup.own_executable = OwnExecutable(argv[0]);
  setup.version = kFileVersion;
  setup.installed = IsInstalledProgramFolder(setup.own_executable.parent_path());

  PlayerApp app(std::move(services), mixer, dialogs, std::move(setup));
  PlayerWindow player_window(app);
  window = &player_window;
  player_window.Show();
  player_window.StartTimer();

  app.Start(std::vector<std::string>(argv + 1, argv + argc));
  player_window.Sync();
  const int result = Fl::run();
  window = nullptr;
  return result;
}
