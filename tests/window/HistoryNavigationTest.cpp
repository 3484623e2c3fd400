// First, back, forward and last through the real window: toolbar, Go menu and Alt+arrows.
#include "EntryFixtures.h"

#include <QKeyEvent>
#include <functional>

namespace {

class HistoryNavigationTest : public EntryWindowTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(Start(linked_.Dir()));
        Focus(C().txtSearchKey);
    }
    void VisitAll() {
        for (qint32 id : {linked_.cpu, linked_.ram, linked_.alu, linked_.gpu})
            Show(id);
        ASSERT_EQ(HistoryCaptions(), (QStringList{"CPU", "RAM", "ALU", "GPU"}));
    }
    void AltKey(Qt::Key key, Qt::KeyboardModifiers more = {}) {
        QTest::keyClick(QApplication::focusWidget(), key, Qt::AltModifier | more);
        QApplication::processEvents();
    }
    void ClickToolbar(const char* key) {
        QToolButton* button = ToolbarWidget(key);
        ASSERT_NE(button, nullptr) << key;
        ASSERT_TRUE(button->isEnabled()) << key;
        QTest::mouseClick(button, Qt::LeftButton);
        QApplication::processEvents();
    }

    struct State {
        qint32 id;
        qint16 slot;
        int entries;
        QString caption;
        friend bool operator==(const State&, const State&) = default;
    };
    State Now() {
        return {W().Current().CurrentId, Store().CurrentSlot(), Store().EntryCount(),
                W().windowTitle()};
    }

    LinkedDictionary linked_;
};

TEST_F(HistoryNavigationTest, ToolbarMenuAndKeysGiveTheSameResult) {
    VisitAll();
    ExpectNavigation(true, false);
    using Step = std::function<void()>;
    const std::pair<const char*, std::array<Step, 3>> moves[] = {
        {"back",
         {[&] { ClickToolbar("Left"); }, [&] { C().mnuGoItem[1]->trigger(); },
          [&] { AltKey(Qt::Key_Left); }}},
        {"first",
         {[&] { C().mnuGoItem[0]->trigger(); }, [&] { AltKey(Qt::Key_Up); },
          [&] { AltKey(Qt::Key_Up); }}},
    };
    for (const auto& [name, ways] : moves) {
        std::vector<State> results;
        for (const Step& way : ways) {
            C().mnuGoItem[3]->trigger(); // from the newest entry each time
            ASSERT_EQ(W().Current().CurrentId, linked_.gpu);
            way();
            results.push_back(Now());
        }
        EXPECT_EQ(results[0], results[1]) << name;
        EXPECT_EQ(results[0], results[2]) << name;
        EXPECT_EQ(results[0].entries, 4) << name << ": navigation records nothing";
    }

    // Forward and last, from the oldest entry each time.
    const std::pair<const char*, std::array<Step, 3>> forward[] = {
        {"forward",
         {[&] { ClickToolbar("Right"); }, [&] { C().mnuGoItem[2]->trigger(); },
          [&] { AltKey(Qt::Key_Right); }}},
        {"last",
         {[&] { C().mnuGoItem[3]->trigger(); }, [&] { AltKey(Qt::Key_Down); },
          [&] { AltKey(Qt::Key_Down); }}},
    };
    for (const auto& [name, ways] : forward) {
        std::vector<State> results;
        for (const Step& way : ways) {
            C().mnuGoItem[0]->trigger();
            ASSERT_EQ(W().Current().CurrentId, linked_.cpu);
            way();
            results.push_back(Now());
        }
        EXPECT_EQ(results[0], results[1]) << name;
        EXPECT_EQ(results[0], results[2]) << name;
    }
    EXPECT_EQ(W().Current().CurrentId, linked_.gpu);
    EXPECT_EQ(HistoryCaptions(), (QStringList{"CPU", "RAM", "ALU", "GPU"}));
}

TEST_F(HistoryNavigationTest, EachMoveShowsTheEntryAndSetsTheCommands) {
    VisitAll();
    ClickToolbar("Left");
    EXPECT_EQ(W().windowTitle(), QStringLiteral("Tessarine 2000 - [ALU]"));
    EXPECT_EQ(Texts(C().lstLink), (QStringList{"ALU", "CPU"}));
    ExpectNavigation(true, true);
    C().mnuGoItem[0]->trigger();
    EXPECT_EQ(W().Current().CurrentId, linked_.cpu);
    ExpectNavigation(false, true);
    // Back at the oldest entry moves nothing and shows it again.
    C().pbxDescription->Cls();
    AltKey(Qt::Key_Left);
    EXPECT_EQ(W().Current().CurrentId, linked_.cpu);
    EXPECT_FALSE(C().pbxDescription->Drawing().empty());
    ExpectNavigation(false, true);
    AltKey(Qt::Key_Down);
    EXPECT_EQ(W().Current().CurrentId, linked_.gpu);
    ExpectNavigation(true, false);
    EXPECT_EQ(Store().EntryCount(), 4);
}

TEST_F(HistoryNavigationTest, NewVisitAfterGoingBackDropsTheEntriesThatFollowed) {
    VisitAll();
    C().mnuGoItem[1]->trigger();
    C().mnuGoItem[1]->trigger();
    ASSERT_EQ(W().Current().CurrentId, linked_.ram);
    ClickRow(C().lstLink, 1); // RAM's related word: CPU
    EXPECT_EQ(HistoryCaptions(), (QStringList{"CPU", "RAM", "CPU"}));
    ExpectNavigation(true, false);
}

TEST_F(HistoryNavigationTest, AltUpWithOneEntryShowsItAgainAndRecordsNothing) {
    Show(linked_.cpu);
    ExpectNavigation(false, false);
    C().pbxDescription->Cls();
    AltKey(Qt::Key_Up);
    EXPECT_EQ(W().Current().CurrentId, linked_.cpu);
    EXPECT_FALSE(C().pbxDescription->Drawing().empty()) << "shown again";
    EXPECT_EQ(HistoryCaptions(), QStringList{"CPU"});
    ExpectNavigation(false, false);
    // The next real visit is recorded: the navigation left no pending skip behind.
    Show(linked_.ram);
    EXPECT_EQ(HistoryCaptions(), (QStringList{"CPU", "RAM"}));
}

TEST_F(HistoryNavigationTest, AltArrowsOnAnEmptyHistoryChangeNothing) {
    for (Qt::Key key : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down})
        AltKey(key);
    EXPECT_EQ(W().Current().CurrentId, 0);
    EXPECT_EQ(W().windowTitle(), QStringLiteral("Tessarine 2000"));
    EXPECT_TRUE(Store().IsEmpty());
    Show(linked_.cpu);
    EXPECT_EQ(HistoryCaptions(), QStringList{"CPU"});
}

TEST_F(HistoryNavigationTest, OtherModifiersBesideAltStillNavigate) {
    VisitAll();
    AltKey(Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(W().Current().CurrentId, linked_.alu);
    AltKey(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(W().Current().CurrentId, linked_.cpu);
}

TEST_F(HistoryNavigationTest, ArrowsWithoutAltAreLeftToTheControl) {
    VisitAll();
    C().txtSearchKey->setText(QStringLiteral("abc"));
    Focus(C().txtSearchKey);
    C().txtSearchKey->setCursorPosition(3);
    QTest::keyClick(C().txtSearchKey, Qt::Key_Left);
    EXPECT_EQ(C().txtSearchKey->cursorPosition(), 2);
    QTest::keyClick(C().txtSearchKey, Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(W().Current().CurrentId, linked_.gpu);
    EXPECT_EQ(Store().CurrentSlot(), 4);

    // In the result list the arrows move the selection and so show the line's entry.
    Search(QStringLiteral("?PU"));
    ASSERT_EQ(W().Current().CurrentId, linked_.cpu);
    QTest::keyClick(C().lstDbList, Qt::Key_Down);
    EXPECT_EQ(C().lstDbList->currentRow(), 1);
    EXPECT_EQ(W().Current().CurrentId, linked_.gpu);
}

// The history keys act alone: the focused control never takes the arrow as well, which in a list
// would move the selection and show, and record, another entry.
TEST_F(HistoryNavigationTest, AltArrowsReachOnlyTheHistoryCommandInEveryControl) {
    const std::pair<const char*, QWidget*> controls[] = {
        {"abbreviation field", C().txtSearchKey}, {"spelled-out field", C().txtLetter},
        {"category list", C().cmbCategory},       {"result list", C().lstDbList},
        {"related words", C().lstLink},
    };
    for (const auto& [name, control] : controls) {
        SCOPED_TRACE(name);
        // Four visits through the result list, as a user makes them with the arrow keys.
        Search(QStringLiteral("*"));
        ASSERT_EQ(C().lstDbList->count(), 4);
        Focus(C().lstDbList);
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(C().lstDbList, Qt::Key_Down);
        QApplication::processEvents();
        const QStringList visits = HistoryCaptions();
        const int entries = Store().EntryCount();
        const qint32 newest = W().Current().CurrentId;
        const int row = C().lstDbList->currentRow();
        const int relatedRow = C().lstLink->currentRow();
        Focus(control);

        AltKey(Qt::Key_Up);
        EXPECT_EQ(Store().CurrentSlot(), Store().OldestSlot());
        EXPECT_EQ(W().windowTitle(), QStringLiteral("Tessarine 2000 - [%1]").arg(visits.first()));
        AltKey(Qt::Key_Right);
        EXPECT_EQ(W().windowTitle(), QStringLiteral("Tessarine 2000 - [%1]").arg(visits[1]));
        AltKey(Qt::Key_Down);
        EXPECT_EQ(W().Current().CurrentId, newest);
        AltKey(Qt::Key_Left);
        EXPECT_EQ(W().windowTitle(),
                  QStringLiteral("Tessarine 2000 - [%1]").arg(visits[visits.size() - 2]));
        AltKey(Qt::Key_Down);

        EXPECT_EQ(HistoryCaptions(), visits) << "the keys recorded or dropped visits";
        EXPECT_EQ(Store().EntryCount(), entries);
        EXPECT_EQ(W().Current().CurrentId, newest);
        EXPECT_EQ(QApplication::focusWidget(), control);
        if (control == C().lstDbList) {
            EXPECT_EQ(C().lstDbList->currentRow(), row);
        } else if (control == C().lstLink) {
            EXPECT_EQ(C().lstLink->currentRow(), relatedRow);
        } else if (control == C().cmbCategory) {
            EXPECT_FALSE(C().cmbCategory->view()->isVisible()) << "Alt+Down opened the list";
        }
    }
}

} // namespace
