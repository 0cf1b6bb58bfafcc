#include "recorder/window_win32/main_window_win32.h"

#include <shellapi.h>

#include <filesystem>
#include <utility>

#include "codec/version.h"
#include "codec/win32/wide_text.h"
#include "desktop/win32/shell_win32.h"
#include "recorder/window/help_page.h"
#include "recorder/window_win32/about_box_win32.h"
#include "recorder/window_win32/single_instance_win32.h"
#include "recorder/window_win32/sound_card_form_win32.h"
#include "recorder/window_win32/ui_thread_mailbox.h"

namespace lorix {
namespace {

constexpr UINT_PTR kTimer1 = 1;
constexpr UINT kTimer1Milliseconds = 100;
// Posted once the window is shown: the first activation's start runs from the message loop.
constexpr UINT kFormActivate = WM_APP + 0x43;

}  // namespace

Win32MainWindow::Win32MainWindow(HINSTANCE instance, Dialogs& dialogs, std::string program_name,
                                 WallClock::time_point start_time)
    : instance_(instance),
      dialogs_(dialogs),
      program_name_(std::move(program_name)),
      start_time_(start_time) {
  WNDCLASSW window_class{};
  window_class.hInstance = instance;
  window_class.lpszClassName = kRecorderWindowClass;
  window_class.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  window_class.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  window_class.hIcon = LoadIconW(instance, L"MAINICON");
  RegisterWindowClass(window_class);
  const std::string caption =
      program_name_ + " V." + ProgramVersion + "  (Build " + kFileVersion + ")";
  CreateOwnWindow(0, kRecorderWindowClass, caption,
                  WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, CW_USEDEFAULT,
                  CW_USEDEFAULT, 480, 360, nullptr, instance);
  DragAcceptFiles(handle(), TRUE);
}

Win32MainWindow::~Win32MainWindow() {
  // The program logic goes first: its engine sink and playback must not reach this window.
  app_.reset();
  if (handle() != nullptr) DestroyWindow(handle());
}

void Win32MainWindow::StartApp(RecorderAppParts parts) {
  app_ = std::make_unique<RecorderApp>(std::move(parts), Services());
  app_->FormCreate();
}

void Win32MainWindow::Show(std::vector<std::string> arguments, std::wstring start_folder) {
  arguments_ = std::move(arguments);
  start_folder_ = std::move(start_folder);
  ShowWindow(handle(), SW_SHOWNORMAL);
  UpdateWindow(handle());
  PostMessageW(handle(), kFormActivate, 0, 0);
}

RecorderWindowServices Win32MainWindow::Services() {
  RecorderWindowServices s;
  s.paint = [this] { Paint(); };
  s.repaint_now = [this] {
    Paint();
    UpdateWindow(handle());
  };
  s.window_place = [this] {
    RECT frame{};
    GetWindowRect(handle(), &frame);
    return WindowPlace{frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top};
  };
  s.move_window = [this](std::int32_t left, std::int32_t top) {
    SetWindowPos(handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  };
  s.window_on_top = [this] {
    return (GetWindowLongPtrW(handle(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  };
  s.set_window_on_top = [this](bool on) {
    SetWindowPos(handle(), on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  };
  s.set_standard_windows = [this] { DragAcceptFiles(handle(), TRUE); };
  s.has_recording_form = [this] { return sound_card_form_ != nullptr; };
  s.recording_form_place = [this] {
    RECT frame{};
    GetWindowRect(sound_card_form_->handle(), &frame);
    return WindowPlace{frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top};
  };
  s.place_recording_form = [this](const WindowPlace& place) {
    SetWindowPos(sound_card_form_->handle(), nullptr, place.left, place.top, place.width,
                 place.height, SWP_NOZORDER | SWP_NOACTIVATE);
  };
  s.recording_form_visible = [this] {
    return sound_card_form_ != nullptr && sound_card_form_->visible();
  };
  s.show_recording_form = [this](bool visible) { sound_card_form_->SetVisible(visible); };
  s.run_timer = [this](bool run) {
    if (run) {
      SetTimer(handle(), kTimer1, kTimer1Milliseconds, nullptr);
    } else {
      KillTimer(handle(), kTimer1);
    }
  };
  s.resolve_argument = [this](const std::string& argument) { return ResolveArgument(argument); };
  s.shutdown_wait = [] { Sleep(10); };
  return s;
}

std::string Win32MainWindow::ResolveArgument(const std::string& argument) const {
  // The program works in its own folder by now; the user meant the folder of the start.
  const std::filesystem::path path(argument);
  if (path.is_absolute() || start_folder_.empty()) return argument;
  return (std::filesystem::path(Narrow(start_folder_)) / path).string();
}

void Win32MainWindow::Paint() {}

bool Win32MainWindow::HandleMessage(UINT message, WPARAM w, LPARAM l, LRESULT& result) {
  switch (message) {
    case UiThreadMailbox::kRunPosted:
      UiThreadMailbox::Run(l);
      result = 0;
      return true;
    case kFormActivate:
      if (app_) app_->FormActivate(arguments_);
      result = 0;
      return true;
    case kSecondInstanceMessage:
      WMSecondInstance();
      result = 0;
      return true;
    case WM_TIMER:
      if (w != kTimer1 || !app_) return false;
      app_->Timer1Timer();
      result = 0;
      return true;
    case WM_DROPFILES:
      DropFiles(reinterpret_cast<HDROP>(w));
      result = 0;
      return true;
    case WM_CLOSE:
      // The close query may refuse; then the window stays as it was.
      if (!app_ || app_->FormCloseQuery()) DestroyWindow(handle());
      result = 0;
      return true;
    case WM_DESTROY:
      // Ends the message loop; the program then takes everything down in order.
      PostQuitMessage(0);
      result = 0;
      return true;
    default:
      return false;
  }
}

void Win32MainWindow::WMSecondInstance() {
  if (IsIconic(handle())) {
    ShowWindow(handle(), SW_RESTORE);
  } else {
    ShowWindow(handle(), SW_SHOW);
  }
  const bool activated = SetForegroundWindow(handle()) != FALSE;
  // The box comes after the window, so that it opens above a window the user can see.
  if (app_) app_->WMSecondInstance(activated);
}

void Win32MainWindow::DropFiles(HDROP drop) {
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  // Loaded one after the other, in the order they were dropped.
  for (UINT i = 0; i < count; ++i) {
    const UINT length = DragQueryFileW(drop, i, nullptr, 0);
    std::wstring path(length + 1, L'\0');
    DragQueryFileW(drop, i, path.data(), length + 1);
    path.resize(length);
    if (app_) app_->workflow().AddMoreToList(Narrow(path));
  }
  DragFinish(drop);
  Paint();
}

void Win32MainWindow::OpenHelp(const char* page) {
  if (!app_) return;
  OpenHelpPage(app_->paths().data_folder, page, [](const std::string& file) { ShellOpen(file); });
}

void Win32MainWindow::MIInfoRegClick() {
  if (!about_box_) {
    about_box_ = std::make_unique<Win32AboutBox>(
        instance_, handle(), dialogs_,
        AboutBoxTexts{.program_name = program_name_,
                      .program_folder = app_ ? app_->paths().user_folder : std::filesystem::path(),
                      .start_time = start_time_});
  }
  about_box_->ShowModal();
}

}  // namespace lorix
