#include "app/WidgetMessageBox.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <cstdio>

namespace {
// Platforms that draw into memory only: nobody could ever see or answer a box there.
bool NoUserCanAnswer() {
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}
} // namespace

MessageAnswer ShowWidgetMessageBox(const MessageRequest& request) {
    // A modal box would wait forever; the message goes to the error output and the default
    // button (OK) answers it, so a run without a display ends as it would after a click.
    if (NoUserCanAnswer()) {
        std::fprintf(stderr, "%s: %s\n", qUtf8Printable(request.title),
                     qUtf8Printable(request.text));
        return MessageAnswer::Ok;
    }
    QMessageBox box;
    box.setWindowTitle(request.title);
    QString text = request.text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    box.setText(text);
    switch (request.icon) {
    case MessageIcon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case MessageIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MessageIcon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case MessageIcon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    }
    if (request.buttons == MessageButtons::OkCancel) {
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    return box.exec() == QMessageBox::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
}
