#include "app/Artwork.h"

#include <QHash>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <cmath>

namespace Artwork {

QIcon ApplicationIcon() {
    return QIcon(QStringLiteral(":/icons/tessarine.svg"));
}

QIcon ToolbarIcon(const QString& key) {
    return QIcon(QStringLiteral(":/toolbar/%1.svg").arg(key));
}

QCursor HandCursor(qreal ratio) {
    if (!(ratio > 0))
        ratio = 1;
    // Screens have few ratios; each cursor is drawn once.
    static QHash<qint64, QCursor> drawn;
    const qint64 key = std::llround(ratio * 1000);
    if (const auto found = drawn.constFind(key); found != drawn.constEnd())
        return found.value();

    const int side = int(std::lround(32 * ratio));
    QPixmap picture(side, side);
    picture.fill(Qt::transparent);
    {
        QSvgRenderer hand(QStringLiteral(":/cursors/hand.svg"));
        QPainter painter(&picture);
        hand.render(&painter, QRectF(0, 0, side, side));
    }
    picture.setDevicePixelRatio(ratio);
    const QCursor cursor(picture, kHandHotX, kHandHotY);
    drawn.insert(key, cursor);
    return cursor;
}

} // namespace Artwork
