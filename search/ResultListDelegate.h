#pragma once

#include <QStyledItemDelegate>

// Draws a result line "abbreviation TAB spelled-out form" with the text after the TAB starting
// at the list's tab stop, so the spelled-out forms of all lines start in one column.
class ResultListDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // The tab stop in pixels from the left edge of the text.
    void SetTabStopPixels(int pixels) { tabStopPixels_ = pixels; }
    int TabStopPixels() const { return tabStopPixels_; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    // As wide as the line is drawn, so the list scrolls sideways only for lines that need it.
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    // Where the text after the TAB starts, for a first column of the given width.
    int SecondColumnX(int firstWidth) const;

    int tabStopPixels_ = 0;
};
