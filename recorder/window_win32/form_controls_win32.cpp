#include "recorder/window_win32/form_controls_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <map>
#include <variant>

#include "codec/win32/wide_text.h"
#include "desktop/win32/ui/child_control.h"
#include "desktop/win32/ui/set_if_changed.h"

namespace lorix {
namespace {

using K = FormControlKind;

constexpr wchar_t kBlockClass[] = L"LorixFormBlock";
// Gap between stacked blocks at 96 DPI.
constexpr int kBlockGap = 4;
constexpr COLORREF kTitleBack = RGB(0x16, 0x36, 0x5c);
constexpr COLORREF kWaitBack = RGB(0xff, 0xf3, 0xb0);
constexpr COLORREF kGreenText = RGB(0, 128, 0);
constexpr COLORREF kTipDisabledText = RGB(128, 128, 128);

int IdOf(FormControl id) {
  return kFirstFormControlId + static_cast<int>(id);
}

// A block passes what its controls tell their parent on to the form, and answers with the
// form's answer (brushes, drawing).
LRESULT CALLBACK BlockProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_DRAWITEM:
      return SendMessageW(GetParent(window), message, w, l);
    default:
      return DefWindowProcW(window, message, w, l);
  }
}

void RegisterBlockClass(HINSTANCE instance) {
  WNDCLASSW window_class{};
  window_class.lpfnWndProc = BlockProc;
  window_class.hInstance = instance;
  window_class.lpszClassName = kBlockClass;
  window_class.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  window_class.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  // A second registration fails with "class exists", which is what was wanted.
  RegisterClassW(&window_class);
}

// The window class and styles of each kind.
ChildControlLayout SpecOf(const FormControlRow& row) {
  ChildControlLayout layout;
  const bool multi_line = (row.flags & kFormMultiLine) != 0;
  switch (row.kind) {
    case K::kBlock:
      layout.class_name = kBlockClass;
      layout.ex_style = WS_EX_CONTROLPARENT;
      layout.style = WS_CLIPSIBLINGS | WS_BORDER;
      break;
    case K::kTitle:
      layout.style = SS_CENTER | SS_CENTERIMAGE;
      break;
    case K::kStepTip:
      layout.style = SS_CENTER | SS_CENTERIMAGE | SS_NOTIFY | WS_BORDER;
      break;
    case K::kStatusLine:
      layout.style = SS_LEFTNOWORDWRAP | SS_CENTERIMAGE | SS_SUNKEN;
      break;
    case K::kWaitPanel:
      layout.style = SS_CENTER | SS_CENTERIMAGE | WS_BORDER;
      break;
    case K::kHeading:
    case K::kLabel:
      // Texts the program sets (paths, sizes) stay on their line; the table's may wrap.
      layout.style = (row.caption.empty() ? SS_LEFTNOWORDWRAP : SS_LEFT) | SS_NOPREFIX;
      break;
    case K::kButton:
      layout.class_name = L"Button";
      layout.style = (row.flags & kFormToggle) ? BS_CHECKBOX | BS_PUSHLIKE : BS_PUSHBUTTON;
      if (multi_line) layout.style |= BS_MULTILINE;
      break;
    case K::kCheckBox:
      layout.class_name = L"Button";
      layout.style = BS_AUTOCHECKBOX | (multi_line ? BS_MULTILINE : 0);
      break;
    case K::kRadioButton:
      layout.class_name = L"Button";
      layout.style = BS_AUTORADIOBUTTON;
      break;
    case K::kTrackBar:
      layout.class_name = TRACKBAR_CLASSW;
      layout.style = (row.flags & kFormVertical) ? TBS_VERT | TBS_BOTH : TBS_HORZ | TBS_BOTTOM;
      layout.style |= row.range.tick_every > 0 ? TBS_AUTOTICKS : TBS_NOTICKS;
      break;
    case K::kLevelMeter:
      layout.style = SS_OWNERDRAW | SS_NOTIFY;
      break;
    case K::kMemo:
      layout.class_name = L"Edit";
      layout.style =
          ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_VSCROLL | WS_HSCROLL;
      layout.ex_style = WS_EX_CLIENTEDGE;
      break;
    case K::kGroup:
      break;
  }
  layout.caption = row.caption;
  layout.x = row.rect.x;
  layout.y = row.rect.y;
  layout.width = row.rect.w;
  layout.height = row.rect.h;
  layout.id = IdOf(row.id);
  layout.tab_stop = row.tab_order > 0;
  layout.group_start = (row.flags & kFormGroupStart) != 0;
  layout.visible = (row.flags & kFormHidden) == 0;
  layout.enabled = (row.flags & kFormDisabled) == 0;
  return layout;
}

COLORREF ColorOf(Rgb rgb) {
  return RGB(rgb.r, rgb.g, rgb.b);
}

}  // namespace

Win32FormControls::~Win32FormControls() {
  for (HGDIOBJ object : {static_cast<HGDIOBJ>(font_), static_cast<HGDIOBJ>(bold_font_),
                         static_cast<HGDIOBJ>(title_font_), static_cast<HGDIOBJ>(title_brush_),
                         static_cast<HGDIOBJ>(tip_brush_), static_cast<HGDIOBJ>(wait_brush_)}) {
    if (object != nullptr) DeleteObject(object);
  }
}

void Win32FormControls::Create(HWND form, HINSTANCE instance,
                               std::span<const FormControlRow> rows) {
  form_ = form;
  instance_ = instance;
  scale_ = DpiScale::OfSystem();
  RegisterBlockClass(instance);
  font_ = CreateMessageFont(100, false);
  bold_font_ = CreateMessageFont(100, true);
  title_font_ = CreateMessageFont(150, true);
  title_brush_ = CreateSolidBrush(kTitleBack);
  tip_brush_ = CreateSolidBrush(GetSysColor(COLOR_INFOBK));
  wait_brush_ = CreateSolidBrush(kWaitBack);
  tooltip_.Create(form, instance);
  // The step hints are long and read while the user decides: at once, for 30 seconds.
  tooltip_.SetTiming(0, kHintDisplayMs);

  controls_.reserve(rows.size());
  for (const FormControlRow& row : rows) {
    Control control;
    control.row = &row;
    const bool is_form =
        row.kind == K::kBlock && row.block == row.id && row.rect.x == 0 && row.rect.y == 0;
    if (is_form) {
      control.handle = form;
    } else if (row.kind != K::kGroup) {
      control.handle = CreateChildControl(ParentOf(row), instance, SpecOf(row), scale_);
      HFONT font = font_;
      if (row.kind == K::kHeading || row.kind == K::kWaitPanel) font = bold_font_;
      if (row.kind == K::kTitle) font = title_font_;
      SendMessageW(control.handle, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
      if (row.kind == K::kTrackBar) {
        SendMessageW(control.handle, TBM_SETRANGEMIN, FALSE, row.range.min);
        SendMessageW(control.handle, TBM_SETRANGEMAX, FALSE, row.range.max);
        SendMessageW(control.handle, TBM_SETLINESIZE, 0, row.range.line);
        SendMessageW(control.handle, TBM_SETPAGESIZE, 0, row.range.page);
        if (row.range.tick_every > 0) {
          SendMessageW(control.handle, TBM_SETTICFREQ, row.range.tick_every, 0);
        }
      }
      if (row.flags & kFormChecked) SendMessageW(control.handle, BM_SETCHECK, BST_CHECKED, 0);
      control.text = std::string(row.caption);
      control.hint = std::string(row.hint);
      tooltip_.SetHint(control.handle, control.hint);
    }
    controls_.push_back(std::move(control));
  }
  OrderTabStops();
}

HWND Win32FormControls::ParentOf(const FormControlRow& row) const {
  // A block's controls sit in the block's window, also those of its groups: their rectangles
  // are all in the block's coordinates.
  FormControl block = row.block;
  while (true) {
    const Control* holder = Find(block);
    if (holder == nullptr || holder->row->block == holder->row->id) break;
    block = holder->row->block;
  }
  if (block == row.id) return form_;
  const Control* holder = Find(block);
  return holder && holder->handle ? holder->handle : form_;
}

void Win32FormControls::OrderTabStops() {
  // The tab key walks the controls of a window in their z-order; put them in the table's.
  std::map<HWND, std::vector<const Control*>> by_parent;
  for (const Control& control : controls_) {
    if (control.handle && control.handle != form_ && control.row->tab_order > 0) {
      by_parent[GetParent(control.handle)].push_back(&control);
    }
  }
  for (auto& [parent, children] : by_parent) {
    std::sort(children.begin(), children.end(), [](const Control* a, const Control* b) {
      return a->row->tab_order < b->row->tab_order;
    });
    HWND previous = HWND_TOP;
    for (const Control* child : children) {
      SetWindowPos(child->handle, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      previous = child->handle;
    }
  }
}

Win32FormControls::Control* Win32FormControls::Find(FormControl id) {
  for (Control& control : controls_) {
    if (control.row->id == id) return &control;
  }
  return nullptr;
}

const Win32FormControls::Control* Win32FormControls::Find(FormControl id) const {
  for (const Control& control : controls_) {
    if (control.row->id == id) return &control;
  }
  return nullptr;
}

HWND Win32FormControls::Handle(FormControl id) const {
  const Control* control = Find(id);
  return control ? control->handle : nullptr;
}

const FormControlRow* Win32FormControls::RowOfId(int id) const {
  for (const Control& control : controls_) {
    if (IdOf(control.row->id) == id) return control.row;
  }
  return nullptr;
}

const FormControlRow* Win32FormControls::RowOfHandle(HWND handle) const {
  for (const Control& control : controls_) {
    if (control.handle == handle) return control.row;
  }
  return nullptr;
}

bool Win32FormControls::OwnVisible(const FormControlRow& row, const FormStateView& s) const {
  if (row.visible && s.controls) return s.controls->*row.visible;
  if (row.window_visible && s.window) return s.window->*row.window_visible;
  if (row.shows_block && s.window) {
    return s.window->blocks_visible[static_cast<std::size_t>(*row.shows_block)];
  }
  return (row.flags & kFormHidden) == 0;
}

bool Win32FormControls::OwnEnabled(const FormControlRow& row, const FormStateView& s) const {
  if (row.enabled && s.controls) return s.controls->*row.enabled;
  return (row.flags & kFormDisabled) == 0;
}

bool Win32FormControls::GroupsVisible(const FormControlRow& row, const FormStateView& s) const {
  for (const Control* group = Find(row.block); group && group->row->kind == K::kGroup;
       group = group->row->block == group->row->id ? nullptr : Find(group->row->block)) {
    if (!OwnVisible(*group->row, s)) return false;
  }
  return true;
}

bool Win32FormControls::GroupsEnabled(const FormControlRow& row, const FormStateView& s) const {
  for (const Control* group = Find(row.block); group && group->row->kind == K::kGroup;
       group = group->row->block == group->row->id ? nullptr : Find(group->row->block)) {
    if (!OwnEnabled(*group->row, s)) return false;
  }
  return true;
}

void Win32FormControls::Sync(const FormStateView& state) {
  for (Control& control : controls_) {
    if (control.handle == nullptr || control.handle == form_) continue;
    SyncOne(control, state);
  }
}

void Win32FormControls::SyncOne(Control& control, const FormStateView& s) {
  const FormControlRow& row = *control.row;
  const HWND handle = control.handle;
  bool enabled = OwnEnabled(row, s) && GroupsEnabled(row, s);
  std::optional<std::string> text;
  std::optional<std::string> hint;
  const RecorderControls* c = s.controls;
  if (c && row.state) {
    const ControlState& state = c->*row.state;
    enabled = enabled && state.enabled;
    if (!state.caption.empty() || row.caption.empty()) text = state.caption;
    hint = state.hint;
    if (row.flags & kFormToggle) SetCheckedIfChanged(handle, state.pressed);
  }
  if (c && row.tip) {
    const TipPanel& tip = c->*row.tip;
    enabled = enabled && tip.enabled;
    text = tip.caption;
    hint = tip.hint;
  }
  if (c && row.text) text = c->*row.text;
  if (c && row.checked) SetCheckedIfChanged(handle, c->*row.checked);
  if (s.window && row.window_checked) SetCheckedIfChanged(handle, s.window->*row.window_checked);
  if (s.window && row.radio_row == RadioRow::kMailMethod) {
    SetCheckedIfChanged(handle, static_cast<int>(s.window->mail_method) == row.radio_value);
  }
  if (s.window && row.radio_row == RadioRow::kAttachmentKind) {
    const bool checked = s.window->attachment_kind &&
                         static_cast<int>(*s.window->attachment_kind) == row.radio_value;
    SetCheckedIfChanged(handle, checked);
  }
  const bool held = s.held_track_bar == row.id;
  if (row.kind == K::kTrackBar && !held) {
    if (c && row.position) SetTrackBarPositionIfChanged(handle, c->*row.position);
    if (s.window && row.volume) {
      SetTrackBarPositionIfChanged(handle,
                                   s.window->volume_sliders[static_cast<std::size_t>(*row.volume)]);
    }
  }
  if (row.kind == K::kLevelMeter && c && row.position) {
    if (SetProperty(meter_.Position, c->*row.position)) InvalidateRect(handle, nullptr, FALSE);
  }
  if (s.playback) {
    const WavePlayback& p = *s.playback;
    switch (row.playback) {
      case PlaybackPart::kScrollbarPlay:
        if (!held) SetTrackBarPositionIfChanged(handle, p.ScrollbarPlay());
        break;
      case PlaybackPart::kLabelPlayPos:
        text = p.LabelPlayPos();
        break;
      case PlaybackPart::kLabelPlayFile:
        text = p.LabelPlayFile();
        hint = p.LabelPlayFile();
        break;
      case PlaybackPart::kLabelPlayStatus:
        text = p.LabelPlayStatus();
        break;
      case PlaybackPart::kButtonStartApplication: {
        const WavePlayback::ApplicationButton& application = p.ButtonStartApplication();
        enabled = enabled && application.enabled;
        // Until an application is found the button keeps the table's caption.
        if (application.caption != WavePlayback::ApplicationButton{}.caption) {
          text = application.caption;
        }
        hint = application.hint;
        break;
      }
      case PlaybackPart::kNone:
        break;
    }
  }
  if (s.card_texts && row.card_text) text = s.card_texts->*row.card_text;
  if (s.error_log && row.card_checked) SetCheckedIfChanged(handle, s.error_log->*row.card_checked);
  if (row.kind == K::kMemo) SyncMemo(control, s);

  if (text && SetTextIfChanged(handle, control.text, *text) && row.kind == K::kLevelMeter) {
    InvalidateRect(handle, nullptr, FALSE);
  }
  if (hint && *hint != control.hint) {
    control.hint = *hint;
    tooltip_.SetHint(handle, control.hint);
  }
  SetEnabledIfChanged(handle, enabled);
  if (row.kind != K::kBlock) {
    SetVisibleIfChanged(handle, OwnVisible(row, s) && GroupsVisible(row, s));
  }
}

void Win32FormControls::SyncMemo(Control& control, const FormStateView& s) {
  if (!s.error_log) return;
  const ErrorLog& log = *s.error_log;
  const std::int32_t count = log.ErrorLineCount();
  if (count == memo_shown_count_ && s.memo_cleared_through == memo_shown_cleared_) return;
  const auto& lines = log.MemoErrors();
  // The log holds its last lines, numbered up to `count`; those after the last clearing show.
  const std::int64_t first_number =
      std::int64_t{count} - static_cast<std::int64_t>(lines.size()) + 1;
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (first_number + static_cast<std::int64_t>(i) <= s.memo_cleared_through) continue;
    if (!text.empty()) text += "\r\n";
    text += lines[i];
  }
  if (SetTextIfChanged(control.handle, control.text, text)) {
    // The newest line is the interesting one.
    SendMessageW(control.handle, EM_LINESCROLL, 0, 0x7FFF);
  }
  memo_shown_count_ = count;
  memo_shown_cleared_ = s.memo_cleared_through;
}

int Win32FormControls::LayoutBlocks(const std::array<bool, kBlockCount>& blocks_visible) {
  int y = 0;
  for (const Control& control : controls_) {
    const FormControlRow& row = *control.row;
    // The rows that sit on the form itself, stacked; the wait panel lies over them.
    if (row.block != row.id || row.kind == K::kWaitPanel || control.handle == nullptr ||
        control.handle == form_) {
      continue;
    }
    const bool visible =
        !row.shows_block || blocks_visible[static_cast<std::size_t>(*row.shows_block)];
    if (row.shows_block) SetVisibleIfChanged(control.handle, visible);
    if (!visible) continue;
    SetWindowPos(control.handle, nullptr, scale_(row.rect.x), scale_(y), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    y += row.rect.h + kBlockGap;
  }
  return scale_(std::max(0, y - kBlockGap));
}

HBRUSH Win32FormControls::ColorStatic(HWND handle, HDC dc) {
  const FormControlRow* row = RowOfHandle(handle);
  if (row == nullptr) return nullptr;
  switch (row->kind) {
    case K::kTitle:
      SetTextColor(dc, RGB(255, 255, 255));
      SetBkColor(dc, kTitleBack);
      return title_brush_;
    case K::kStepTip:
      if (!IsWindowEnabled(handle)) {
        SetTextColor(dc, kTipDisabledText);
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return GetSysColorBrush(COLOR_BTNFACE);
      }
      SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
      SetBkColor(dc, GetSysColor(COLOR_INFOBK));
      return tip_brush_;
    case K::kWaitPanel:
      SetBkColor(dc, kWaitBack);
      return wait_brush_;
    default:
      if (row->flags & kFormGreen) {
        SetTextColor(dc, kGreenText);
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return GetSysColorBrush(COLOR_BTNFACE);
      }
      return nullptr;
  }
}

bool Win32FormControls::DrawItem(const DRAWITEMSTRUCT& item) {
  const FormControlRow* row = RowOfHandle(item.hwndItem);
  if (row == nullptr || row->kind != K::kLevelMeter) return false;
  // The meter's picture is in its own pixels at 96 DPI; it is drawn scaled to the control.
  const HDC dc = item.hDC;
  const RECT& area = item.rcItem;
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  const auto x = [&](int at) { return area.left + MulDiv(at, width, meter_.Width); };
  const auto y = [&](int at) { return area.top + MulDiv(at, height, meter_.Height); };
  for (const DrawOp& op : Paint(meter_)) {
    if (const auto* fill = std::get_if<FillRect>(&op)) {
      const HBRUSH brush = CreateSolidBrush(ColorOf(fill->color));
      const RECT rect{x(fill->left), y(fill->top), x(fill->right), y(fill->bottom)};
      ::FillRect(dc, &rect, brush);
      DeleteObject(brush);
    } else if (const auto* line = std::get_if<Polyline>(&op)) {
      const HPEN pen = CreatePen(PS_SOLID, 1, ColorOf(line->color));
      const HGDIOBJ previous = SelectObject(dc, pen);
      for (std::size_t i = 0; i < line->points.size(); ++i) {
        const int px = x(line->points[i].x);
        const int py = y(line->points[i].y);
        if (i == 0) {
          MoveToEx(dc, px, py, nullptr);
        } else {
          LineTo(dc, px, py);
        }
      }
      SelectObject(dc, previous);
      DeleteObject(pen);
    }
  }
  return true;
}

}  // namespace lorix
