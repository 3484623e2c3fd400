#include "fulltext/ExcerptDelegate.h"

#include <QApplication>
#include <QPainter>
#include <QTextLayout>

void ExcerptDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const {
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    const QString text = opt.text;
    const int start = index.data(MatchStartRole).toInt();
    const int length = index.data(MatchLengthRole).toInt();
    if (start < 0 || length <= 0 || start + length > text.size()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }

    // The row's background and focus as the style draws them, without its text.
    opt.text.clear();
    const QWidget* widget = opt.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
    const QRect area = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget);

    QTextCharFormat match;
    match.setFontWeight(QFont::Bold);
    match.setBackground(QColor(255, 230, 120));
    match.setForeground(QColor(0, 0, 0));
    QTextLayout layout(text, opt.font);
    layout.setFormats({QTextLayout::FormatRange{start, length, match}});
    QTextOption textOption;
    textOption.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(textOption);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (line.isValid())
        line.setLineWidth(1.0e6);
    layout.endLayout();

    const bool selected = opt.state & QStyle::State_Selected;
    painter->save();
    painter->setClipRect(area);
    painter->setPen(
        opt.palette.color(QPalette::Normal, selected ? QPalette::HighlightedText : QPalette::Text));
    const qreal top = area.top() + (area.height() - line.height()) / 2.0;
    layout.draw(painter, QPointF(area.left() + 2, top));
    painter->restore();
}
