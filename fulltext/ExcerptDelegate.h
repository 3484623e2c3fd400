#pragma once

#include <QStyledItemDelegate>

// Draws a full-text result's excerpt with the matched text set off: bold, on the colour the
// style uses for marking text, so that it stands out in a selected row as well.
class ExcerptDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    // Where the match lies in the item's text; a negative start means no match is shown.
    static constexpr int MatchStartRole = Qt::UserRole + 1;
    static constexpr int MatchLengthRole = Qt::UserRole + 2;

    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};
