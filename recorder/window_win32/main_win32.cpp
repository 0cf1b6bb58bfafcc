// Lorix.exe, the recorder for Windows: one instance per desktop, the folders the recorder works
// with, the devices (wave input, media control, mixer), the main window TFormStart with the
// hidden sound-card form TFormLorixSK, and the message loop until the window is closed.

// windows.h first: the other system headers build on it.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <utility>
#include <vector>

#include "audio/mixer.h"
#include "audio/recording_engine.h"
#include "audio/win32/ui_thread_mailbox.h"
#include "audio/win32/wave_in_capture_backend.h"
#include "audio/win32/winmm_mci.h"
#include "audio/win32/winmm_mixer_backend.h"
#include "codec/file_system.h"
#include "codec/win32/wide_text.h"
#include "desktop/win32/shell_win32.h"
#include "desktop/win32/ui/message_box_dialogs.h"
#include "desktop/win32/ui/message_loop.h"
#include "recorder/attachment_overhead.h"
#include "recorder/recorder_app.h"
#include "recorder/recorder_paths.h"
#include "recorder/recorder_settings.h"
#include "recorder/win32/file_chooser_win32.h"
#include "recorder/window_win32/main_window_win32.h"
#include "recorder/window_win32/single_instance_win32.h"
#include "recorder/window_win32/sound_card_form_win32.h"

namespace {

std::wstring OwnExecutable() {
  std::wstring buffer(MAX_PATH, L'\0');
  while (true) {
    const DWORD length =
        GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length < buffer.size()) return buffer.substr(0, length);
    buffer.resize(buffer.size() * 2);
  }
}

// The program file's name up to its first '.'.
std::string ProgramName(const std::wstring& executable) {
  const std::size_t slash = executable.find_last_of(L"\\/");
  const std::wstring name = executable.substr(slash == std::wstring::npos ? 0 : slash + 1);
  return lorix::Narrow(name.substr(0, name.find(L'.')));
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

std::wstring CurrentFolder() {
  const DWORD length = GetCurrentDirectoryW(0, nullptr);
  std::wstring folder(length, L'\0');
  const DWORD written = GetCurrentDirectoryW(length, folder.data());
  folder.resize(written);
  return folder;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  using namespace lorix;
  const auto start_time = WallClock::now();
  // A second start brings the first to the front and ends at once, without a window; its
  // arguments are not passed on.
  if (HandOverToFirstInstance()) return 0;

  // Relative paths on the command line name files in the folder of the start.
  const std::wstring start_folder = CurrentFolder();
  const std::wstring executable = OwnExecutable();
  RecorderPaths paths = RecorderPaths::ForProgram(Narrow(executable), UserDocumentsFolder);
  CreateRecorderFolders(paths);

  Win32Dialogs dialogs;
  const bool in_program_folder =
      SetCurrentDirectoryW(Widen(paths.program_folder.string()).c_str()) != FALSE;

  UiThreadMailbox mailbox;
  WaveInCaptureBackend capture;
  RecordingEngine engine(capture, mailbox.Poster(), dialogs);
  WinmmMixerBackend mixer_device;
  Mixer mixer(mixer_device);
  RecorderSettings settings;

  // The forms' track bars and the hints' tooltip come from the common controls.
  const INITCOMMONCONTROLSEX common_controls{sizeof(INITCOMMONCONTROLSEX),
                                             ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&common_controls);
  Win32MainWindow window(instance, dialogs, ProgramName(executable), start_time);
  mailbox.SetWindow(window.handle());
  dialogs.set_owner(window.handle());
  if (!in_program_folder) {
    // The folder is named as a folder, with its closing separator.
    std::string folder = paths.program_folder.string();
    if (folder.empty() || (folder.back() != '\\' && folder.back() != '/')) folder += '\\';
    dialogs.Show({"LORIX", "Falsches Arbeitsverzeichnis: " + folder, DialogIcon::kInformation,
                  DialogButtons::kOk});
  }

  WavePlayback::Services playback;
  playback.send_command = [](const std::string& command, std::string& reply) {
    return WinmmSendString(command, reply);
  };
  playback.error_text = [](int code) { return WinmmErrorText(code); };
  playback.find_application = [](const std::string& wav_file) {
    return WaveApplicationPath(FindExecutableFor(wav_file));
  };
  playback.open_file = [](const std::string& file) { ShellOpen(file); };

  const HWND main_handle = window.handle();
  const std::int64_t overhead = MeasureAttachmentOverhead(paths, dialogs);
  window.StartApp({.engine = engine,
                   .dialogs = dialogs,
                   .settings = settings,
                   .paths = paths,
                   .playback = std::move(playback),
                   .mixer = &mixer,
                   .settings_file = paths.settings_file,
                   .attachment_overhead = overhead,
                   .choose_file = Win32FileChooser([main_handle] { return main_handle; }),
                   .open_file = [](const std::string& file) { ShellOpen(file); },
                   .mail = {}});
  Win32SoundCardForm sound_card(instance, window.handle(), capture, engine);
  window.SetSoundCardForm(&sound_card);

  window.Show(Arguments(), start_folder);
  MessageLoopSetup loop;
  loop.pre_filter = [&window](MSG& message) { return window.PreFilter(message); };
  loop.accelerators = window.accelerators();
  loop.accelerator_window = window.handle();
  loop.dialog_window = window.handle();
  const int exit_code = RunMessageLoop(loop);
  // Work still posted is dropped; the window's program logic goes before the devices. The
  // sound-card form, made after the window (it needs the window as its owner), goes before it:
  // the window must not keep its address.
  mailbox.SetWindow(nullptr);
  window.SetSoundCardForm(nullptr);
  return exit_code;
}
