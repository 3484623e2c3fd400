#include "search/ResultListDelegate.h"

#include <QApplication>
#include <QPainter>

void ResultListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QString text = opt.text;
    opt.text.clear();
    QStyle* style = opt.widget ? opt.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);

    const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, opt.widget);
    painter->save();
    painter->setFont(opt.font);
    painter->setPen(opt.palette.color(opt.state & QStyle::State_Selected ? QPalette::HighlightedText
                                                                         : QPalette::Text));
    const qsizetype tab = text.indexOf(QLatin1Char('\t'));
    const QString first = tab < 0 ? text : text.left(tab);
    const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
    painter->drawText(textRect, flags, first);
    if (tab >= 0) {
        const int x = SecondColumnX(opt.fontMetrics.horizontalAdvance(first));
        painter->drawText(textRect.adjusted(x, 0, 0, 0), flags, text.mid(tab + 1));
    }
    painter->restore();
}

int ResultListDelegate::SecondColumnX(int firstWidth) const {
    // A first column wider than the stop pushes the second to the next stop, as tabs do.
    if (tabStopPixels_ <= 0)
        return firstWidth + 1;
    int x = tabStopPixels_;
    while (x <= firstWidth)
        x += tabStopPixels_;
    return x;
}

QSize ResultListDelegate::sizeHint(const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QString text = opt.text;
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    const qsizetype tab = text.indexOf(QLatin1Char('\t'));
    if (tab < 0)
        return size;
    const int firstWidth = opt.fontMetrics.horizontalAdvance(text.left(tab));
    const int drawn =
        SecondColumnX(firstWidth) + opt.fontMetrics.horizontalAdvance(text.mid(tab + 1));
    const int plain = opt.fontMetrics.horizontalAdvance(text);
    size.setWidth(size.width() - plain + drawn);
    return size;
}
