#include "app/WindowActivation.h"

#include <QWindow>

namespace WindowActivation {

void RequestActivation(QWindow* window, const QString& token) {
    if (!window)
        return;
    Q_UNUSED(token);
    window->requestActivate();
}

QString TakeStartToken() {
    const QString token = qEnvironmentVariable("XDG_ACTIVATION_TOKEN");
    qunsetenv("XDG_ACTIVATION_TOKEN");
    return token;
}

} // namespace WindowActivation
