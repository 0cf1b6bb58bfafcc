#include "recorder/window_win32/sound_card_form_win32.h"

#include <utility>

namespace lorix {
namespace {

constexpr wchar_t kClassName[] = L"TFormLorixSK";

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
  CreateOwnWindow(WS_EX_TOOLWINDOW, kClassName, "FormLorixSK",
                  WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, CW_USEDEFAULT,
                  CW_USEDEFAULT, 360, 240, owner, instance);
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

void Win32SoundCardForm::Refresh() {}

bool Win32SoundCardForm::visible() const {
  return handle() != nullptr && IsWindowVisible(handle());
}

void Win32SoundCardForm::SetVisible(bool visible) {
  if (handle() == nullptr) return;
  ShowWindow(handle(), visible ? SW_SHOWNOACTIVATE : SW_HIDE);
  if (visible) Refresh();
}

bool Win32SoundCardForm::HandleMessage(UINT message, WPARAM w, LPARAM l, LRESULT& result) {
  if (backend_.HandleMessage(message, w, l)) {
    result = 0;
    return true;
  }
  switch (message) {
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
