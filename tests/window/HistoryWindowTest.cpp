// The history window opened from the real main window: placement, size rules, its list kept in
// step with the history, jumps from it, and its keys.
#include "EntryFixtures.h"

#include <QMenu>
#include <QPointer>
#include <QScreen>

namespace {

// Entries E001 to E120, enough to wrap the ring of 100.
struct ManyEntries {
    TestDictionary dict;
    ManyEntries() {
        dict.AddCategory(1, QStringLiteral("一般"), QStringLiteral("GE"));
        for (int i = 1; i <= 120; ++i)
            dict.AddEntry(QStringLiteral("E%1").arg(i, 3, 10, QLatin1Char('0')),
                          QStringLiteral("Entry %1").arg(i), 1);
        dict.Finish();
    }
};

class HistoryWindowTest : public EntryWindowTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(Start(many_.dict.Dir()));
        Focus(C().txtSearchKey);
    }

    static QString Name(int id) { return QStringLiteral("E%1").arg(id, 3, 10, QLatin1Char('0')); }

    frmHistory* OpenWithCtrlH() {
        Focus(C().txtSearchKey);
        QTest::keyClick(C().txtSearchKey, Qt::Key_H, Qt::ControlModifier);
        QApplication::processEvents();
        frmHistory* h = HistoryWindow();
        EXPECT_TRUE(h && h->isVisible());
        return h;
    }

    // The list must show exactly the recorded entries, oldest first, with their slots, and
    // select the current one.
    void ExpectListInStep(frmHistory* h) {
        ASSERT_NE(h, nullptr);
        EXPECT_EQ(Texts(h->lstHistory), HistoryCaptions());
        QList<qint32> recorded;
        for (qint16 s : Store().RecordedSlots())
            recorded << s;
        EXPECT_EQ(ItemData(h->lstHistory), recorded);
        EXPECT_EQ(h->lstHistory->currentRow(), Store().CurrentRowIndex());
        EXPECT_LE(h->lstHistory->count(), 100);
    }

    // Whether the Go menu shows the check mark, read as the user opens the menu.
    bool GoMenuChecked() {
        C().mnuGo->popup(W().mapToGlobal(QPoint(10, 10)));
        QApplication::processEvents();
        const bool checked = C().mnuGoItem[5]->isChecked();
        C().mnuGo->close();
        QApplication::processEvents();
        return checked;
    }

    ManyEntries many_;
};

TEST_F(HistoryWindowTest, OpensWithTheVisitedEntriesAndTheCurrentOneSelected) {
    for (int id : {1, 2, 3})
        Show(id);
    C().mnuGoItem[1]->trigger();
    frmHistory* h = OpenWithCtrlH();
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(h->windowTitle(), QStringLiteral("履歴"));
    EXPECT_EQ(Texts(h->lstHistory), (QStringList{"E001", "E002", "E003"}));
    EXPECT_EQ(h->lstHistory->currentRow(), 1);
    ExpectListInStep(h);
    // Its only control fills the client area, at the size of the related-words list.
    EXPECT_EQ(h->lstHistory->pos(), QPoint(0, 0));
    EXPECT_EQ(h->lstHistory->width(), C().lstLink->width());
    EXPECT_EQ(h->lstHistory->width(), h->width());
    EXPECT_EQ(h->lstHistory->height(), h->height());
    EXPECT_FALSE(h->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(h->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(h->parentWidget(), nullptr) << "a window of its own, without an owner";
}

TEST_F(HistoryWindowTest, EmptyHistoryOpensAnEmptyList) {
    C().mnuGoItem[5]->trigger();
    frmHistory* h = HistoryWindow();
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(h->lstHistory->count(), 0);
    EXPECT_EQ(h->lstHistory->currentRow(), -1);
    C().mnuGoItem[5]->trigger();
    QApplication::processEvents();
    EXPECT_FALSE(W().IsHistoryWindowOpen());
}

TEST_F(HistoryWindowTest, OpensFlushRightOfANormalMainWindowAndAsTall) {
    const QRect screen = W().screen()->geometry();
    W().move(screen.left(), screen.top() + 20);
    QApplication::processEvents();
    const QRect main = W().frameGeometry();
    ASSERT_GT(screen.right() - main.right(), C().lstLink->width())
        << "the main window must leave room on its right";
    frmHistory* h = OpenWithCtrlH();
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(h->frameGeometry().left(), main.right() + 1);
    EXPECT_EQ(h->frameGeometry().top(), main.top());
    EXPECT_EQ(h->frameGeometry().height(), main.height());
    EXPECT_EQ(h->lstHistory->height(), h->height()) << "the list fills the taller window";
}

TEST_F(HistoryWindowTest, OpensFlushLeftWhenOnlyTheLeftHasRoom) {
    const QRect screen = W().screen()->geometry();
    W().move(screen.right() + 1 - W().frameGeometry().width(), screen.top());
    QApplication::processEvents();
    const QRect main = W().frameGeometry();
    ASSERT_GT(main.left() - screen.left(), C().lstLink->width());
    frmHistory* h = OpenWithCtrlH();
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(h->frameGeometry().right() + 1, main.left());
    EXPECT_EQ(h->frameGeometry().top(), main.top());
}

TEST_F(HistoryWindowTest, WidthSnapsBackAndTheListFollowsTheHeight) {
    Show(1);
    frmHistory* h = OpenWithCtrlH();
    ASSERT_NE(h, nullptr);
    const int width = h->width();
    EXPECT_EQ(Twips::FromPixels(h->frameGeometry().width()), h->FixedWidth());

    h->resize(width + 60, h->height());
    QApplication::processEvents();
    EXPECT_EQ(h->width(), width);
    h->resize(width - 30, h->height());
    QApplication::processEvents();
    EXPECT_EQ(h->width(), width);

    for (int height : {h->height() + 80, h->height() - 50}) {
        h->resize(h->width(), height);
        QApplication::processEvents();
        EXPECT_EQ(h->height(), height);
        EXPECT_EQ(h->lstHistory->height(), height);
        EXPECT_EQ(h->lstHistory->width(), width) << "the list's width never changes";
    }
}

TEST_F(HistoryWindowTest, ListStaysInStepAcrossAWrapAndATruncation) {
    frmHistory* h = OpenWithCtrlH();
    ASSERT_NE(h, nullptr);
    for (int id = 1; id <= 105; ++id)
        Show(id);
    ASSERT_EQ(h->lstHistory->count(), 100);
    EXPECT_EQ(h->lstHistory->item(0)->text(), Name(6));
    EXPECT_EQ(h->lstHistory->item(99)->text(), Name(105));
    EXPECT_EQ(h->lstHistory->currentRow(), 99);
    ExpectListInStep(h);

    for (int i = 0; i < 3; ++i)
        C().mnuGoItem[1]->trigger();
    EXPECT_EQ(W().Current().CurrentId, 102);
    EXPECT_EQ(h->lstHistory->currentRow(), 96);
    Show(110);
    EXPECT_EQ(h->lstHistory->count(), 98);
    EXPECT_EQ(h->lstHistory->item(96)->text(), Name(102));
    EXPECT_EQ(h->lstHistory->item(97)->text(), Name(110));
    ExpectListInStep(h);
    ExpectNavigation(true, false);

    // Reopened, the list is rebuilt from the ring with the same rows.
    C().mnuGoItem[5]->trigger();
    QApplication::processEvents();
    ASSERT_FALSE(W().IsHistoryWindowOpen());
    C().mnuGoItem[5]->trigger();
    h = HistoryWindow();
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(h->lstHistory->count(), 98);
    ExpectListInStep(h);

    // Filling up again past the wrap keeps the list at 100 rows.
    for (int id = 1; id <= 10; ++id)
        Show(id);
    EXPECT_EQ(h->lstHistory->count(), 100);
    ExpectListInStep(h);
}

TEST_F(HistoryWindowTest, GoMenuCheckMarkFollowsTheWindowWhenTheMenuOpens) {
    Show(1);
    EXPECT_FALSE(GoMenuChecked());
    frmHistory* h = OpenWithCtrlH();
    ASSERT_NE(h, nullptr);
    EXPECT_TRUE(GoMenuChecked());

    Activate(h);
    QTest::keyClick(h->lstHistory, Qt::Key_H, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_FALSE(W().IsHistoryWindowOpen());
    EXPECT_TRUE(C().mnuGoItem[5]->isChecked()) << "the mark is only set as the menu opens";
    EXPECT_FALSE(GoMenuChecked());
}

TEST_F(HistoryWindowTest, CtrlShiftHClosesItToo) {
    frmHistory* h = OpenWithCtrlH();
    ASSERT_NE(h, nullptr);
    Activate(h);
    QTest::keyClick(h->lstHistory, Qt::Key_H, Qt::ControlModifier | Qt::ShiftModifier);
    QApplication::processEvents();
    EXPECT_FALSE(W().IsHistoryWindowOpen());
}

TEST_F(HistoryWindowTest, OtherKeysInTheHistoryWindowLeaveTheMainWindowAlone) {
    for (int id : {1, 2, 3})
        Show(id);
    frmHistory* h = OpenWithCtrlH();
    ASSERT_NE(h, nullptr);
    Activate(h);
    h->lstHistory->setFocus();
    for (Qt::Key key : {Qt::Key_Left, Qt::Key_Right}) {
        QTest::keyClick(h->lstHistory, key, Qt::AltModifier);
        QApplication::processEvents();
        EXPECT_EQ(W().Current().CurrentId, 3);
        EXPECT_EQ(Store().CurrentSlot(), 3);
    }
    QTest::keyClick(h->lstHistory, Qt::Key_G, Qt::ControlModifier);
    QTest::keyClick(h->lstHistory, Qt::Key_H);
    EXPECT_TRUE(W().IsHistoryWindowOpen());
    EXPECT_EQ(W().Current().CurrentId, 3);
    EXPECT_TRUE(messages_.boxes.isEmpty());
}

TEST_F(HistoryWindowTest, ClickingARowJumpsThereAndAddsNothing) {
    for (int id : {1, 2, 3, 4})
        Show(id);
    frmHistory* h = OpenWithCtrlH();
    ASSERT_NE(h, nullptr);
    ClickRow(h->lstHistory, 1);
    EXPECT_EQ(W().Current().CurrentId, 2);
    EXPECT_EQ(W().windowTitle(), QStringLiteral("Tessarine 2000 - [E002]"));
    EXPECT_EQ(Store().EntryCount(), 4);
    EXPECT_EQ(h->lstHistory->currentRow(), 1);
    ExpectNavigation(true, true);
    EXPECT_FALSE(h->SelectList);

    // The main window's back command follows the new position.
    C().mnuGoItem[1]->trigger();
    EXPECT_EQ(W().Current().CurrentId, 1);
    EXPECT_EQ(h->lstHistory->currentRow(), 0);

    // Clicking the current row shows the entry again and adds nothing.
    C().pbxDescription->Cls();
    QTest::mouseClick(h->lstHistory->viewport(), Qt::LeftButton, {},
                      h->lstHistory->visualItemRect(h->lstHistory->item(0)).center());
    EXPECT_EQ(W().Current().CurrentId, 1);
    EXPECT_EQ(Store().EntryCount(), 4);
    ExpectListInStep(h);
}

TEST_F(HistoryWindowTest, KeyboardMovesInTheListJumpToEachEntry) {
    for (int id : {1, 2, 3, 4})
        Show(id);
    frmHistory* h = OpenWithCtrlH();
    ASSERT_NE(h, nullptr);
    Focus(h->lstHistory);
    QTest::keyClick(h->lstHistory, Qt::Key_Up);
    EXPECT_EQ(W().Current().CurrentId, 3);
    QTest::keyClick(h->lstHistory, Qt::Key_Up);
    EXPECT_EQ(W().Current().CurrentId, 2);
    QTest::keyClick(h->lstHistory, Qt::Key_Home);
    EXPECT_EQ(W().Current().CurrentId, 1);
    ExpectNavigation(false, true);
    QTest::keyClick(h->lstHistory, Qt::Key_End);
    EXPECT_EQ(W().Current().CurrentId, 4);
    EXPECT_EQ(Store().EntryCount(), 4);
    ExpectListInStep(h);
}

TEST_F(HistoryWindowTest, ShowingEntriesWhileOpenMovesTheSelection) {
    for (int id : {1, 2, 3})
        Show(id);
    frmHistory* h = OpenWithCtrlH();
    ASSERT_NE(h, nullptr);
    Activate(&W());
    Search(Name(7));
    EXPECT_EQ(h->lstHistory->count(), 4);
    EXPECT_EQ(h->lstHistory->currentRow(), 3);
    // Showing the current entry again selects its row again.
    h->lstHistory->setCurrentRow(-1);
    Show(7);
    EXPECT_EQ(h->lstHistory->currentRow(), 3);
    ExpectListInStep(h);
}

TEST_F(HistoryWindowTest, ClosingTheMainWindowClosesTheHistoryWindow) {
    Show(1);
    QPointer<frmHistory> h = OpenWithCtrlH();
    ASSERT_FALSE(h.isNull());
    W().close();
    QApplication::processEvents();
    EXPECT_TRUE(h.isNull() || !h->isVisible());
}

} // namespace
