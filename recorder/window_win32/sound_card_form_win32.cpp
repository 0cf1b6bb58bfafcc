#include "recorder/window_win32/sound_card_form_win32.h"

#include <commctrl.h>

#include <utility>

namespace lorix {
namespace {

constexpr wchar_t kClassName[] = L"TFormLorixSK";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;

}  // namespace

Win32SoundCardForm::Win32SoundCardForm(HINSTANCE instance, HWND owner,
                                       WaveInCaptureBackend& backend, RecordingEngine& engine)
    : backend_(backend), engine_(engine) {
  WNDCLASSW window_class{};
  window_class.hInstance = instance;
  window_class.lpszClassName = kClassName;
  window_class.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  window_class.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  window_class.hIcon = LoadIconW(instance, L"MAINICON");
  RegisterWindowClass(window_class);
  const FormControlRow& form = FormControlRowOf(FormControl::kFormLorixSK);
  const DpiScale scale = DpiScale::OfSystem();
  RECT frame{0, 0, scale(form.rect.w), scale(form.rect.h)};
  AdjustWindowRectEx(&frame, kStyle, FALSE, WS_EX_CONTROLPARENT);
  CreateOwnWindow(WS_EX_CONTROLPARENT, kClassName, std::string(form.caption), kStyle, CW_USEDEFAULT,
                  CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, owner,
                  instance);
  form_.Create(handle(), instance, SoundCardFormControlTable());
  if (const HWND memo = form_.Handle(FormControl::kMemoErrors)) {
    SetWindowSubclass(memo, MemoProc, 1, reinterpret_cast<DWORD_PTR>(this));
  }
  backend_.SetWindow(handle());

  previous_texts_changed_ = std::move(engine_.OnTextsChanged);
  engine_.OnTextsChanged = [this] {
    if (previous_texts_changed_) previous_texts_changed_();
    Refresh();
  };
  Refresh();
}

Win32SoundCardForm::~Win32SoundCardForm() {
  engine_.OnTextsChanged = std::move(previous_texts_changed_);
  if (backend_.window() == handle()) backend_.SetWindow(nullptr);
  if (handle() != nullptr) DestroyWindow(handle());
}

void Win32SoundCardForm::Refresh() {
  if (handle() == nullptr) return;
  form_.Sync({.card_texts = &engine_.texts(),
              .error_log = &engine_.error_log(),
              .memo_cleared_through = cleared_through_,
              .held_track_bar = std::nullopt});
  // The device's open calls can take long; the status must be visible while they run.
  if (IsWindowVisible(handle())) UpdateWindow(handle());
}

bool Win32SoundCardForm::visible() const {
  return handle() != nullptr && IsWindowVisible(handle());
}

void Win32SoundCardForm::SetVisible(bool visible) {
  if (handle() == nullptr) return;
  ShowWindow(handle(), visible ? SW_SHOWNOACTIVATE : SW_HIDE);
  if (visible) Refresh();
}

void Win32SoundCardForm::MemoErrorsDblClick() {
  cleared_through_ = engine_.error_log().ErrorLineCount();
  Refresh();
}

LRESULT CALLBACK Win32SoundCardForm::MemoProc(HWND memo, UINT message, WPARAM w, LPARAM l, UINT_PTR,
                                              DWORD_PTR self) {
  if (message == WM_LBUTTONDBLCLK) {
    reinterpret_cast<Win32SoundCardForm*>(self)->MemoErrorsDblClick();
    return 0;
  }
  return DefSubclassProc(memo, message, w, l);
}

bool Win32SoundCardForm::HandleMessage(UINT message, WPARAM w, LPARAM l, LRESULT& result) {
  if (backend_.HandleMessage(message, w, l)) {
    result = 0;
    return true;
  }
  switch (message) {
    case WM_COMMAND: {
      const FormControlRow* row = form_.RowOfId(LOWORD(w));
      if (row == nullptr || HIWORD(w) != BN_CLICKED) return false;
      if (row->id == FormControl::kButtonStart) {
        engine_.ButtonStartClick();
      } else if (row->card_checked != nullptr) {
        engine_.error_log().*(row->card_checked) =
            SendMessageW(reinterpret_cast<HWND>(l), BM_GETCHECK, 0, 0) == BST_CHECKED;
      }
      Refresh();
      result = 0;
      return true;
    }
    case WM_CTLCOLORSTATIC:
      if (const HBRUSH brush =
              form_.ColorStatic(reinterpret_cast<HWND>(l), reinterpret_cast<HDC>(w))) {
        result = reinterpret_cast<LRESULT>(brush);
        return true;
      }
      return false;
    case WM_CLOSE:
      // The form lives for the whole run; closing it hides it.
      SetVisible(false);
      result = 0;
      return true;
    default:
      return false;
  }
}

}  // namespace lorix
