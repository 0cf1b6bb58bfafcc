#include "audio/win32/wave_in_window.h"

namespace lorix {
namespace {

constexpr wchar_t kClassName[] = L"LorixWaveIn";

void RegisterOnce(WNDPROC procedure) {
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof(window_class);
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = GetModuleHandleW(nullptr);
  window_class.lpszClassName = kClassName;
  // A second registration fails with "class exists", which is what was wanted.
  RegisterClassExW(&window_class);
}

}  // namespace

WaveInWindow::WaveInWindow(WaveInCaptureBackend& backend) : backend_(backend) {
  RegisterOnce(&WindowProc);
  window_ = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            GetModuleHandleW(nullptr), this);
  backend_.SetWindow(window_);
  mailbox_.SetWindow(window_);
}

WaveInWindow::~WaveInWindow() {
  if (window_ == nullptr) return;
  mailbox_.SetWindow(nullptr);
  if (backend_.window() == window_) backend_.SetWindow(nullptr);
  DestroyWindow(window_);
}

LRESULT CALLBACK WaveInWindow::WindowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(l);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  if (message == UiThreadMailbox::kRunPosted) {
    UiThreadMailbox::Run(l);
    return 0;
  }
  auto* self = reinterpret_cast<WaveInWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self != nullptr && self->backend_.HandleMessage(message, w, l)) return 0;
  return DefWindowProcW(window, message, w, l);
}

}  // namespace lorix
