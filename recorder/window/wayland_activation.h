#pragma once

// Bringing a window to the front on a Wayland desktop. A compositor raises and focuses a window
// only for an activation token it issued itself, normally to the launcher that started a
// program (xdg_activation_v1); a token the program asks for on its own is focus stealing and is
// refused. Qt 6.4 can only activate with tokens it asked for, neither reading one handed over at
// run time nor taking one from the program, so the recorder sends the request itself, on Qt's
// own connection to the compositor and for the window's own surface.

class QString;
class QWindow;

namespace lorix {

// True when Qt runs the program as a native Wayland client.
bool RunsOnWayland();

// Asks the compositor to activate `window` with `token`. False when it could not be asked: not
// on Wayland, no token, a window without a surface, or a compositor without the protocol. The
// compositor may still decline a token that has expired.
bool ActivateWithToken(QWindow* window, const QString& token);

}  // namespace lorix
