#include "search/SelectionText.h"

#include <QClipboard>
#include <QGuiApplication>

namespace SelectionText {

bool ReadableWithoutFocus() {
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

QString Read() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return {};
    if (clipboard->supportsSelection()) {
        const QString marked = clipboard->text(QClipboard::Selection);
        if (!marked.isEmpty())
            return marked;
    }
    return clipboard->text(QClipboard::Clipboard);
}

} // namespace SelectionText
