#pragma once

#include "search/ListTabStop.h"

#include <QFont>
#include <QStyledItemDelegate>

class QAbstractItemView;

// Draws a result line "abbreviation TAB spelled-out form" with the text after the TAB starting
// in one column for all lines: at the list's tab stop, or further right where the abbreviations
// shown need it at the list's font.
class ResultListDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    // The delegate of `view`, whose lines it measures.
    explicit ResultListDelegate(QAbstractItemView* view);

    // The tab stop, in dialog units (quarters of the desktop's average character width) and
    // in pixels from the left edge of the text.
    void SetTabStop(int dialogUnits, int pixels) {
        tabStop_ = dialogUnits;
        tabStopPixels_ = pixels;
    }
    int TabStop() const { return tabStop_; }
    int TabStopPixels() const { return tabStopPixels_; }

    // The columns the lines are drawn in now, at the font and width of `option`.
    ResultColumns Columns(const QStyleOptionViewItem& option) const;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    // As wide as the line is drawn, so the list scrolls sideways only for lines that need it.
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    int WidestAbbreviation(const QFont& font) const;

    QAbstractItemView* view_;
    int tabStop_ = 0;
    int tabStopPixels_ = 0;
    // The widest abbreviation in the list, measured once per filling and font.
    mutable int widest_ = -1;
    mutable QFont widestFont_;
};
