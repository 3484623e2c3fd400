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

private:
    int tabStopPixels_ = 0;
};
