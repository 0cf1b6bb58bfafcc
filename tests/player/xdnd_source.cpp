#include "tests/player/xdnd_source.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>

#include <algorithm>
#include <cstdio>

namespace lorix::testing {
namespace {

constexpr long kOurVersion = 5;

struct Atoms {
  explicit Atoms(Display* d)
      : aware(XInternAtom(d, "XdndAware", False)),
        enter(XInternAtom(d, "XdndEnter", False)),
        position(XInternAtom(d, "XdndPosition", False)),
        status(XInternAtom(d, "XdndStatus", False)),
        drop(XInternAtom(d, "XdndDrop", False)),
        finished(XInternAtom(d, "XdndFinished", False)),
        leave(XInternAtom(d, "XdndLeave", False)),
        selection(XInternAtom(d, "XdndSelection", False)),
        action_copy(XInternAtom(d, "XdndActionCopy", False)),
        uri_list(XInternAtom(d, "text/uri-list", False)) {}
  Atom aware, enter, position, status, drop, finished, leave, selection, action_copy, uri_list;
};

// The connection and the invisible source window of one drop.
class Source {
 public:
  Source() : display_(XOpenDisplay(nullptr)) {}
  ~Source() {
    if (!display_) return;
    if (window_) XDestroyWindow(display_, window_);
    XCloseDisplay(display_);
  }

  std::string Drop(Window target, int x, int y, const std::string& uri_list,
                   std::chrono::milliseconds timeout) {
    if (!display_) return "no display";
    const Atoms atoms(display_);
    window_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 1, 1, 0, 0, 0);
    XSetSelectionOwner(display_, atoms.selection, window_, CurrentTime);
    if (XGetSelectionOwner(display_, atoms.selection) != window_) return "selection not owned";
    const long version = std::min(kOurVersion, TargetVersion(target, atoms.aware));
    if (version < 0) return "target is not XdndAware";
    deadline_ = std::chrono::steady_clock::now() + timeout;

    Send(target, atoms.enter,
         {static_cast<long>(window_), version << 24, static_cast<long>(atoms.uri_list), 0, 0});
    Send(target, atoms.position,
         {static_cast<long>(window_), 0, (static_cast<long>(x) << 16) | y, CurrentTime,
          static_cast<long>(atoms.action_copy)});
    XEvent event;
    if (!NextClientMessage(atoms.status, event)) return "no XdndStatus";
    if (!(event.xclient.data.l[1] & 1)) {
      Send(target, atoms.leave, {static_cast<long>(window_), 0, 0, 0, 0});
      return "drop refused";
    }
    Send(target, atoms.drop, {static_cast<long>(window_), 0, CurrentTime, 0, 0});
    bool delivered = false;
    while (NextEvent(event)) {
      if (event.type == SelectionRequest) {
        delivered |= Deliver(event.xselectionrequest, atoms, uri_list);
      } else if (event.type == ClientMessage && event.xclient.message_type == atoms.finished) {
        return delivered ? "" : "finished without taking the list";
      }
    }
    return delivered ? "no XdndFinished" : "the list was never asked for";
  }

 private:
  long TargetVersion(Window target, Atom aware) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    long version = -1;
    if (XGetWindowProperty(display_, target, aware, 0, 1, False, XA_ATOM, &type, &format, &count,
                           &remaining, &data) == Success &&
        data) {
      if (count == 1) version = static_cast<long>(*reinterpret_cast<unsigned long*>(data));
      XFree(data);
    }
    return version;
  }

  void Send(Window target, Atom message, std::initializer_list<long> data) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = target;
    event.xclient.message_type = message;
    event.xclient.format = 32;
    int i = 0;
    for (const long value : data) event.xclient.data.l[i++] = value;
    XSendEvent(display_, target, False, NoEventMask, &event);
    XFlush(display_);
  }

  bool NextEvent(XEvent& event) {
    while (!XPending(display_)) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline_ - std::chrono::steady_clock::now());
      if (left.count() <= 0) return false;
      pollfd fd{ConnectionNumber(display_), POLLIN, 0};
      poll(&fd, 1, static_cast<int>(std::min<long long>(left.count(), 50)));
    }
    XNextEvent(display_, &event);
    return true;
  }

  bool NextClientMessage(Atom message, XEvent& event) {
    while (NextEvent(event)) {
      if (event.type == ClientMessage && event.xclient.message_type == message) return true;
    }
    return false;
  }

  // Answers a request for the selection: the list for text/uri-list, a refusal otherwise.
  bool Deliver(const XSelectionRequestEvent& request, const Atoms& atoms,
               const std::string& uri_list) {
    XEvent reply{};
    reply.xselection.type = SelectionNotify;
    reply.xselection.requestor = request.requestor;
    reply.xselection.selection = request.selection;
    reply.xselection.target = request.target;
    reply.xselection.time = request.time;
    reply.xselection.property = None;
    const bool wanted = request.target == atoms.uri_list && request.property != None;
    if (wanted) {
      XChangeProperty(display_, request.requestor, request.property, atoms.uri_list, 8,
                      PropModeReplace, reinterpret_cast<const unsigned char*>(uri_list.data()),
                      static_cast<int>(uri_list.size()));
      reply.xselection.property = request.property;
    }
    XSendEvent(display_, request.requestor, False, NoEventMask, &reply);
    XFlush(display_);
    return wanted;
  }

  Display* display_;
  Window window_ = 0;
  std::chrono::steady_clock::time_point deadline_;
};

}  // namespace

std::string DropUriList(unsigned long target, int x, int y, const std::string& uri_list,
                        std::chrono::milliseconds timeout) {
  Source source;
  return source.Drop(target, x, y, uri_list, timeout);
}

std::string FileUri(const std::string& path) {
  std::string uri = "file://";
  for (const unsigned char c : path) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       c == '-' || c == '_' || c == '.' || c == '~' || c == '/';
    if (plain) {
      uri += static_cast<char>(c);
    } else {
      char escape[4];
      std::snprintf(escape, sizeof escape, "%%%02X", c);
      uri += escape;
    }
  }
  return uri;
}

}  // namespace lorix::testing
