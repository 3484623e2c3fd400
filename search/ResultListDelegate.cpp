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
        // A first column wider than the stop pushes the second to the next stop, as tabs do.
        const int firstWidth = opt.fontMetrics.horizontalAdvance(first);
        int x = tabStopPixels_ > 0 ? tabStopPixels_ : 1;
        while (x <= firstWidth)
            x += tabStopPixels_ > 0 ? tabStopPixels_ : firstWidth + 1;
        painter->drawText(textRect.adjusted(x, 0, 0, 0), flags, text.mid(tab + 1));
    }
    painter->restore();
}
