#include "app/WindowActivation.h"

#ifdef TESSARINE_XDG_ACTIVATION
#include "app/WaylandActivation.h"
#endif

#include <QWindow>

namespace WindowActivation {

void RequestActivation(QWindow* window, const QString& token) {
    if (!window)
        return;
#ifdef TESSARINE_XDG_ACTIVATION
    // A compositor that checks tokens gives the keyboard only with one; without it Qt asks on
    // its own, which such a compositor may refuse.
    if (WaylandActivation::Activate(window, token))
        return;
#endif
    window->requestActivate();
}

QString TakeStartToken() {
    const QString token = qEnvironmentVariable("XDG_ACTIVATION_TOKEN");
    qunsetenv("XDG_ACTIVATION_TOKEN");
    return token;
}

} // namespace WindowActivation
