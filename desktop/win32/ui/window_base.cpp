#include "desktop/win32/ui/window_base.h"

#include "codec/win32/wide_text.h"

namespace lorix {

void WindowBase::RegisterWindowClass(WNDCLASSW window_class) {
  window_class.lpfnWndProc = &WindowBase::SharedWindowProc;
  RegisterClassW(&window_class);
}

HWND WindowBase::CreateOwnWindow(DWORD ex_style, const wchar_t* class_name,
                                 const std::string& title, DWORD style, int x, int y, int width,
                                 int height, HWND owner, HINSTANCE instance) {
  return CreateWindowExW(ex_style, class_name, Widen(title).c_str(), style, x, y, width, height,
                         owner, nullptr, instance, this);
}

LRESULT CALLBACK WindowBase::SharedWindowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_NCCREATE) {
    auto* created =
        static_cast<WindowBase*>(reinterpret_cast<const CREATESTRUCTW*>(l)->lpCreateParams);
    created->handle_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
  }
  auto* self = reinterpret_cast<WindowBase*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  // Messages before WM_NCCREATE (WM_GETMINMAXINFO) find no object yet.
  if (!self || self->handle_ != window) return DefWindowProcW(window, message, w, l);

  LRESULT result = 0;
  if (!self->HandleMessage(message, w, l, result)) result = DefWindowProcW(window, message, w, l);
  if (message == WM_NCDESTROY) {
    // The object may outlive its window; nothing reaches it from the dead handle.
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->handle_ = nullptr;
  }
  return result;
}

}  // namespace lorix
