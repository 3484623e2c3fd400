// The search boxes select their text when they get the focus, SelectTextBox, and the result
// list's tab stop, which must not move the focus.
#include "MainWindowFixture.h"
#include "ShellTestSupport.h"

#include "app/StatusPanels.h"
#include "search/ResultListDelegate.h"

#include <QLineEdit>
#include <QListWidget>

class ShellFocusTest : public MainWindowTest {
protected:
    void SetUp() override { ASSERT_TRUE(Start()); }

    void Focus(QWidget* w) {
        w->setFocus(Qt::OtherFocusReason);
        ShellTest::Settle();
    }
    void Tab(Qt::Key key = Qt::Key_Tab) {
        QTest::keyClick(QApplication::focusWidget(), key,
                        key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
        ShellTest::Settle();
    }
};

TEST_F(ShellFocusTest, TabbingIntoABoxSelectsItsWholeText) {
    C().txtLetter->setText(QStringLiteral("CPU"));
    C().txtLetter->setCursorPosition(1);
    Focus(C().txtSearchKey);
    Tab();
    ASSERT_EQ(QApplication::focusWidget(), C().txtLetter);
    EXPECT_EQ(C().txtLetter->selectedText(), QStringLiteral("CPU"));
    // Typing replaces the previous search.
    QTest::keyClicks(C().txtLetter, QStringLiteral("gpu"));
    EXPECT_EQ(C().txtLetter->text(), QStringLiteral("gpu"));

    C().txtSearchKey->setText(QStringLiteral("RAM"));
    C().txtSearchKey->deselect();
    Tab(Qt::Key_Backtab);
    ASSERT_EQ(QApplication::focusWidget(), C().txtSearchKey);
    EXPECT_EQ(C().txtSearchKey->selectedText(), QStringLiteral("RAM"));
}

TEST_F(ShellFocusTest, ClickingOrAccessKeyIntoABoxSelectsItsWholeText) {
    C().txtSearchKey->setText(QStringLiteral("CPU"));
    Focus(C().lstDbList);
    QTest::mouseClick(C().txtSearchKey, Qt::LeftButton, Qt::NoModifier, QPoint(4, 4));
    ShellTest::Settle();
    ASSERT_EQ(QApplication::focusWidget(), C().txtSearchKey);
    EXPECT_EQ(C().txtSearchKey->selectedText(), QStringLiteral("CPU"));

    C().txtLetter->setText(QStringLiteral("central"));
    Focus(C().lstDbList);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_L, Qt::AltModifier);
    ShellTest::Settle();
    ASSERT_EQ(QApplication::focusWidget(), C().txtLetter);
    EXPECT_EQ(C().txtLetter->selectedText(), QStringLiteral("central"));
}

TEST_F(ShellFocusTest, TabbingIntoAnEmptyBoxChangesNothing) {
    Focus(C().txtSearchKey);
    Tab();
    ASSERT_EQ(QApplication::focusWidget(), C().txtLetter);
    EXPECT_TRUE(C().txtLetter->text().isEmpty());
    EXPECT_FALSE(C().txtLetter->hasSelectedText());
    EXPECT_EQ(C().txtLetter->cursorPosition(), 0);
}

TEST_F(ShellFocusTest, SelectTextBoxFocusesTheAbbreviationWithItsTextSelected) {
    C().txtSearchKey->setText(QStringLiteral("TCP/IP"));
    C().txtSearchKey->setCursorPosition(2);
    Focus(C().lstLink);
    W().SelectTextBox();
    ShellTest::Settle();
    EXPECT_EQ(QApplication::focusWidget(), C().txtSearchKey);
    EXPECT_EQ(C().txtSearchKey->selectedText(), QStringLiteral("TCP/IP"));

    C().txtSearchKey->clear();
    Focus(C().cmbCategory);
    W().SelectTextBox();
    ShellTest::Settle();
    EXPECT_EQ(QApplication::focusWidget(), C().txtSearchKey);
    EXPECT_FALSE(C().txtSearchKey->hasSelectedText());
}

TEST_F(ShellFocusTest, SettingTheTabStopLeavesTheFocusWhereItWas) {
    for (QWidget* w : {static_cast<QWidget*>(C().txtLetter), static_cast<QWidget*>(C().lstLink),
                       static_cast<QWidget*>(C().cmbCategory)}) {
        Focus(w);
        W().SetListTabStop(C().lstDbList);
        ShellTest::Settle();
        EXPECT_EQ(QApplication::focusWidget(), w) << qPrintable(w->objectName());
    }
    // The result list never had the focus, so its status text did not appear.
    EXPECT_EQ(C().statusPanels->TextValue(), QStringLiteral("未検索"));
}

TEST_F(ShellFocusTest, TabStopIsSetAtStartUpAndKeptAcrossFontChanges) {
    auto* delegate = qobject_cast<ResultListDelegate*>(C().lstDbList->itemDelegate());
    ASSERT_NE(delegate, nullptr);
    const int stop = delegate->TabStop();
    EXPECT_GT(stop, 0);
    EXPECT_EQ(stop % 14, 0) << "a whole number of half base units, fourteen times";
    EXPECT_GT(delegate->TabStopPixels(), 0);
    // The base unit is the desktop's, not the display font's.
    QString face = W().font().family();
    qint16 size = 15;
    Focus(C().txtLetter);
    W().FontChange(face, size);
    ShellTest::Settle();
    EXPECT_EQ(delegate->TabStop(), stop);
    // The control that has the focus whenever the window is active stays the same.
    EXPECT_EQ(W().focusWidget(), C().txtLetter) << "a change of font keeps the focus";
}
