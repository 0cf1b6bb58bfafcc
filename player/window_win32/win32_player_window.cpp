#include "player/window_win32/win32_player_window.h"

#include <commctrl.h>
#include <shellapi.h>

#include <iterator>

#include "codec/win32/wide_text.h"
#include "desktop/win32/ui/child_control.h"
#include "desktop/win32/ui/set_if_changed.h"
#include "desktop/win32/ui/virtual_keys.h"
#include "player/middle_cut.h"
#include "player/player_keys.h"

namespace lorix {
namespace {

// The class name carries the broken bar (U+00A6).
constexpr wchar_t kClassName[] = L"Smiley \u00A6o)";
constexpr UINT_PTR kTimerId = 1;
// The controls' IDs follow the table's order from here.
constexpr int kFirstControlId = 100;

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

constexpr NamedVirtualKey<PlayerKey> kNamedKeys[] = {
    {VK_F1, PlayerKey::kF1},       {VK_SPACE, PlayerKey::kSpace}, {VK_LEFT, PlayerKey::kLeft},
    {VK_RIGHT, PlayerKey::kRight}, {VK_UP, PlayerKey::kUp},       {VK_DOWN, PlayerKey::kDown},
};

PlayerKey KeyOf(WPARAM virtual_key) {
  return KeyOfVirtualKey<PlayerKey>(static_cast<unsigned>(virtual_key), kNamedKeys,
                                    PlayerKeyFromLetter, PlayerKey::kOther);
}

void SetUpTrackBar(HWND bar, const TrackRange& range, const DpiScale& scale) {
  SendMessageW(bar, TBM_SETTHUMBLENGTH, scale(range.thumb_length), 0);
  SendMessageW(bar, TBM_SETTICFREQ, range.tick_every, 0);
  SendMessageW(bar, TBM_SETRANGE, TRUE, MAKELPARAM(range.min, range.max));
  SendMessageW(bar, TBM_SETPAGESIZE, 0, range.page);
  SendMessageW(bar, TBM_SETLINESIZE, 0, range.line);
}

// The window class and styles that make a row's kind.
struct ControlClass {
  const wchar_t* name;
  DWORD style;
};

ControlClass ClassOf(const PlayerControlRow& row) {
  const bool wraps = row.flags & kControlWraps;
  const bool left = row.align == ControlAlign::kLeft;
  const bool right = row.align == ControlAlign::kRight;
  switch (row.kind) {
    case ControlKind::kFrame:
      return {L"Static", WS_THICKFRAME | SS_GRAYFRAME};
    case ControlKind::kButton: {
      DWORD style = BS_PUSHLIKE;
      if (wraps) style |= BS_MULTILINE;
      if (left) style |= BS_LEFT;
      if (right) style |= BS_RIGHT;
      return {L"Button", style};
    }
    case ControlKind::kIconButton:
      return {L"Button", BS_PUSHLIKE | BS_ICON};
    case ControlKind::kTrackBar: {
      DWORD style = TBS_AUTOTICKS | TBS_FIXEDLENGTH;
      style |= (row.flags & kControlVertical) ? TBS_VERT | TBS_BOTH : TBS_TOP;
      return {TRACKBAR_CLASSW, style};
    }
    case ControlKind::kLabel:
      return {L"Static", static_cast<DWORD>(left ? SS_LEFT : right ? SS_RIGHT : SS_CENTER)};
    case ControlKind::kIcon:
      return {L"Static", SS_ICON | SS_CENTERIMAGE};
    case ControlKind::kEditLine: {
      DWORD style = ES_AUTOHSCROLL | ES_READONLY;
      style |= left ? ES_LEFT : right ? ES_RIGHT : ES_CENTER;
      return {L"Edit", style};
    }
  }
  return {L"Static", 0};
}

}  // namespace

Win32PlayerWindow::Win32PlayerWindow(HINSTANCE instance, PlayerApp& app)
    : instance_(instance), app_(app), glue_(app), scale_(DpiScale::OfSystem()) {
  INITCOMMONCONTROLSEX common{sizeof(common), ICC_BAR_CLASSES};
  InitCommonControlsEx(&common);

  WNDCLASSW window_class{};
  window_class.style = CS_CLASSDC | CS_PARENTDC;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = kClassName;
  RegisterWindowClass(window_class);

  title_shown_ = app_.screen().Title;
  CreateOwnWindow(
      0, kClassName, title_shown_, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE, 0, 0,
      scale_(kCompactView.outer_width), scale_(kCompactView.outer_height), nullptr, instance);
  SendMessageW(handle(), WM_SETICON, ICON_BIG,
               reinterpret_cast<LPARAM>(Icon(PlayerIcon::kMainIcon)));
  DragAcceptFiles(handle(), TRUE);

  // One font for the small texts: a proportional sans-serif face the system picks.
  font_ = CreateFontW(scale_(kSmallFontCellHeight), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                      ANSI_CHARSET, OUT_TT_ONLY_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                      VARIABLE_PITCH | FF_SWISS, nullptr);
  for (const PlayerControlRow& row : PlayerControlTable()) {
    controls_.push_back({Create(row), &row, std::string(), row.icon});
  }

  UpdateWindow(handle());
  SetTimer(handle(), kTimerId, static_cast<UINT>(kPlayerTimerPeriod.count()), nullptr);
}

HWND Win32PlayerWindow::Create(const PlayerControlRow& row) {
  const ControlClass kind = ClassOf(row);
  ChildControlLayout layout;
  layout.class_name = kind.name;
  layout.style = kind.style;
  layout.caption = row.caption;
  layout.x = row.rect.x;
  layout.y = row.rect.y;
  layout.width = row.rect.w;
  layout.height = row.rect.h;
  layout.id = kFirstControlId + static_cast<int>(std::distance(PlayerControlTable().data(), &row));
  // Controls that show an enabled state start as the screen has it (the play buttons disabled).
  layout.enabled = !row.enabled || app_.screen().*row.enabled;
  const HWND handle = CreateChildControl(this->handle(), instance_, layout, scale_);
  switch (row.kind) {
    case ControlKind::kIconButton:
      SendMessageW(handle, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(Icon(row.icon)));
      break;
    case ControlKind::kIcon:
      SendMessageW(handle, STM_SETICON, reinterpret_cast<WPARAM>(Icon(row.icon)), 0);
      break;
    case ControlKind::kTrackBar:
      SetUpTrackBar(handle, row.range, scale_);
      break;
    default:
      break;
  }
  if (row.font == ControlFont::kSmall) {
    SendMessageW(handle, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
  }
  return handle;
}

HICON Win32PlayerWindow::Icon(PlayerIcon icon) const {
  return static_cast<HICON>(LoadImageW(instance_, IconName(icon), IMAGE_ICON, 32, 32, LR_SHARED));
}

const Win32PlayerWindow::Control* Win32PlayerWindow::ControlOf(HWND handle) const {
  if (!handle) return nullptr;
  for (const Control& control : controls_) {
    if (control.handle == handle) return &control;
  }
  return nullptr;
}

// The file line as it fits into its control: a long path loses its middle, so that the label in
// front and the recording's length behind stay in view. Measured in the control's own font.
std::string Win32PlayerWindow::FittedFileLine(HWND line, const PlayerScreen& screen) const {
  RECT area{};
  GetClientRect(line, &area);
  const LRESULT margins = SendMessageW(line, EM_GETMARGINS, 0, 0);
  const double width = area.right - area.left - LOWORD(margins) - HIWORD(margins) - 2;
  const HDC dc = GetDC(line);
  const HGDIOBJ old_font =
      SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(line, WM_GETFONT, 0, 0)));
  const auto text_width = [dc](std::string_view text) {
    const std::wstring wide = Widen(text);
    SIZE size{};
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    return static_cast<double>(size.cx);
  };
  std::string fitted = CutInTheMiddle(screen.LineFile, screen.LineFileLabelSize,
                                      screen.LineFileLengthSize, width, text_width);
  SelectObject(dc, old_font);
  ReleaseDC(line, dc);
  return fitted;
}

void Win32PlayerWindow::Sync() {
  const PlayerScreen& screen = app_.screen();
  SetTextIfChanged(handle(), title_shown_, screen.Title);
  for (Control& control : controls_) SyncControl(control, screen);
  if (screen.CompactView != compact_shown_) {
    compact_shown_ = screen.CompactView;
    const PlayerView& view = ViewOf(screen);
    SetWindowPos(handle(), nullptr, 0, 0, scale_(view.outer_width), scale_(view.outer_height),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void Win32PlayerWindow::SyncControl(Control& control, const PlayerScreen& screen) {
  const PlayerControlRow& row = *control.row;
  if (row.text) {
    SetTextIfChanged(control.handle, control.text_shown,
                     row.kind == ControlKind::kEditLine ? FittedFileLine(control.handle, screen)
                                                        : screen.*row.text);
  }
  if (row.position) SetTrackBarPositionIfChanged(control.handle, screen.*row.position);
  if (row.enabled) SetEnabledIfChanged(control.handle, screen.*row.enabled);
  if (row.shown_icon && screen.*row.shown_icon != control.icon_shown) {
    control.icon_shown = screen.*row.shown_icon;
    SendMessageW(control.handle, BM_SETIMAGE, IMAGE_ICON,
                 reinterpret_cast<LPARAM>(Icon(control.icon_shown)));
  }
}

void Win32PlayerWindow::Repaint() {
  if (!glue_.RepaintDue()) return;
  Sync();
  RedrawWindow(handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

bool Win32PlayerWindow::HandleMessage(UINT message, WPARAM w, LPARAM l, LRESULT& result) {
  if (message == WM_CTLCOLORSTATIC) {
    // The default brush and colours first; a coloured label then changes its text colour.
    result = DefaultResult(message, w, l);
    const Control* control = ControlOf(reinterpret_cast<HWND>(l));
    if (control && control->row->text_colour) {
      const ControlColour& colour = *control->row->text_colour;
      SetTextColor(reinterpret_cast<HDC>(w), RGB(colour.r, colour.g, colour.b));
    }
    return true;
  }
  // Everything else the player only watches; the default handling gives the result.
  Route(message, w, l);
  return false;
}

void Win32PlayerWindow::Route(UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_COMMAND: {
      const Control* control = ControlOf(reinterpret_cast<HWND>(l));
      // The file line reports its own text changes too; only a click into it counts.
      if (control && control->row->kind == ControlKind::kEditLine && HIWORD(w) != EN_SETFOCUS) {
        return;
      }
      app_.Command(control ? control->row->id : PlayerControl::kKeyboard);
      break;
    }
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
      if (glue_.TimerTick()) Sync();
      return;
    case WM_DESTROY:
      KillTimer(handle(), kTimerId);
      glue_.Close();
      // The message loop ends and WinMain returns, so the player's destructors run.
      PostQuitMessage(0);
      return;
    default:
      return;
  }
  // Every command, key, scroll and drop hands the keyboard focus back to the main window.
  SetFocus(handle());
  Sync();
}

void Win32PlayerWindow::OnScroll(HWND bar, int code, int thumb_position) {
  const Control* control = ControlOf(bar);
  if (!control || control->row->kind != ControlKind::kTrackBar) return;
  const int position = static_cast<int>(SendMessageW(bar, TBM_GETPOS, 0, 0));
  glue_.Scroll(control->row->id, code, position, thumb_position);
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
  // Refused while a message box is open: its handler would go on with the dropped file.
  glue_.DropFiles(files);
}

}  // namespace lorix
