// The result list's two columns: the spelled-out forms start in one column, which leaves room
// for the abbreviations shown at any font size.
#include "EntryFixtures.h"

#include "search/ListTabStop.h"
#include "search/ResultListDelegate.h"

#include <QFontMetrics>
#include <QImage>
#include <QListWidget>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

class ResultColumnsTest : public ::testing::Test {
protected:
    void SetUp() override {
        list_.resize(600, 300);
        delegate_ = new ResultListDelegate(&list_);
        list_.setItemDelegate(delegate_);
        delegate_->SetTabStop(56, 100);
    }
    QStyleOptionViewItem Option() {
        QStyleOptionViewItem option;
        option.initFrom(&list_);
        option.font = list_.font();
        option.fontMetrics = QFontMetrics(list_.font());
        return option;
    }
    int LineWidth(int row) {
        return delegate_->sizeHint(Option(), list_.model()->index(row, 0)).width();
    }
    void SetPointSize(int points) {
        QFont font = list_.font();
        font.setPointSize(points);
        list_.setFont(font);
    }

    QListWidget list_;
    ResultListDelegate* delegate_ = nullptr;
};

TEST_F(ResultColumnsTest, SpelledOutFormsStartInOneColumnWhateverTheAbbreviation) {
    SetPointSize(9);
    list_.addItem(QStringLiteral("A\tCentral Processing Unit"));
    list_.addItem(QStringLiteral("CD-ROM\tCentral Processing Unit"));
    EXPECT_EQ(LineWidth(0), LineWidth(1));
    EXPECT_EQ(delegate_->Columns(Option()).secondColumnX, 100);
}

TEST_F(ResultColumnsTest, AtALargeFontTheColumnLeavesAGapAfterTheWidestAbbreviation) {
    SetPointSize(19);
    list_.addItem(QStringLiteral("CPU\tCentral Processing Unit"));
    list_.addItem(QStringLiteral("WWWWWW\tWorld Wide Web"));
    const QFontMetrics metrics(list_.font());
    const ResultColumns columns = delegate_->Columns(Option());
    EXPECT_GE(columns.secondColumnX,
              metrics.horizontalAdvance(QStringLiteral("WWWWWW")) + metrics.averageCharWidth());
    EXPECT_LE(columns.secondColumnX, list_.viewport()->width() / 2);

    // The column follows the lines shown: with only CPU left it moves back.
    delete list_.takeItem(1);
    EXPECT_LT(delegate_->Columns(Option()).secondColumnX, columns.secondColumnX);
}

TEST_F(ResultColumnsTest, AnAbbreviationWiderThanHalfTheListIsElided) {
    SetPointSize(12);
    list_.addItem(QString(200, QLatin1Char('W')) + QStringLiteral("\tLong"));
    const ResultColumns columns = delegate_->Columns(Option());
    EXPECT_EQ(columns.secondColumnX, list_.viewport()->width() / 2);

    // Drawn, the abbreviation ends before the gap and nothing touches the second column.
    QStyleOptionViewItem option = Option();
    option.rect = QRect(0, 0, list_.viewport()->width(), 40);
    option.palette.setColor(QPalette::Text, Qt::black);
    QImage image(option.rect.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        delegate_->paint(&painter, option, list_.model()->index(0, 0));
    }
    const int textLeft =
        list_.style()->subElementRect(QStyle::SE_ItemViewItemText, &option, &list_).left();
    int inkInGap = 0;
    int inkInFirst = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) > 128)
                continue;
            if (x >= textLeft + columns.firstColumnLimit && x < textLeft + columns.secondColumnX)
                ++inkInGap;
            else if (x < textLeft + columns.firstColumnLimit)
                ++inkInFirst;
        }
    }
    EXPECT_GT(inkInFirst, 0);
    EXPECT_EQ(inkInGap, 0) << "the abbreviation runs into the spelled-out form";
}

// In the real window at 19 points, every abbreviation of a search ends an average character
// before the spelled-out forms begin.
class ResultColumnsWindowTest : public EntryWindowTest {};

TEST_F(ResultColumnsWindowTest, LargeDisplayFontKeepsTheColumnsApart) {
    ASSERT_TRUE(Start());
    QString face = W().font().family();
    qint16 size = 19;
    W().FontChange(face, size);
    Focus(C().txtSearchKey);
    Search(QStringLiteral("?*"));
    ASSERT_GT(C().lstDbList->count(), 10);

    auto* delegate = qobject_cast<ResultListDelegate*>(C().lstDbList->itemDelegate());
    ASSERT_NE(delegate, nullptr);
    QStyleOptionViewItem option;
    option.initFrom(C().lstDbList);
    option.font = C().lstDbList->font();
    const QFontMetrics metrics(option.font);
    const ResultColumns columns = delegate->Columns(option);
    EXPECT_GT(columns.secondColumnX, delegate->TabStopPixels()) << "the stop is too close at 19 pt";
    for (int row = 0; row < C().lstDbList->count(); ++row) {
        const QString abbreviation = C().lstDbList->item(row)->text().section(u'\t', 0, 0);
        if (metrics.horizontalAdvance(abbreviation) <= columns.firstColumnLimit)
            EXPECT_LE(metrics.horizontalAdvance(abbreviation) + metrics.averageCharWidth(),
                      columns.secondColumnX)
                << abbreviation.toStdString();
        else
            EXPECT_EQ(columns.secondColumnX, C().lstDbList->viewport()->width() / 2)
                << abbreviation.toStdString() << " is elided only at half the list's width";
    }
}

} // namespace
