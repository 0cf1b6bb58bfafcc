#include "audio/win32/ui_thread_mailbox.h"

#include <functional>
#include <memory>
#include <utility>

namespace lorix {
namespace {

using Work = std::function<void()>;

}  // namespace

void UiThreadMailbox::SetWindow(HWND window) {
  const HWND previous = window_.exchange(window);
  if (previous != nullptr && previous != window) DropWaiting(previous);
}

PostToUiThread UiThreadMailbox::Poster() {
  return [this](Work work) {
    const HWND window = window_.load();
    if (window == nullptr) return;
    auto posted = std::make_unique<Work>(std::move(work));
    if (PostMessageW(window, kRunPosted, 0, reinterpret_cast<LPARAM>(posted.get()))) {
      posted.release();  // the window procedure owns it now
    }
  };
}

void UiThreadMailbox::Run(LPARAM work) {
  const std::unique_ptr<Work> owned(reinterpret_cast<Work*>(work));
  if (owned && *owned) (*owned)();
}

void UiThreadMailbox::DropWaiting(HWND window) {
  MSG message;
  while (PeekMessageW(&message, window, kRunPosted, kRunPosted, PM_REMOVE)) {
    delete reinterpret_cast<Work*>(message.lParam);
  }
}

}  // namespace lorix
