#include "player/window_win32/win32_player_window.h"

#include <commctrl.h>
#include <shellapi.h>

#include "codec/win32/wide_text.h"
#include "player/middle_cut.h"
#include "player/player_keys.h"
#include "player/player_texts.h"

namespace lorix {
namespace {

// The class name carries the broken bar (U+00A6).
constexpr wchar_t kClassName[] = L"Smiley \u00A6o)";
constexpr UINT_PTR kTimerId = 1;
constexpr UINT kTimerMs = 100;
// Outer sizes of the two views.
constexpr int kCompactWidth = 243, kCompactHeight = 181;
constexpr int kFullWidth = 612, kFullHeight = 226;
// Decoding shows its progress at most this often: drawing more only delays the sound.
constexpr ULONGLONG kRepaintMs = 40;

const wchar_t* IconName(PlayerIcon icon) {
  switch (icon) {
    case PlayerIcon::kMainIcon:
      return L"MAINICON";
    case PlayerIcon::kPlay:
      return L"PLAY";
    case PlayerIcon::kPause:
      return L"PAUSE";
    case PlayerIcon::kPausing:
      return L"PAUSING";
    case PlayerIcon::kStop:
      return L"STOP";
    case PlayerIcon::kLorix:
      return L"LORIX";
    case PlayerIcon::kMixer:
      return L"MIXER";
    case PlayerIcon::kSpeaker:
      return L"SPEAKER";
  }
  return L"MAINICON";
}

PlayerKey KeyOf(WPARAM virtual_key) {
  switch (virtual_key) {
    case VK_F1:
      return PlayerKey::kF1;
    case VK_SPACE:
      return PlayerKey::kSpace;
    case VK_LEFT:
      return PlayerKey::kLeft;
    case VK_RIGHT:
      return PlayerKey::kRight;
    case VK_UP:
      return PlayerKey::kUp;
    case VK_DOWN:
      return PlayerKey::kDown;
    default:
      // Letters have their capitals as virtual-key codes; the lower-case codes are the number
      // pad's keys.
      return virtual_key >= 'A' && virtual_key <= 'Z'
                 ? PlayerKeyFromLetter(static_cast<int>(virtual_key))
                 : PlayerKey::kOther;
  }
}

void SetUpTrackBar(HWND bar) {
  SendMessageW(bar, TBM_SETTHUMBLENGTH, 12, 0);
  SendMessageW(bar, TBM_SETTICFREQ, 100, 0);
  SendMessageW(bar, TBM_SETRANGE, TRUE, MAKELPARAM(0, kTrackMax));
  SendMessageW(bar, TBM_SETPAGESIZE, 0, kTrackPageSize);
  SendMessageW(bar, TBM_SETLINESIZE, 0, kTrackLineSize);
}

}  // namespace

Win32PlayerWindow::Win32PlayerWindow(HINSTANCE instance, PlayerApp& app)
    : instance_(instance), app_(app) {
  INITCOMMONCONTROLSEX common{sizeof(common), ICC_BAR_CLASSES};
  InitCommonControlsEx(&common);

  WNDCLASSW window_class{};
  window_class.style = CS_CLASSDC | CS_PARENTDC;
  window_class.lpfnWndProc = &Win32PlayerWindow::PlayerWndProc;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = kClassName;
  RegisterClassW(&window_class);

  title_shown_ = app_.screen().Title;
  window_ = CreateWindowExW(0, kClassName, Widen(title_shown_).c_str(),
                            WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE, 0, 0,
                            kCompactWidth, kCompactHeight, nullptr, nullptr, instance, this);
  SendMessageW(window_, WM_SETICON, ICON_BIG,
               reinterpret_cast<LPARAM>(Icon(PlayerIcon::kMainIcon)));
  DragAcceptFiles(window_, TRUE);

  const DWORD push = BS_PUSHLIKE;
  const DWORD icon_button = BS_PUSHLIKE | BS_ICON | WS_DISABLED;
  AddFrame(3, 3, 188, 96);
  btn_play_ = AddControl(L"Button", "Play", icon_button, 7, 7, 60, 40, PlayerControl::kBtnPlay);
  btn_pause_ = AddControl(L"Button", "Pause", icon_button, 67, 7, 60, 40, PlayerControl::kBtnPause);
  btn_stop_ = AddControl(L"Button", "Stop", icon_button, 127, 7, 60, 40, PlayerControl::kBtnStop);
  AddFrame(7, 47, 180, 48);
  track_position_ =
      AddControl(TRACKBAR_CLASSW, "PlayPosition", TBS_AUTOTICKS | TBS_TOP | TBS_FIXEDLENGTH, 12, 52,
                 171, 24, PlayerControl::kTrackPosition);
  label_position_ = Add(L"Static", app_.screen().LabelPosition, SS_RIGHT, 11, 75, 172, 16);
  AddFrame(3, 106, 188, 48);
  btn_wave_app_ = AddControl(L"Button", "Exter&ne A&nwdg.", push | BS_MULTILINE | WS_DISABLED, 7,
                             110, 60, 40, PlayerControl::kBtnWaveApp);
  const HWND btn_view =
      AddControl(L"Button", "L&orix", push | BS_ICON, 67, 110, 60, 40, PlayerControl::kBtnView);
  const HWND btn_mixer =
      AddControl(L"Button", "Mixer", push | BS_ICON, 127, 110, 60, 40, PlayerControl::kBtnMixer);
  const HWND btn_help =
      AddControl(L"Button", "&Hilfe?", push, 194, 3, 40, 18, PlayerControl::kBtnHelp);
  AddFrame(194, 23, 40, 131);
  const HWND speaker = Add(L"Static", "Status", SS_ICON | SS_CENTERIMAGE, 198, 126, 32, 24);
  track_volume_ = AddControl(TRACKBAR_CLASSW, "VolumeControl",
                             TBS_AUTOTICKS | TBS_VERT | TBS_BOTH | TBS_FIXEDLENGTH, 198, 27, 32,
                             103, PlayerControl::kTrackVolume);
  AddFrame(3, 157, 599, 40);
  line_status_ = Add(L"Static", "Status", SS_CENTER, 7, 161, 589, 16);
  line_file_ = AddControl(L"Edit", "(-)", ES_CENTER | ES_AUTOHSCROLL | ES_READONLY, 7, 177, 589, 16,
                          PlayerControl::kLineFile);
  AddFrame(237, 3, 365, 151);
  const HWND btn_info = AddControl(L"Button", InfoCaption(), push | BS_MULTILINE, 241, 7, 357, 39,
                                   PlayerControl::kBtnInfo);
  label_internet_ = Add(L"Static", kPlayerInternetLabel, SS_LEFT, 241, 52, 357, 16);
  const DWORD link = push | BS_MULTILINE | BS_LEFT;
  const HWND btn_web =
      AddControl(L"Button", WebPageCaption(), link, 241, 68, 309, 22, PlayerControl::kBtnWebPage);
  const HWND btn_copy_web =
      AddControl(L"Button", "(Copy)", push, 550, 68, 48, 22, PlayerControl::kBtnCopyWebPage);
  const HWND btn_download =
      AddControl(L"Button", DownloadCaption(), link, 241, 90, 309, 38, PlayerControl::kBtnDownload);
  const HWND btn_copy_download =
      AddControl(L"Button", "(Copy)", push, 550, 90, 48, 38, PlayerControl::kBtnCopyDownload);
  const HWND btn_mail =
      AddControl(L"Button", MailCaption(), link, 241, 128, 309, 22, PlayerControl::kBtnMail);
  const HWND btn_copy_mail =
      AddControl(L"Button", "(Copy)", push, 550, 128, 48, 22, PlayerControl::kBtnCopyMail);

  SendMessageW(btn_play_, BM_SETIMAGE, IMAGE_ICON,
               reinterpret_cast<LPARAM>(Icon(PlayerIcon::kPlay)));
  SendMessageW(btn_pause_, BM_SETIMAGE, IMAGE_ICON,
               reinterpret_cast<LPARAM>(Icon(PlayerIcon::kPause)));
  SendMessageW(btn_stop_, BM_SETIMAGE, IMAGE_ICON,
               reinterpret_cast<LPARAM>(Icon(PlayerIcon::kStop)));
  SendMessageW(btn_view, BM_SETIMAGE, IMAGE_ICON,
               reinterpret_cast<LPARAM>(Icon(PlayerIcon::kLorix)));
  SendMessageW(btn_mixer, BM_SETIMAGE, IMAGE_ICON,
               reinterpret_cast<LPARAM>(Icon(PlayerIcon::kMixer)));
  SendMessageW(speaker, STM_SETICON, reinterpret_cast<WPARAM>(Icon(PlayerIcon::kSpeaker)), 0);
  SetUpTrackBar(track_position_);
  SetUpTrackBar(track_volume_);

  // One font for the texts: a 14-pixel proportional sans-serif face the system picks.
  font_ = CreateFontW(14, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_TT_ONLY_PRECIS,
                      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, nullptr);
  for (const HWND control : {btn_help, btn_wave_app_, label_position_, line_status_, line_file_,
                             btn_info, label_internet_, btn_web, btn_download, btn_mail,
                             btn_copy_web, btn_copy_download, btn_copy_mail}) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
  }

  UpdateWindow(window_);
  SetTimer(window_, kTimerId, kTimerMs, nullptr);
}

HWND Win32PlayerWindow::Add(const wchar_t* window_class, const std::string& text, DWORD style,
                            int x, int y, int w, int h) {
  return CreateWindowExW(0, window_class, Widen(text).c_str(), WS_CHILD | WS_VISIBLE | style, x, y,
                         w, h, window_, nullptr, instance_, nullptr);
}

HWND Win32PlayerWindow::AddControl(const wchar_t* window_class, const std::string& text,
                                   DWORD style, int x, int y, int w, int h, PlayerControl control) {
  const HWND handle = Add(window_class, text, style, x, y, w, h);
  controls_.push_back({handle, control});
  return handle;
}

void Win32PlayerWindow::AddFrame(int x, int y, int w, int h) {
  Add(L"Static", "", WS_THICKFRAME | SS_GRAYFRAME, x, y, w, h);
}

HICON Win32PlayerWindow::Icon(PlayerIcon icon) const {
  return static_cast<HICON>(LoadImageW(instance_, IconName(icon), IMAGE_ICON, 32, 32, LR_SHARED));
}

PlayerControl Win32PlayerWindow::ControlOf(HWND handle) const {
  for (const Control& control : controls_) {
    if (control.handle == handle) return control.control;
  }
  return PlayerControl::kKeyboard;
}

void Win32PlayerWindow::SetText(HWND control, const std::string& text, std::string& shown) {
  if (text == shown) return;
  shown = text;
  SetWindowTextW(control, Widen(text).c_str());
}

// The file line as it fits into its control: a long path loses its middle, so that the label in
// front and the recording's length behind stay in view. Measured in the control's own font.
std::string Win32PlayerWindow::FittedFileLine(const PlayerScreen& screen) const {
  RECT area{};
  GetClientRect(line_file_, &area);
  const LRESULT margins = SendMessageW(line_file_, EM_GETMARGINS, 0, 0);
  const double width = area.right - area.left - LOWORD(margins) - HIWORD(margins) - 2;
  const HDC dc = GetDC(line_file_);
  const HGDIOBJ old_font =
      SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(line_file_, WM_GETFONT, 0, 0)));
  const auto text_width = [dc](std::string_view text) {
    const std::wstring wide = Widen(text);
    SIZE size{};
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    return static_cast<double>(size.cx);
  };
  std::string fitted = CutInTheMiddle(screen.LineFile, screen.LineFileLabelSize,
                                      screen.LineFileLengthSize, width, text_width);
  SelectObject(dc, old_font);
  ReleaseDC(line_file_, dc);
  return fitted;
}

void Win32PlayerWindow::Sync() {
  const PlayerScreen& screen = app_.screen();
  SetText(window_, screen.Title, title_shown_);
  SetText(line_status_, screen.LineStatus, status_shown_);
  SetText(line_file_, FittedFileLine(screen), file_shown_);
  SetText(label_position_, screen.LabelPosition, position_shown_);
  if (SendMessageW(track_position_, TBM_GETPOS, 0, 0) != screen.TrackPosition) {
    SendMessageW(track_position_, TBM_SETPOS, TRUE, screen.TrackPosition);
  }
  if (SendMessageW(track_volume_, TBM_GETPOS, 0, 0) != screen.TrackVolume) {
    SendMessageW(track_volume_, TBM_SETPOS, TRUE, screen.TrackVolume);
  }
  EnableWindow(btn_play_, screen.BtnPlayEnabled);
  EnableWindow(btn_pause_, screen.BtnPauseEnabled);
  EnableWindow(btn_stop_, screen.BtnStopEnabled);
  EnableWindow(btn_wave_app_, screen.BtnWaveAppEnabled);
  if (screen.PauseIcon != pause_icon_shown_) {
    pause_icon_shown_ = screen.PauseIcon;
    SendMessageW(btn_pause_, BM_SETIMAGE, IMAGE_ICON,
                 reinterpret_cast<LPARAM>(Icon(screen.PauseIcon)));
  }
  if (screen.CompactView != compact_shown_) {
    compact_shown_ = screen.CompactView;
    SetWindowPos(window_, nullptr, 0, 0, compact_shown_ ? kCompactWidth : kFullWidth,
                 compact_shown_ ? kCompactHeight : kFullHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void Win32PlayerWindow::Repaint() {
  const ULONGLONG now = GetTickCount64();
  if (now - last_repaint_ < kRepaintMs) return;
  last_repaint_ = now;
  Sync();
  RedrawWindow(window_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

LRESULT CALLBACK Win32PlayerWindow::PlayerWndProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(l);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  // The default handling comes first and gives the result, whatever the player does.
  const LRESULT result = DefWindowProcW(window, message, w, l);
  auto* self = reinterpret_cast<Win32PlayerWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self && self->window_ == window) self->Route(message, w, l);
  return result;
}

void Win32PlayerWindow::Route(UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_CTLCOLORSTATIC: {
      const HWND control = reinterpret_cast<HWND>(l);
      const HDC dc = reinterpret_cast<HDC>(w);
      if (control == label_internet_) SetTextColor(dc, RGB(255, 255, 0));
      if (control == line_file_) SetTextColor(dc, RGB(255, 255, 255));
      return;
    }
    case WM_COMMAND:
      // The file line reports its own text changes too; only a click into it counts.
      if (reinterpret_cast<HWND>(l) == line_file_ && HIWORD(w) != EN_SETFOCUS) return;
      app_.Command(ControlOf(reinterpret_cast<HWND>(l)));
      break;
    case WM_KEYDOWN:
      // The arrows move the track bars through the handlers, which show the bar's step.
      app_.KeyDown(KeyOf(w));
      break;
    case WM_KEYUP:
      app_.KeyUp(KeyOf(w));
      break;
    case WM_HSCROLL:
    case WM_VSCROLL:
      OnScroll(reinterpret_cast<HWND>(l), LOWORD(w), HIWORD(w));
      break;
    case WM_DROPFILES:
      OnDrop(reinterpret_cast<HDROP>(w));
      break;
    case WM_TIMER:
      // A message box opened by a tick lets further ticks through; they wait for it.
      if (in_timer_) return;
      in_timer_ = true;
      app_.PlayerTimerTick();
      in_timer_ = false;
      Sync();
      return;
    case WM_DESTROY:
      KillTimer(window_, kTimerId);
      app_.PlayerShutdown();
      PostQuitMessage(0);
      ExitProcess(0);
    default:
      return;
  }
  // Every command, key, scroll and drop hands the keyboard focus back to the main window.
  SetFocus(window_);
  Sync();
}

void Win32PlayerWindow::OnScroll(HWND bar, int code, int thumb_position) {
  const PlayerControl control = ControlOf(bar);
  if (control != PlayerControl::kTrackPosition && control != PlayerControl::kTrackVolume) return;
  // The bar has moved itself; the handlers learn its place before the scroll code.
  const int position = static_cast<int>(SendMessageW(bar, TBM_GETPOS, 0, 0));
  if (code != kScrollEndScroll) app_.TrackBarMoved(control, position);
  app_.HandleSliderScroll(code, code == kScrollThumbTrack ? thumb_position : position, control);
}

void Win32PlayerWindow::OnDrop(HDROP drop) {
  std::vector<std::string> files;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    wchar_t name[250] = {};
    DragQueryFileW(drop, i, name, 250);
    files.push_back(Narrow(name));
  }
  DragFinish(drop);
  app_.DropFiles(files);
}

}  // namespace lorix
