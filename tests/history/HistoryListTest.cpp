#include "HistoryFixture.h"

#include <algorithm>

namespace {

class HistoryWindowList : public HistoryFixture {
protected:
    FakeHistoryList& List() { return window.List; }

    // The list mirrors the ring exactly: same entries in the same order, each row carrying its
    // slot, the current entry's row selected, and no selection made by the code was mistaken
    // for the user's.
    void ExpectListInStep() {
        EXPECT_EQ(List().Captions(), RecordedCaptions());
        EXPECT_EQ(List().Slots(), store.RecordedSlots());
        EXPECT_EQ(List().SelectedRow(), store.CurrentRowIndex());
        EXPECT_FALSE(List().SelectList);
        EXPECT_EQ(List().StrayClicks, 0);
    }
};

TEST_F(HistoryWindowList, OpeningListsTheRecordedEntriesBeforeShowing) {
    ShowRange(1, 3);
    Go(Op::GoBack);

    ToggleWindow();
    ASSERT_TRUE(window.Open);
    EXPECT_TRUE(store.IsHistoryWindowOpen());
    EXPECT_TRUE(window.Shown);
    EXPECT_EQ(window.RowsWhenShown, 3);
    EXPECT_EQ(List().Captions(), Captions(1, 3));
    EXPECT_EQ(List().Slots(), QList<qint16>({1, 2, 3}));
    EXPECT_EQ(List().SelectedRow(), 1);
    ExpectListInStep();

    ToggleWindow();
    EXPECT_FALSE(window.Open);
    EXPECT_FALSE(store.IsHistoryWindowOpen());
}

TEST_F(HistoryWindowList, OpeningWithAnEmptyHistoryShowsAnEmptyListWithoutSelection) {
    ToggleWindow();

    EXPECT_TRUE(window.Shown);
    EXPECT_EQ(List().RowCount(), 0);
    EXPECT_EQ(List().SelectedRow(), -1);
    EXPECT_EQ(List().SelectRowCalls, 0);
}

TEST_F(HistoryWindowList, VisitsAppendRowsAndSelectTheNewest) {
    ToggleWindow();
    ShowRange(1, 3);

    EXPECT_EQ(List().Captions(), Captions(1, 3));
    EXPECT_EQ(List().SelectedRow(), 2);
    EXPECT_EQ(List().SelectListWhenSelecting, QList<bool>({true, true, true}));
    ExpectListInStep();
}

TEST_F(HistoryWindowList, RepeatOfTheCurrentEntrySelectsItsRowAgain) {
    ToggleWindow();
    ShowRange(1, 2);
    List().UserSelects(-1);

    Show(2);
    EXPECT_EQ(List().RowCount(), 2);
    EXPECT_EQ(List().SelectedRow(), 1);
    ExpectListInStep();
}

TEST_F(HistoryWindowList, SelectingTheAlreadySelectedRowLeavesNoFlagBehind) {
    ToggleWindow();
    ShowRange(1, 2);
    const int callsBefore = List().SelectRowCalls;

    Show(2); // the row is already selected, so the list reports no change
    EXPECT_EQ(List().SelectRowCalls, callsBefore + 1);
    EXPECT_FALSE(List().SelectList);
}

TEST_F(HistoryWindowList, NavigationMovesTheSelectionWithoutChangingRows) {
    ToggleWindow();
    ShowRange(1, 3);

    Go(Op::GoBack);
    EXPECT_EQ(List().SelectedRow(), 1);
    Go(Op::GoFirst);
    EXPECT_EQ(List().SelectedRow(), 0);
    Go(Op::GoLast);
    EXPECT_EQ(List().SelectedRow(), 2);
    EXPECT_EQ(List().Captions(), Captions(1, 3));
    ExpectListInStep();
}

TEST_F(HistoryWindowList, UserClickOnAnOlderRowMovesThereAndRecordsNothing) {
    ToggleWindow();
    ShowRange(1, 3);

    // The window's click handler: the row's slot goes to the store, the answer to the view.
    List().UserSelects(0);
    EXPECT_EQ(Go(Op::GoToSlot, List().Rows[0].Slot), 1);

    ExpectSlots(1, 1, 3);
    EXPECT_EQ(List().SelectedRow(), 0);
    EXPECT_FALSE(commands.BackEnabled);
    EXPECT_TRUE(commands.ForwardEnabled);
    ExpectListInStep();
}

TEST_F(HistoryWindowList, VisitAfterGoingBackRemovesTheRowsBelowTheSelection) {
    ToggleWindow();
    ShowRange(1, 4);
    GoBack(2);
    ASSERT_EQ(List().SelectedRow(), 1);

    Show(9);
    EXPECT_EQ(List().Captions(), QStringList({"E1", "E2", "E9"}));
    EXPECT_EQ(List().Slots(), QList<qint16>({1, 2, 3}));
    EXPECT_EQ(List().SelectedRow(), 2);
    EXPECT_FALSE(commands.ForwardEnabled);
    ExpectListInStep();
}

TEST_F(HistoryWindowList, VisitWithNoRowSelectedKeepsTheOlderRows) {
    ToggleWindow();
    ShowRange(1, 4);
    Go(Op::GoBack);
    List().UserSelects(-1);

    Show(9);
    EXPECT_EQ(List().Captions(), QStringList({"E1", "E2", "E3", "E9"}));
    ExpectListInStep();
}

TEST_F(HistoryWindowList, VisitWithNoRowSelectedInAFullRingDropsOnlyTheOldestRow) {
    ToggleWindow();
    ShowRange(1, 150); // oldest slot 51, current slot 50: the next visit replaces the oldest
    List().UserSelects(-1);

    Show(151);
    EXPECT_EQ(List().Captions(), Captions(52, 151));
    ExpectListInStep();

    ShowRange(152, 200); // current slot 100, oldest slot 1: the next visit wraps the current slot
    List().UserSelects(-1);
    Show(201);
    EXPECT_EQ(List().Captions(), Captions(102, 201));
    ExpectListInStep();
}

TEST_F(HistoryWindowList, ListNeverHoldsMoreThanHundredRows) {
    ToggleWindow();
    for (qint32 id = 1; id <= 250; ++id) {
        Show(id);
        ASSERT_LE(List().RowCount(), 100) << id;
        ASSERT_EQ(List().Captions(), RecordedCaptions()) << id;
        ASSERT_EQ(List().SelectedRow(), store.CurrentRowIndex()) << id;
    }
    EXPECT_EQ(List().RowCount(), 100);
    EXPECT_EQ(List().Captions(), Captions(151, 250));
    EXPECT_EQ(List().SelectedRow(), 99);
    ExpectListInStep();
}

TEST_F(HistoryWindowList, TruncationAfterAWrapKeepsTheListInStep) {
    ToggleWindow();
    ShowRange(1, 130);
    GoBack(40);

    Show(500);
    EXPECT_EQ(List().RowCount(), 61);
    EXPECT_EQ(List().Captions(), Captions(31, 90) << "E500");
    ExpectListInStep();

    ShowRange(501, 540); // fills the ring again and replaces its oldest entry
    EXPECT_EQ(List().RowCount(), 100);
    ExpectListInStep();
}

TEST_F(HistoryWindowList, ReopeningAfterAWrapAndATruncationListsOldestToNewest) {
    ShowRange(1, 130);
    GoBack(40);
    Show(500);
    ShowRange(501, 540);
    ExpectSlots(32, 31, 31);

    ToggleWindow();
    const QStringList expected = Captions(32, 90) + Captions(500, 540);
    EXPECT_EQ(List().Captions(), expected);
    EXPECT_EQ(List().Slots().front(), 32);
    EXPECT_EQ(List().Slots().back(), 31);
    EXPECT_EQ(List().SelectedRow(), 99);
    ExpectListInStep();

    GoBack(3);
    ToggleWindow();
    ToggleWindow();
    EXPECT_EQ(List().Captions(), expected);
    EXPECT_EQ(List().SelectedRow(), 96);
    ExpectListInStep();
}

TEST_F(HistoryWindowList, FillHistoryListReplacesWhateverTheListHeld) {
    ShowRange(1, 3);
    FakeHistoryList list;
    list.AppendRow("stale", 42);
    list.UserSelects(0);

    store.FillHistoryList(list);
    EXPECT_EQ(list.Captions(), Captions(1, 3));
    EXPECT_EQ(list.SelectedRow(), 2);
    EXPECT_FALSE(list.SelectList);
    EXPECT_EQ(list.StrayClicks, 0);
}

TEST_F(HistoryWindowList, RemoveRowsAfterSelectionKeepsRowsUpToTheSelectedOne) {
    FakeHistoryList list;
    for (qint16 slot = 1; slot <= 5; ++slot)
        list.AppendRow(CaptionOf(slot), slot);

    list.UserSelects(-1);
    store.RemoveRowsAfterSelection(list);
    EXPECT_EQ(list.RowCount(), 5);

    list.UserSelects(1);
    store.RemoveRowsAfterSelection(list);
    EXPECT_EQ(list.Captions(), Captions(1, 2));
    EXPECT_EQ(list.SelectedRow(), 1);
}

} // namespace
