#include "tests/support/x11_windows.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <thread>

namespace lorix::testing {
namespace {

std::string StringProperty(Display* display, Window window, Atom property, Atom type) {
  Atom actual = 0;
  int format = 0;
  unsigned long count = 0, remaining = 0;
  unsigned char* data = nullptr;
  std::string text;
  if (XGetWindowProperty(display, window, property, 0, 4096, False, type, &actual, &format, &count,
                         &remaining, &data) == Success &&
      data) {
    if (actual == type && format == 8) text.assign(reinterpret_cast<char*>(data), count);
    XFree(data);
  }
  return text;
}

// A window listed a moment ago may be gone when it is asked about (a box that closes, a
// program that ends): Xlib's default handler would end the whole test program for that. The
// calls report the failure by their result instead.
int IgnoreVanishedWindow(Display* display, XErrorEvent* error) {
  if (error->error_code == BadWindow || error->error_code == BadDrawable) return 0;
  char text[256] = {};
  XGetErrorText(display, error->error_code, text, sizeof(text));
  std::fprintf(stderr, "X error: %s (request %d)\n", text, error->request_code);
  return 0;
}

}  // namespace

X11Windows::X11Windows() : display_(XOpenDisplay(nullptr)) {
  XSetErrorHandler(IgnoreVanishedWindow);
}

X11Windows::~X11Windows() {
  if (display_) XCloseDisplay(display_);
}

std::string X11Windows::Title(unsigned long window) {
  const Atom net_name = XInternAtom(display_, "_NET_WM_NAME", False);
  const Atom utf8 = XInternAtom(display_, "UTF8_STRING", False);
  std::string title = StringProperty(display_, window, net_name, utf8);
  if (title.empty()) title = StringProperty(display_, window, XA_WM_NAME, XA_STRING);
  return title;
}

std::vector<unsigned long> X11Windows::Find(const std::string& title, bool prefix) {
  std::vector<unsigned long> found;
  if (!display_) return found;
  Window root = 0, parent = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count)) {
    return found;
  }
  for (unsigned int i = 0; i < count; ++i) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display_, children[i], &attributes) ||
        attributes.map_state != IsViewable) {
      continue;
    }
    const std::string name = Title(children[i]);
    if (prefix ? name.rfind(title, 0) == 0 : name == title) found.push_back(children[i]);
  }
  if (children) XFree(children);
  return found;
}

WindowGeometry X11Windows::Geometry(unsigned long window) {
  WindowGeometry geometry;
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display_, window, &attributes)) return geometry;
  Window child = 0;
  XTranslateCoordinates(display_, window, DefaultRootWindow(display_), 0, 0, &geometry.x,
                        &geometry.y, &child);
  geometry.width = attributes.width;
  geometry.height = attributes.height;
  geometry.viewable = attributes.map_state == IsViewable;
  return geometry;
}

void X11Windows::RequestClose(unsigned long window) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display_, window, False, NoEventMask, &event);
  XFlush(display_);
}

std::vector<unsigned long> X11Windows::WaitFor(const std::string& title, bool prefix,
                                               std::chrono::milliseconds wait) {
  std::vector<unsigned long> found;
  WaitUntil([&] { return !(found = Find(title, prefix)).empty(); }, wait,
            [] { std::this_thread::sleep_for(std::chrono::milliseconds(50)); });
  return found;
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout,
               const std::function<void()>& pump) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    pump();
  }
  return true;
}

}  // namespace lorix::testing
