#pragma once

// One recorder per user: the first start listens on a local socket named after "LORIX"; a later
// start connects there, tells the first one and ends without a window.

#include <QString>
#include <functional>

class QWidget;

namespace lorix {

// The socket of the current user: "LORIX-" plus the user id, in the user's private folder
// (nobody else can take the name there); empty when there is no such folder.
QString SingleInstanceName();

// True for the first instance, which keeps listening for the rest of the run and calls
// `on_second_start` on the user-interface thread whenever a later start reports itself. False
// when another instance runs; it has then been told. A socket left behind by a crashed
// instance is removed and taken over. Needs a QCoreApplication.
bool ClaimSingleInstance(std::function<void()> on_second_start);
// The same on a socket of the caller's choice; an empty name means no guard (always true).
bool ClaimSingleInstance(const QString& name, std::function<void()> on_second_start);

// Brings `window` to the user: a minimised window is restored, any other one raised and
// activated.
void BringToFront(QWidget* window);

}  // namespace lorix
