#include "search/ResultListDelegate.h"

#include <QListWidget>
#include <gtest/gtest.h>

namespace {

int LineWidth(QListWidget& list, ResultListDelegate& delegate, const QString& text) {
    list.clear();
    list.addItem(text);
    QStyleOptionViewItem option;
    option.initFrom(&list);
    return delegate.sizeHint(option, list.model()->index(0, 0)).width();
}

// The spelled-out forms after the TAB start in one column whatever the abbreviation's width.
TEST(ResultColumnsTest, SecondColumnStartsAtTheTabStop) {
    QListWidget list;
    ResultListDelegate delegate(&list);
    delegate.SetTabStopPixels(100);
    const int narrow = LineWidth(list, delegate, QStringLiteral("A\tCentral Processing Unit"));
    const int wide = LineWidth(list, delegate, QStringLiteral("CD-ROM\tCentral Processing Unit"));
    EXPECT_EQ(narrow, wide);
    // A first column wider than the stop moves the second to the next stop.
    const int overlong =
        LineWidth(list, delegate,
                  QString(40, QLatin1Char('W')) + QStringLiteral("\tCentral Processing Unit"));
    EXPECT_GE(overlong - wide, 100);
    EXPECT_EQ((overlong - wide) % 100, 0);
}

} // namespace
