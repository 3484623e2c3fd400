#include "HistoryFixture.h"

namespace {

using HistoryRecording = HistoryFixture;
using HistoryNavigation = HistoryFixture;
using HistoryRing = HistoryFixture;
using HistoryEmpty = HistoryFixture;

TEST_F(HistoryRecording, FirstEntryTakesSlotOneAndLeavesNavigationDisabled) {
    EXPECT_EQ(Show(7), 7);

    ExpectSlots(1, 1, 1);
    EXPECT_EQ(store.EntryCount(), 1);
    EXPECT_EQ(store.HistoryEntries()[1].EntryId, 7);
    EXPECT_EQ(store.HistoryEntries()[1].Caption, "E7");
    EXPECT_EQ(store.HistoryEntries()[0].EntryId, 0);
    EXPECT_TRUE(store.HistoryEntries()[0].Caption.isEmpty());
    EXPECT_EQ(commands.Calls, 0);
    EXPECT_FALSE(commands.BackEnabled);
    EXPECT_FALSE(commands.ForwardEnabled);
}

TEST_F(HistoryRecording, SecondEntryEnablesBackButNotForward) {
    Show(7);
    Show(8);

    ExpectSlots(1, 2, 2);
    EXPECT_TRUE(commands.BackEnabled);
    EXPECT_FALSE(commands.ForwardEnabled);
}

TEST_F(HistoryRecording, ImmediateRepeatOfTheCurrentEntryIsNotRecorded) {
    Show(7);
    EXPECT_EQ(Show(7), 7);
    EXPECT_EQ(store.EntryCount(), 1);

    Show(8);
    Show(8);
    EXPECT_EQ(RecordedCaptions(), QStringList({"E7", "E8"}));
}

TEST_F(HistoryRecording, ReturningToAnEarlierEntryIsANewVisit) {
    Show(1);
    Show(2);
    Show(1);

    EXPECT_EQ(RecordedCaptions(), QStringList({"E1", "E2", "E1"}));
    ExpectSlots(1, 3, 3);
}

TEST_F(HistoryRecording, SkipNextAddIsConsumedByTheNextAddOnly) {
    Show(1);
    Show(2);
    store.SetSkipNextAdd(true);
    ASSERT_TRUE(store.SkipNextAdd());

    EXPECT_EQ(Show(3), 3);
    EXPECT_FALSE(store.SkipNextAdd());
    EXPECT_EQ(RecordedCaptions(), QStringList({"E1", "E2"}));

    Show(3);
    EXPECT_EQ(RecordedCaptions(), QStringList({"E1", "E2", "E3"}));
}

TEST_F(HistoryRecording, IdsBelowOneAreNeverRecorded) {
    EXPECT_EQ(Show(0), 0);
    EXPECT_TRUE(store.IsEmpty());

    Show(4);
    Show(-2);
    EXPECT_EQ(RecordedCaptions(), QStringList({"E4"}));
    ExpectSlots(1, 1, 1);
}

TEST_F(HistoryNavigation, GoCommandsMoveThePositionWithoutRecording) {
    ShowRange(1, 4);

    EXPECT_EQ(Go(Op::GoBack), 3);
    ExpectSlots(1, 3, 4);
    EXPECT_TRUE(commands.BackEnabled);
    EXPECT_TRUE(commands.ForwardEnabled);

    EXPECT_EQ(Go(Op::GoFirst), 1);
    ExpectSlots(1, 1, 4);
    EXPECT_FALSE(commands.BackEnabled);
    EXPECT_TRUE(commands.ForwardEnabled);

    EXPECT_EQ(Go(Op::GoForward), 2);
    EXPECT_EQ(Go(Op::GoLast), 4);
    ExpectSlots(1, 4, 4);
    EXPECT_TRUE(commands.BackEnabled);
    EXPECT_FALSE(commands.ForwardEnabled);

    EXPECT_EQ(RecordedCaptions(), Captions(1, 4));
    EXPECT_FALSE(store.SkipNextAdd());
}

TEST_F(HistoryNavigation, NavigateSetsSkipNextAddForTheEchoOfTheEntryItAnswers) {
    ShowRange(1, 2);

    EXPECT_EQ(store.Navigate(Op::GoBack), 1);
    EXPECT_TRUE(store.SkipNextAdd());
    Show(1);
    EXPECT_FALSE(store.SkipNextAdd());
    EXPECT_EQ(store.EntryCount(), 2);
}

TEST_F(HistoryNavigation, BackAtOldestAndForwardAtNewestReturnTheCurrentEntry) {
    ShowRange(1, 2);

    EXPECT_EQ(Go(Op::GoBack), 1);
    EXPECT_EQ(Go(Op::GoBack), 1);
    ExpectSlots(1, 1, 2);

    EXPECT_EQ(Go(Op::GoForward), 2);
    EXPECT_EQ(Go(Op::GoForward), 2);
    ExpectSlots(1, 2, 2);
    EXPECT_EQ(RecordedCaptions(), QStringList({"E1", "E2"}));
    EXPECT_FALSE(store.SkipNextAdd());
}

TEST_F(HistoryNavigation, GoingToTheFirstOfASingleEntryShowsItAgainAndChangesNothing) {
    Show(5);

    EXPECT_EQ(Go(Op::GoFirst), 5);
    EXPECT_EQ(Go(Op::GoLast), 5);
    ExpectSlots(1, 1, 1);
    EXPECT_EQ(store.EntryCount(), 1);
    EXPECT_EQ(commands.Calls, 0);
}

TEST_F(HistoryNavigation, GoToSlotMovesToARecordedSlot) {
    ShowRange(1, 3);

    EXPECT_EQ(store.Navigate(Op::GoToSlot, 2), 2);
    EXPECT_TRUE(store.SkipNextAdd());
    ExpectSlots(1, 2, 3);
    EXPECT_TRUE(commands.BackEnabled);
    EXPECT_TRUE(commands.ForwardEnabled);
}

TEST_F(HistoryNavigation, GoToSlotBelowOneAnswersZeroAndMovesNothing) {
    ShowRange(1, 3);

    qint32 slot = 0;
    EXPECT_EQ(store.HistoryAction(Op::GoToSlot, slot, QString()), 0);
    EXPECT_EQ(store.Navigate(Op::GoToSlot, -4), 0);
    ExpectSlots(1, 3, 3);
    EXPECT_FALSE(store.SkipNextAdd());
}

TEST_F(HistoryNavigation, GoToSlotNamingNoRecordedEntryAnswersZeroAndMovesNothing) {
    ShowRange(1, 4);
    GoBack(2);
    Show(9); // slot 4 is dropped again

    for (qint32 slot : {4, 5, 100, 101, 32767, 70000}) {
        EXPECT_EQ(store.Navigate(Op::GoToSlot, slot), 0) << slot;
        ExpectSlots(1, 3, 3);
        EXPECT_FALSE(store.SkipNextAdd());
    }
    Show(10);
    EXPECT_EQ(RecordedCaptions(), QStringList({"E1", "E2", "E9", "E10"}));
}

TEST_F(HistoryNavigation, VisitAfterGoingBackDropsTheEntriesThatFollowed) {
    ShowRange(1, 4);
    GoBack(2);

    Show(9);
    ExpectSlots(1, 3, 3);
    EXPECT_EQ(RecordedCaptions(), QStringList({"E1", "E2", "E9"}));
    EXPECT_TRUE(commands.BackEnabled);
    EXPECT_FALSE(commands.ForwardEnabled);
    EXPECT_EQ(Go(Op::GoForward), 9);
}

TEST_F(HistoryNavigation, TheEntryThatUsedToFollowIsRecordedAgainAfterGoingBack) {
    ShowRange(1, 3);
    GoBack(2);

    Show(2);
    EXPECT_EQ(RecordedCaptions(), QStringList({"E1", "E2"}));
    ExpectSlots(1, 2, 2);
    EXPECT_FALSE(commands.ForwardEnabled);
}

TEST_F(HistoryRing, HundredFirstEntryReplacesTheOldest) {
    ShowRange(1, 100);
    ExpectSlots(1, 100, 100);
    EXPECT_EQ(store.EntryCount(), 100);

    Show(101);
    ExpectSlots(2, 1, 1);
    EXPECT_EQ(store.EntryCount(), 100);
    EXPECT_EQ(store.HistoryEntries()[1].EntryId, 101);
    EXPECT_EQ(RecordedCaptions(), Captions(2, 101));
    EXPECT_EQ(store.HistoryEntries()[0].EntryId, 0);
}

TEST_F(HistoryRing, BackAndForwardFollowTheWrapOfSlotNumbers) {
    ShowRange(1, 101);

    EXPECT_EQ(Go(Op::GoBack), 100);
    ExpectSlots(2, 100, 1);
    EXPECT_TRUE(commands.ForwardEnabled);
    EXPECT_TRUE(commands.BackEnabled);

    EXPECT_EQ(Go(Op::GoForward), 101);
    ExpectSlots(2, 1, 1);
    EXPECT_FALSE(commands.ForwardEnabled);

    EXPECT_EQ(Go(Op::GoFirst), 2);
    EXPECT_FALSE(commands.BackEnabled);
    EXPECT_EQ(Go(Op::GoBack), 2);
    ExpectSlots(2, 2, 1);
    EXPECT_EQ(Go(Op::GoLast), 101);
    EXPECT_EQ(Go(Op::GoForward), 101);
    ExpectSlots(2, 1, 1);
}

TEST_F(HistoryRing, ManyLapsKeepTheLastHundredEntries) {
    // Crosses both kinds of wrap: the current slot from 100 to 1 and the oldest from 100 to 1.
    for (qint32 id = 1; id <= 350; ++id) {
        Show(id);
        ASSERT_EQ(store.EntryCount(), qMin(id, 100)) << id;
    }
    ExpectSlots(51, 50, 50);
    EXPECT_EQ(RecordedCaptions(), Captions(251, 350));
}

TEST_F(HistoryRing, TruncationAfterAWrapKeepsTheOldestAndShortensTheRun) {
    ShowRange(1, 130); // entries 101..130 lie in slots 1..30, 31..100 in slots 31..100
    ExpectSlots(31, 30, 30);

    GoBack(40);
    ExpectSlots(31, 90, 30);
    Show(500);

    ExpectSlots(31, 91, 91);
    EXPECT_EQ(store.EntryCount(), 61);
    EXPECT_EQ(RecordedCaptions(), Captions(31, 90) << "E500");
    EXPECT_FALSE(commands.ForwardEnabled);
    EXPECT_EQ(store.Navigate(Op::GoToSlot, 5), 0);
}

TEST_F(HistoryEmpty, NavigationAnswersZeroAndTheNextVisitIsRecorded) {
    for (Op op : {Op::GoFirst, Op::GoBack, Op::GoForward, Op::GoLast}) {
        EXPECT_EQ(store.Navigate(op), 0);
        ExpectSlots(0, 0, 0);
        EXPECT_FALSE(store.SkipNextAdd());
    }
    EXPECT_EQ(store.Navigate(Op::GoToSlot, 1), 0);
    EXPECT_FALSE(store.SkipNextAdd());
    EXPECT_EQ(commands.Calls, 0);

    Show(7);
    ExpectSlots(1, 1, 1);
}

TEST_F(HistoryEmpty, SkipRequestIsIgnoredWhileTheHistoryIsEmpty) {
    // The caller's pattern: set the flag, ask the store, show what it answers (nothing here).
    store.SetSkipNextAdd(true);
    qint32 none = 0;
    EXPECT_EQ(store.HistoryAction(Op::GoBack, none, QString()), 0);
    EXPECT_FALSE(store.SkipNextAdd());

    Show(7);
    EXPECT_EQ(RecordedCaptions(), QStringList({"E7"}));
}

TEST_F(HistoryEmpty, StoreWithoutWindowsWorks) {
    History::HistoryStore bare;
    qint32 none = 0;
    EXPECT_EQ(bare.HistoryAction(HistoryFixture::Op::ToggleWindow, none, QString()), 0);
    EXPECT_FALSE(bare.IsHistoryWindowOpen());

    qint32 id = 3;
    EXPECT_EQ(bare.HistoryAction(HistoryFixture::Op::Add, id, "E3"), 3);
    id = 4;
    bare.HistoryAction(HistoryFixture::Op::Add, id, "E4");
    EXPECT_EQ(bare.Navigate(HistoryFixture::Op::GoBack), 3);
    EXPECT_EQ(bare.CurrentSlot(), 1);
}

TEST_F(HistoryEmpty, ResetEmptiesTheHistoryAndDisablesNavigation) {
    ShowRange(1, 3);
    Go(Op::GoBack);
    ToggleWindow();
    ASSERT_TRUE(commands.BackEnabled && commands.ForwardEnabled);

    store.Reset();
    ExpectSlots(0, 0, 0);
    EXPECT_EQ(store.EntryCount(), 0);
    EXPECT_EQ(store.HistoryEntries()[2].EntryId, 0);
    EXPECT_FALSE(commands.BackEnabled);
    EXPECT_FALSE(commands.ForwardEnabled);
    EXPECT_EQ(window.List.RowCount(), 0);

    Show(8);
    ExpectSlots(1, 1, 1);
    EXPECT_EQ(window.List.Captions(), QStringList({"E8"}));
}

TEST_F(HistoryEmpty, AttachingNavigationCommandsLaterReceivesTheCurrentState) {
    History::HistoryStore late;
    qint32 id = 1;
    late.HistoryAction(Op::Add, id, "E1");
    id = 2;
    late.HistoryAction(Op::Add, id, "E2");

    FakeNavigationCommands attached;
    late.SetNavigationCommands(&attached);
    EXPECT_TRUE(attached.BackEnabled);
    EXPECT_FALSE(attached.ForwardEnabled);
}

TEST_F(HistoryNavigation, GoAndShowLeavesNoFlagWhateverTheShowingDoes) {
    ShowRange(1, 3);
    QList<qint32> shown;
    // The usual trip: the entry landed on is shown once, and that visit is not recorded.
    EXPECT_EQ(store.GoAndShow(Op::GoBack, 0, [&](qint32 id) { shown << Show(id); }), 2);
    EXPECT_EQ(shown, QList<qint32>{2});
    EXPECT_FALSE(store.SkipNextAdd());
    EXPECT_EQ(RecordedCaptions(), Captions(1, 3));

    // A showing that never reaches the history must not leave the next visit unrecorded.
    EXPECT_EQ(store.GoAndShow(Op::GoBack, 0, [](qint32) {}), 1);
    EXPECT_FALSE(store.SkipNextAdd());
    Show(9);
    EXPECT_EQ(RecordedCaptions(), (QStringList{"E1", "E9"}));

    // A showing that reports its entry twice records it no more than once.
    store.GoAndShow(Op::GoFirst, 0, [&](qint32 id) {
        Show(id);
        Show(id);
    });
    EXPECT_EQ(RecordedCaptions(), (QStringList{"E1", "E9"}));
    EXPECT_EQ(store.CurrentSlot(), store.OldestSlot());

    // Nowhere to go: nothing is shown and nothing is flagged.
    bool called = false;
    EXPECT_EQ(store.GoAndShow(Op::GoToSlot, 77, [&](qint32) { called = true; }), 0);
    EXPECT_FALSE(called);
    EXPECT_FALSE(store.SkipNextAdd());
}

TEST(HistoryModule, ModuleProceduresWorkOnTheProgramsOneStore) {
    using History::HistoryOp;
    History::HistoryStore& store = History::Store();
    EXPECT_EQ(&store, &History::Store());
    store.Reset();

    qint32 id = 11;
    EXPECT_EQ(History::HistoryAction(HistoryOp::Add, id, "E11"), 11);
    id = 12;
    History::HistoryAction(HistoryOp::Add, id, "E12");
    EXPECT_EQ(store.NewestSlot(), 2);

    EXPECT_EQ(History::Navigate(HistoryOp::GoBack), 11);
    EXPECT_TRUE(store.SkipNextAdd());
    EXPECT_EQ(store.CurrentSlot(), 1);

    store.Reset();
}

} // namespace
