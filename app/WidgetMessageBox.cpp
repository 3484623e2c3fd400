#include "app/WidgetMessageBox.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cstdio>

namespace {
// Platforms that draw into memory only: nobody could ever see or answer a box there.
bool NoUserCanAnswer() {
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}

QMessageBox::Icon BoxIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// Lines a paragraph takes once the box wraps it; reckoned narrower than the box wraps, since
// wrapping at words wastes the end of most lines.
int WrappedLines(const QString& line, const QFontMetrics& metrics, int wrapWidth) {
    return 1 + metrics.horizontalAdvance(line) * 5 / 4 / wrapWidth;
}

// The beginning of `line` that fits into `lines` wrapped lines.
QString FittingPart(const QString& line, const QFontMetrics& metrics, int wrapWidth, int lines) {
    qsizetype length = line.size();
    while (length > 0 && WrappedLines(line.left(length), metrics, wrapWidth) > lines)
        length = length * 3 / 4;
    return line.left(length);
}

QString FittedText(const QString& text, const QFontMetrics& metrics, const QRect& screen) {
    // The box wraps its text at about half the screen's width, at most 500 pixels; the title
    // bar, margins and buttons take the rest of the height.
    constexpr int kFrameAndButtons = 160;
    const int wrapWidth = std::clamp(screen.width() / 2, 200, 500);
    const int budget = std::max(5, (screen.height() - kFrameAndButtons) / metrics.lineSpacing());
    QStringList lines = text.split(QLatin1Char('\n'));
    int total = 0;
    for (const QString& line : lines)
        total += WrappedLines(line, metrics, wrapWidth);
    if (total <= budget)
        return text;
    const QString last = lines.takeLast();
    int room = budget - WrappedLines(last, metrics, wrapWidth);
    QStringList kept;
    for (const QString& line : lines) {
        const int needed = WrappedLines(line, metrics, wrapWidth);
        if (needed >= room) {
            kept << FittingPart(line, metrics, wrapWidth, room);
            break;
        }
        kept << line;
        room -= needed;
    }
    return kept.join(QLatin1Char('\n')) + QStringLiteral("…\n") + last;
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
    const std::unique_ptr<QMessageBox> box = MakeWidgetMessageBox(request);
    return box->exec() == QMessageBox::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
}

std::unique_ptr<QMessageBox> MakeWidgetMessageBox(const MessageRequest& request) {
    auto box = std::make_unique<QMessageBox>();
    box->setWindowTitle(request.title);
    QString text = request.text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const QScreen* screen = QGuiApplication::primaryScreen();
    box->setText(screen ? FittedText(text, QFontMetrics(box->font()), screen->availableGeometry())
                        : text);
    box->setIcon(BoxIcon(request.icon));
    if (request.buttons == MessageButtons::OkCancel) {
        box->setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box->setDefaultButton(QMessageBox::Ok);
    } else {
        box->setStandardButtons(QMessageBox::Ok);
    }
    return box;
}
