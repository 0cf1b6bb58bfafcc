#pragma once

// One recorder per user: the first start listens on a local socket named after "LORIX"; a later
// start connects there, tells the first one and ends without a window. It hands over the
// activation token its launcher gave it (XDG_ACTIVATION_TOKEN): on Wayland only that token lets
// the first instance come to the front.

#include <QString>
#include <functional>

class QWidget;

namespace lorix {

// The socket of the current user: "LORIX-" plus the user id, in the user's private folder
// (nobody else can take the name there); empty when there is no such folder.
QString SingleInstanceName();

// Called with the activation token of the later start, empty when its launcher gave it none.
using SecondStartHandler = std::function<void(const QString& activation_token)>;

// True for the first instance, which keeps listening for the rest of the run and calls
// `on_second_start` on the user-interface thread whenever a later start reports itself. False
// when another instance runs; it has then been told. A socket left behind by a crashed
// instance is removed and taken over. Needs a QCoreApplication.
bool ClaimSingleInstance(SecondStartHandler on_second_start);
// The same on a socket of the caller's choice; an empty name means no guard (always true).
bool ClaimSingleInstance(const QString& name, SecondStartHandler on_second_start);

// Brings `window` to the user: a minimised window is restored, any other one raised. X11
// activates it at once. Wayland activates a window only with a token its compositor gave a
// launcher, so there `activation_token` is used, and without one nothing is activated. True
// when the window was activated or the compositor was asked to.
bool BringToFront(QWidget* window, const QString& activation_token);

}  // namespace lorix
