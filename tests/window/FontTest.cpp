// The display font: the Ctrl+Shift click gesture on the window's background, what a change of
// font does to the controls and the window, and that no text is cut off.
#include "MainWindowFixture.h"
#include "ShellTestSupport.h"

#include "app/StatusPanels.h"
#include "entryview/DescriptionBox.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QStatusBar>

using ShellTest::FullWidthChar;

class FontGestureTest : public MainWindowTest {
protected:
    void SetUp() override { ASSERT_TRUE(Start()); }

    // One click on the window's own background; returns the display font size afterwards.
    int Click(Qt::MouseButton button,
              Qt::KeyboardModifiers keys = Qt::ControlModifier | Qt::ShiftModifier) {
        QWidget* client = W().centralWidget();
        const QPoint at = ShellTest::BackgroundPoint(W());
        EXPECT_EQ(client->childAt(at), nullptr);
        QTest::mouseClick(client, button, keys, at);
        ShellTest::Settle();
        return W().font().pointSize();
    }
    void SetFontSize(qint16 size) {
        QString face = W().font().family();
        W().FontChange(face, size);
        ShellTest::Settle();
    }
};

TEST_F(FontGestureTest, LeftClicksStepUpThroughSevenSizes) {
    std::vector<int> sizes;
    for (int i = 0; i < 8; ++i)
        sizes.push_back(Click(Qt::LeftButton));
    EXPECT_EQ(sizes, (std::vector<int>{11, 13, 15, 17, 19, 21, 9, 11}));
}

TEST_F(FontGestureTest, RightClicksStepDownFromTheBaseToBasePlusTen) {
    std::vector<int> sizes;
    for (int i = 0; i < 7; ++i)
        sizes.push_back(Click(Qt::RightButton));
    EXPECT_EQ(sizes, (std::vector<int>{19, 17, 15, 13, 11, 9, 19}));
    // Up and down meet: from 19 (step 5) one step up is 21.
    EXPECT_EQ(Click(Qt::LeftButton), 21);
    EXPECT_EQ(Click(Qt::RightButton), 19);
}

TEST_F(FontGestureTest, AltMayBeHeldButBothShiftAndCtrlAreNeeded) {
    EXPECT_EQ(Click(Qt::LeftButton, Qt::NoModifier), 9);
    EXPECT_EQ(Click(Qt::LeftButton, Qt::ControlModifier), 9);
    EXPECT_EQ(Click(Qt::LeftButton, Qt::ShiftModifier), 9);
    EXPECT_EQ(Click(Qt::RightButton, Qt::ShiftModifier | Qt::AltModifier), 9);
    EXPECT_EQ(Click(Qt::MiddleButton), 9) << "the middle button keeps the step";
    EXPECT_EQ(Click(Qt::LeftButton, Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier), 11);
}

TEST_F(FontGestureTest, ClicksOnControlsAndCaptionsAreNotTheBackground) {
    for (QWidget* target :
         {static_cast<QWidget*>(C().Label1[0]), static_cast<QWidget*>(C().Label2[1]),
          static_cast<QWidget*>(C().txtLetter), static_cast<QWidget*>(C().pbxDescription)}) {
        QTest::mouseClick(target, Qt::LeftButton, Qt::ControlModifier | Qt::ShiftModifier,
                          QPoint(2, 2));
        ShellTest::Settle();
        EXPECT_EQ(W().font().pointSize(), 9) << qPrintable(target->objectName());
    }
}

TEST_F(FontGestureTest, MaximisedWindowIgnoresTheGesture) {
    W().showMaximized();
    ShellTest::Settle();
    ASSERT_TRUE(W().isMaximized());
    EXPECT_EQ(Click(Qt::LeftButton), 9);
    EXPECT_EQ(Click(Qt::RightButton), 9);
    W().showNormal();
    ShellTest::Settle();
    EXPECT_EQ(Click(Qt::LeftButton), 11) << "the steps did not move while maximised";
}

TEST_F(FontGestureTest, FirstClickOfAnyKindRecordsTheBase) {
    EXPECT_EQ(Click(Qt::LeftButton, Qt::NoModifier), 9); // base 9
    SetFontSize(15);
    EXPECT_EQ(W().font().pointSize(), 15);
    EXPECT_EQ(Click(Qt::LeftButton), 11) << "the steps count from the size of the first click";
}

TEST_F(FontGestureTest, BaseIsTheSizeAtTheFirstClick) {
    SetFontSize(15);
    EXPECT_EQ(Click(Qt::LeftButton), 17);
    EXPECT_EQ(Click(Qt::RightButton), 15);
    EXPECT_EQ(Click(Qt::RightButton), 25) << "15 + 10";
}

TEST_F(FontGestureTest, NewSizeReachesTheFieldsListsAndDescription) {
    const QString face = W().font().family();
    Click(Qt::LeftButton);
    Click(Qt::LeftButton); // 13 points
    ASSERT_EQ(W().font().pointSize(), 13);
    for (QWidget* w :
         {static_cast<QWidget*>(C().txtSearchKey), static_cast<QWidget*>(C().txtLetter),
          static_cast<QWidget*>(C().cmbCategory), static_cast<QWidget*>(C().lstLink),
          static_cast<QWidget*>(C().lstDbList), static_cast<QWidget*>(C().pbxDescription)}) {
        EXPECT_EQ(w->font().pointSize(), 13) << qPrintable(w->objectName());
        EXPECT_EQ(w->font().family(), face) << qPrintable(w->objectName());
    }
    // Captions and the status bar take the face but keep nine points.
    for (QWidget* w :
         {static_cast<QWidget*>(C().Label1[0]), static_cast<QWidget*>(C().Label1[1]),
          static_cast<QWidget*>(C().Label1[2]), static_cast<QWidget*>(C().Label2[0]),
          static_cast<QWidget*>(C().Label2[1]), static_cast<QWidget*>(C().stbStatusBar)}) {
        EXPECT_EQ(w->font().pointSize(), 9) << qPrintable(w->objectName());
        EXPECT_EQ(w->font().family(), face) << qPrintable(w->objectName());
    }
    EXPECT_EQ(W().DisplayFont().size, 13.0);
    EXPECT_EQ(W().DisplayFont().name, face);
    // The widths follow the new character.
    EXPECT_NEAR(C().txtSearchKey->width(), 8 * FullWidthChar(W()), 1);
    EXPECT_NEAR(C().cmbCategory->width(), 9 * FullWidthChar(W()), 1);
    EXPECT_EQ(C().lstLink->width(), C().txtSearchKey->width());
    EXPECT_NEAR(C().lstLink->height(), 13 * 220 / 15.0, 1);
    EXPECT_EQ(C().pbxDescription->height(), C().lstLink->height());
}

TEST_F(FontGestureTest, WindowKeepsItsSizeAndTheNewMinimumHolds) {
    W().resize(W().width() + 260, W().height() + 120);
    ShellTest::Settle();
    const QSize size = W().size();
    const QPoint corner = W().pos();
    Click(Qt::LeftButton); // 11 points: the minimum grows but stays below this size
    EXPECT_EQ(W().size(), size);
    EXPECT_EQ(W().pos(), corner);
    const int passes = W().LayoutPasses();

    // Dragged small again, the window stops at the minimum of the new font.
    W().resize(7, 7);
    ShellTest::Settle();
    EXPECT_EQ(W().OuterWidth(), ShellTest::MinimumOuterWidth(W()));
    EXPECT_EQ(W().OuterHeight(), ShellTest::MinimumOuterHeight(W()));
    EXPECT_EQ(W().LayoutPasses(), passes + 1);
    EXPECT_NEAR(C().txtLetter->width(), 14 * FullWidthChar(W()), 2);
    EXPECT_NEAR(C().lstDbList->height(), (60 + 11 * 20) / 15.0, 1);
}

TEST_F(FontGestureTest, LargerMinimumThanTheWindowGrowsTheWindow) {
    const QSize before = W().size();
    for (int i = 0; i < 6; ++i)
        Click(Qt::LeftButton); // 21 points
    ASSERT_EQ(W().font().pointSize(), 21);
    EXPECT_GT(W().width(), before.width());
    EXPECT_GE(W().OuterWidth(), ShellTest::MinimumOuterWidth(W()));
    EXPECT_GE(W().OuterHeight(), ShellTest::MinimumOuterHeight(W()));
    EXPECT_GE(C().txtLetter->width(), C().txtSearchKey->width()) << "no field squeezed";
    EXPECT_GE(C().lstDbList->height(), 0);
}

TEST_F(FontGestureTest, FontChangeReportsTheSizeTheWindowTook) {
    QString face = W().font().family();
    qint16 size = 12;
    W().FontChange(face, size);
    EXPECT_EQ(size, 12);
    EXPECT_EQ(W().font().pointSize(), 12);
    EXPECT_TRUE(W().isVisible());
}

// --- Nothing cut off ---------------------------------------------------------------------------

class FontClippingTest : public FontGestureTest {
protected:
    void ExpectNothingClipped() {
        // At the minimum height the result list is only about one line high (LayoutTest).
        const bool atMinimum = W().OuterHeight() <= ShellTest::MinimumOuterHeight(W());
        SCOPED_TRACE(testing::Message() << W().font().pointSize() << " points");
        for (QLabel* label :
             {C().Label1[0], C().Label1[1], C().Label1[2], C().Label2[0], C().Label2[1], C().Label3,
              C().statusPanels->Text(), C().statusPanels->Date(), C().statusPanels->Time()}) {
            const QSize hint = label->sizeHint();
            EXPECT_GE(label->width(), hint.width()) << qPrintable(label->objectName());
            EXPECT_GE(label->height(), label->fontMetrics().height())
                << qPrintable(label->objectName());
        }
        // The captions of one row do not run into each other.
        EXPECT_LT(ShellTest::RectInWindow(W(), C().Label1[0]).right(),
                  ShellTest::RectInWindow(W(), C().Label1[1]).left());
        EXPECT_LT(ShellTest::RectInWindow(W(), C().Label1[1]).right(),
                  ShellTest::RectInWindow(W(), C().Label1[2]).left());
        // The fields are tall enough for a line of their text.
        for (QWidget* field :
             {static_cast<QWidget*>(C().txtSearchKey), static_cast<QWidget*>(C().txtLetter),
              static_cast<QWidget*>(C().cmbCategory)}) {
            EXPECT_GE(field->height(), field->minimumSizeHint().height())
                << qPrintable(field->objectName());
            EXPECT_GE(field->height(), field->fontMetrics().height() + 2)
                << qPrintable(field->objectName());
        }
        // Whole lines fit the lists.
        if (!atMinimum) {
            EXPECT_GE(C().lstDbList->viewport()->height(),
                      2 * C().lstDbList->fontMetrics().height());
        }
        EXPECT_GE(C().lstLink->viewport()->height(), 5 * C().lstLink->fontMetrics().height());
    }
};

TEST_F(FontClippingTest, NothingIsCutOffAtNinePoints) {
    ExpectNothingClipped();
}

TEST_F(FontClippingTest, NothingIsCutOffAtTheLargestGestureSize) {
    for (int i = 0; i < 6; ++i)
        Click(Qt::LeftButton);
    ASSERT_EQ(W().font().pointSize(), 21);
    ExpectNothingClipped();
    W().resize(7, 7); // at the minimum of the largest size
    ShellTest::Settle();
    ExpectNothingClipped();
}

TEST_F(FontClippingTest, NothingIsCutOffAtTheMinimumSize) {
    W().resize(7, 7);
    ShellTest::Settle();
    ExpectNothingClipped();
}
