#include "recorder/window_win32/main_window_win32.h"

#include <commctrl.h>
#include <shellapi.h>

#include <filesystem>
#include <utility>

#include "audio/win32/ui_thread_mailbox.h"
#include "codec/version.h"
#include "codec/win32/wide_text.h"
#include "desktop/system_tools.h"
#include "desktop/win32/shell_win32.h"
#include "desktop/win32/ui/set_if_changed.h"
#include "desktop/win32/ui/virtual_keys.h"
#include "recorder/about_texts.h"
#include "recorder/help_page.h"
#include "recorder/window_win32/about_box_win32.h"
#include "recorder/window_win32/glyphs_win32.h"
#include "recorder/window_win32/single_instance_win32.h"
#include "recorder/window_win32/sound_card_form_win32.h"

namespace lorix {
namespace {

constexpr UINT_PTR kTimer1 = 1;
constexpr UINT kTimer1Milliseconds = 100;
// Posted once the window is shown: the first activation's start runs from the message loop.
constexpr UINT kFormActivate = WM_APP + 0x43;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

// Where `window` stands on the screen, to be stored and restored at the next start. A minimized
// window's own rectangle lies far outside the screen (-32000); what counts then is the place it
// comes back to, which the system keeps in workspace coordinates (the work area's corner is
// 0,0, so a task bar at the top or left shifts it) and which is turned into screen coordinates.
WindowPlace ScreenPlaceOf(HWND window) {
  RECT frame{};
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  if (IsIconic(window) && GetWindowPlacement(window, &placement)) {
    frame = placement.rcNormalPosition;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    const bool workspace = (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) == 0;
    if (workspace &&
        GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) {
      OffsetRect(&frame, monitor.rcWork.left - monitor.rcMonitor.left,
                 monitor.rcWork.top - monitor.rcMonitor.top);
    }
  } else {
    GetWindowRect(window, &frame);
  }
  return WindowPlace{frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top};
}

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
  CreateOwnWindow(WS_EX_CONTROLPARENT, kRecorderWindowClass, Caption(), kStyle, CW_USEDEFAULT,
                  CW_USEDEFAULT, 640, 480, nullptr, instance);
  caption_shown_ = Caption();
  form_.Create(handle(), instance, MainFormControlTable());
  SetWindowTextW(form_.Handle(FormControl::kPanelTitle),
                 Widen(VersionText(program_name_, ProgramVersion)).c_str());
  SetButtonGlyphs(form_, instance);
  menu_.Create(handle());
  DragAcceptFiles(handle(), TRUE);
}

Win32MainWindow::~Win32MainWindow() {
  // The program logic goes first: its engine sink and playback must not reach this window.
  app_.reset();
  if (handle() != nullptr) DestroyWindow(handle());
}

std::string Win32MainWindow::Caption() const {
  return MainWindowCaption(program_name_, ProgramVersion, kFileVersion);
}

void Win32MainWindow::StartApp(RecorderAppParts parts) {
  app_ = std::make_unique<RecorderApp>(std::move(parts), Services());
  ShowBlocks();
  app_->FormCreate();
  Paint();
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
    RedrawWindow(handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  };
  s.focus = [this](FocusTarget target) { Focus(target); };
  s.show_blocks = [this] { ShowBlocks(); };
  s.paint_menus = [this](const MenuState& state) {
    menu_.ShowExpertItems(app_ && app_->window().expert_items_visible);
    menu_.Paint(state, app_ && app_->window().expert_mode);
  };
  s.window_place = [this] { return ScreenPlaceOf(handle()); };
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
  s.recording_form_place = [this] { return ScreenPlaceOf(sound_card_form_->handle()); };
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
  s.volume_slider_held = [this](VolumeSlider slider) {
    if (!held_track_bar_) return false;
    const FormControlRow& row = FormControlRowOf(*held_track_bar_);
    return row.volume == slider;
  };
  s.resolve_argument = [this](const std::string& argument) { return ResolveArgument(argument); };
  s.shutdown_wait = [] { Sleep(10); };
  return s;
}

WindowCommands Win32MainWindow::Commands() {
  return {.close = [this] { PostMessageW(handle(), WM_CLOSE, 0, 0); },
          .open_help = [this](const char* page) { OpenHelp(page); },
          .show_about = [this] { MIInfoRegClick(); },
          .start_program = [this](SystemProgram program) { StartProgram(program); }};
}

std::string Win32MainWindow::ResolveArgument(const std::string& argument) const {
  // The program works in its own folder by now; the user meant the folder of the start.
  const std::filesystem::path path(argument);
  if (path.is_absolute() || start_folder_.empty()) return argument;
  return (std::filesystem::path(Narrow(start_folder_)) / path).string();
}

void Win32MainWindow::Paint() {
  // Nothing to show while the program logic is being taken down.
  if (!app_) return;
  const RecordingWorkflow& workflow = app_->workflow();
  const RecorderControls& controls = workflow.controls();
  form_.Sync({.controls = &controls,
              .window = &app_->window(),
              .playback = &workflow.playback(),
              .held_track_bar = held_track_bar_});
  SetTextIfChanged(handle(), caption_shown_,
                   controls.Caption.empty() ? Caption() : controls.Caption);
  if (controls.PanelWait_visible) {
    SetWindowPos(form_.Handle(FormControl::kPanelWait), HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void Win32MainWindow::ShowBlocks() {
  if (!app_) return;
  const int height = form_.LayoutBlocks(app_->window().blocks_visible);
  RECT frame{0, 0, form_.scale()(kMainFormClientWidth), height};
  AdjustWindowRectEx(&frame, kStyle, TRUE, WS_EX_CONTROLPARENT);
  SetWindowPos(handle(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // The menu bar may wrap onto a second line at this width: the client area then grows.
  RECT client{};
  GetClientRect(handle(), &client);
  if (client.bottom < height) {
    SetWindowPos(handle(), nullptr, 0, 0, frame.right - frame.left,
                 frame.bottom - frame.top + height - client.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void Win32MainWindow::Focus(FocusTarget target) {
  const FormControl id = target == FocusTarget::kScrollBarRecordLevel
                             ? FormControl::kScrollBarRecordLevel
                             : FormControl::kScrollBarVolSpeakers;
  const HWND control = form_.Handle(id);
  // A control that cannot take the focus is passed over.
  if (control != nullptr && IsWindowVisible(control) && IsWindowEnabled(control)) {
    SetFocus(control);
  }
}

bool Win32MainWindow::PreFilter(MSG& message) {
  if (!app_ || message.message != WM_KEYDOWN) return false;
  // The window sees its keys before its controls do.
  if (message.hwnd != handle() && !IsChild(handle(), message.hwnd)) return false;
  if (message.wParam == VK_SPACE) {
    app_->SpaceBarPressed();
    Paint();
    return true;  // consumed: it never reaches a focused button
  }
  if (message.wParam == '1' || message.wParam == VK_NUMPAD1) {
    app_->StepOneKeyPressed();
    Paint();
  }
  return false;
}

bool Win32MainWindow::HandleMessage(UINT message, WPARAM w, LPARAM l, LRESULT& result) {
  switch (message) {
    case UiThreadMailbox::kRunPosted:
      UiThreadMailbox::Run(l);
      result = 0;
      return true;
    case kFormActivate:
      if (app_) {
        app_->FormActivate(arguments_);
        Paint();
      }
      result = 0;
      return true;
    case kSecondInstanceMessage:
      WMSecondInstance();
      result = 0;
      return true;
    case WM_COMMAND:
      Command(LOWORD(w), HIWORD(w), reinterpret_cast<HWND>(l));
      result = 0;
      return true;
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (l == 0) return false;
      Scroll(reinterpret_cast<HWND>(l), LOWORD(w));
      result = 0;
      return true;
    case WM_INITMENU:
      // The check marks and enabled states follow the window as a menu opens.
      if (app_) app_->UpdateMenus();
      return false;
    case WM_CTLCOLORSTATIC:
      if (const HBRUSH brush =
              form_.ColorStatic(reinterpret_cast<HWND>(l), reinterpret_cast<HDC>(w))) {
        result = reinterpret_cast<LRESULT>(brush);
        return true;
      }
      return false;
    case WM_DRAWITEM:
      if (!form_.DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(l))) return false;
      result = TRUE;
      return true;
    case WM_TIMER:
      if (w != kTimer1 || !app_) return false;
      app_->Timer1Timer();
      Paint();
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

void Win32MainWindow::Command(int id, int code, HWND control) {
  if (!app_) return;
  if (control == nullptr) {
    // A menu item or its key.
    const std::optional<MenuEntry> entry = Win32MainMenu::EntryOfId(id);
    if (!entry) return;
    const MenuRow& row = MenuRowOf(*entry);
    if (row.parent == row.id) {
      menu_.OpenMenu(*entry);
      return;
    }
    if (row.expert_only && !app_->window().expert_items_visible) return;
    // A key acts on the state a click on the menu would see.
    app_->UpdateMenus();
    MenuEntryClick(*app_, *entry, menu_.Checked(*entry), Commands());
    Paint();
    return;
  }
  const FormControlRow* row = form_.RowOfId(id);
  if (row == nullptr) return;
  if (code != BN_CLICKED && code != STN_CLICKED) return;
  const bool checked = SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
  if (FormControlClick(*app_, row->id, checked, Commands())) Paint();
}

void Win32MainWindow::Scroll(HWND control, int code) {
  const FormControlRow* row = form_.RowOfHandle(control);
  if (row == nullptr || !app_) return;
  const int position = static_cast<int>(SendMessageW(control, TBM_GETPOS, 0, 0));
  if (code == TB_THUMBTRACK) held_track_bar_ = row->id;
  if (code == TB_ENDTRACK || code == TB_THUMBPOSITION) held_track_bar_.reset();
  if (row->playback == PlaybackPart::kScrollbarPlay) {
    // The start-position slider speaks the track bar's scroll codes, which are the scroll
    // bar's.
    app_->workflow().playback().ScrollbarPlayPosScroll(code, position);
  } else if (code != TB_ENDTRACK) {
    FormTrackBarChange(*app_, row->id, position);
  }
  Paint();
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

void Win32MainWindow::StartProgram(SystemProgram program) {
  int result = 0;
  if (program == SystemProgram::kExplorer) {
    result = StartCommandLine("explorer.exe \"" + app_->paths().lorixs_folder.string() + "\"");
  } else {
    result = StartVolumeMixer();
  }
  if (result <= 31) {
    dialogs_.Show({"Information", std::string(kSystemFunctionUnavailableText), DialogIcon::kError,
                   DialogButtons::kOk});
  }
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
