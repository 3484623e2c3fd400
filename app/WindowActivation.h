#pragma once

#include <QString>

class QWindow;

// Bringing a window to the front when another start asks for it. Desktops refuse to let a
// program take the keyboard on its own; the start that asks carries the desktop's permission, an
// activation token (XDG_ACTIVATION_TOKEN on Wayland), which is handed on with the request.
namespace WindowActivation {

// Asks the window system to give the keyboard to `window`, with the desktop's activation token
// where there is one (empty for none).
void RequestActivation(QWindow* window, const QString& token);

// The activation token the desktop gave this start, taken out of the environment so that no
// program this one starts (a browser) can use it; empty for none.
QString TakeStartToken();

} // namespace WindowActivation
