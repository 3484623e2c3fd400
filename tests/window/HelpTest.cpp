// Help from the real window: F1 on each control, the contents and search commands, and a help
// file that is missing.
#include "EntryFixtures.h"

#include "auxiliary/HelpViewer.h"

#include <QFileInfo>
#include <QMenu>
#include <QTabWidget>

namespace {

class HelpTest : public EntryWindowTest {
protected:
    static HelpViewer* Viewer() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* viewer = qobject_cast<HelpViewer*>(w); viewer && viewer->isVisible())
                return viewer;
        return nullptr;
    }
    static bool HelpFileBuilt() {
        return QFileInfo(BundledDir() + QStringLiteral("/Abbr.hlp")).isFile();
    }

    // The controls with their own help topic, and the page each topic is about.
    struct Topic {
        QWidget* control;
        int number;
        const char* page;
    };
    std::vector<Topic> Topics() {
        return {{C().txtSearchKey, 2, "abbreviation-field.html"},
                {C().txtLetter, 3, "spelled-out-field.html"},
                {C().cmbCategory, 4, "category-list.html"},
                {C().lstLink, 5, "related-words.html"},
                {C().pbxDescription, 6, "description.html"},
                {C().lstDbList, 7, "result-list.html"}};
    }

    // What the help commands must leave alone.
    struct View {
        qint32 id;
        QString caption, drawn;
        QStringList results, related, history;
        qint16 slot;
        friend bool operator==(const View&, const View&) = default;
    };
    View Take() {
        return {W().Current().CurrentId, W().windowTitle(),  DrawnText(),
                Texts(C().lstDbList),    Texts(C().lstLink), HistoryCaptions(),
                Store().CurrentSlot()};
    }
};

TEST_F(HelpTest, EachControlNamesItsOwnTopic) {
    ASSERT_TRUE(Start());
    Search(QStringLiteral("cpu"));
    for (const Topic& t : Topics()) {
        Focus(t.control);
        EXPECT_EQ(W().HelpTopicForFocus(), t.number) << t.page;
    }
}

TEST_F(HelpTest, F1OpensTheTopicOfTheFocusedControl) {
    if (!HelpFileBuilt())
        GTEST_SKIP() << "Abbr.hlp has not been built beside the program";
    ASSERT_TRUE(Start());
    Search(QStringLiteral("cpu"));
    for (const Topic& t : Topics()) {
        Focus(t.control);
        QTest::keyClick(t.control, Qt::Key_F1);
        QApplication::processEvents();
        HelpViewer* viewer = Viewer();
        ASSERT_NE(viewer, nullptr) << t.page;
        ASSERT_TRUE(viewer->IsUsable()) << qPrintable(viewer->ErrorText());
        EXPECT_EQ(viewer->CurrentUrl().fileName(), QString::fromLatin1(t.page)) << t.number;
    }
    EXPECT_TRUE(messages_.boxes.isEmpty());
}

TEST_F(HelpTest, F1OverAnOpenMenuOpensTheMenusTopic) {
    if (!HelpFileBuilt())
        GTEST_SKIP() << "Abbr.hlp has not been built beside the program";
    ASSERT_TRUE(Start());
    C().mnuEdit->popup(W().mapToGlobal(QPoint(20, 20)));
    QApplication::processEvents();
    C().mnuEdit->setActiveAction(C().mnuEditPaste);
    QTest::keyClick(C().mnuEdit, Qt::Key_F1);
    QApplication::processEvents();
    EXPECT_FALSE(C().mnuEdit->isVisible());
    HelpViewer* viewer = Viewer();
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(viewer->CurrentUrl().fileName(), QStringLiteral("menu-edit.html"));
}

TEST_F(HelpTest, ContentsAndSearchLeaveTheEntryViewListsAndHistoryAlone) {
    ASSERT_TRUE(Start());
    Search(QStringLiteral("cpu"));
    ClickRow(C().lstLink, 1);
    const View before = Take();
    ASSERT_GT(before.history.size(), 1);

    C().mnuHelpContents->trigger();
    QApplication::processEvents();
    HelpViewer* viewer = Viewer();
    ASSERT_NE(viewer, nullptr);
    if (viewer->IsUsable()) {
        EXPECT_EQ(viewer->Tabs()->currentIndex(), 0) << "the contents";
    }
    EXPECT_EQ(Take(), before);

    C().mnuHelpSearch->trigger();
    QApplication::processEvents();
    EXPECT_EQ(Viewer(), viewer) << "one help window serves both";
    if (viewer->IsUsable()) {
        EXPECT_EQ(viewer->Tabs()->currentIndex(), 1) << "the keyword search";
        auto* filter = viewer->findChild<QLineEdit*>(QStringLiteral("helpIndexFilter"));
        ASSERT_NE(filter, nullptr);
        EXPECT_TRUE(filter->text().isEmpty()) << "no keyword filled in";
    }
    EXPECT_EQ(Take(), before);
    EXPECT_TRUE(C().mnuEditCopy->isEnabled());
    EXPECT_TRUE(messages_.boxes.isEmpty());
}

TEST_F(HelpTest, MissingHelpFileIsReportedInTheHelpWindow) {
    LinkedDictionary linked; // a directory without a help file
    ASSERT_TRUE(Start(linked.Dir()));
    Show(linked.cpu);
    const View before = Take();

    W().mnuHelpContents_Click();
    QApplication::processEvents();
    HelpViewer* viewer = Viewer();
    ASSERT_NE(viewer, nullptr);
    EXPECT_FALSE(viewer->IsUsable());
    EXPECT_TRUE(viewer->ErrorText().contains(QStringLiteral("Abbr.hlp")));
    EXPECT_TRUE(viewer->ErrorText().contains(QStringLiteral("見つかりません")));
    EXPECT_TRUE(messages_.boxes.isEmpty()) << "reported in the window, not in a box";

    // The other ways into the help behave the same and nothing else changes.
    W().mnuHelpSearch_Click();
    Focus(C().lstLink);
    QTest::keyClick(C().lstLink, Qt::Key_F1);
    QApplication::processEvents();
    EXPECT_EQ(Viewer(), viewer);
    EXPECT_EQ(Take(), before);
}

// Text that is not a database, and a database that is not a help collection (a dictionary saved
// under the help file's name): both are refused before Qt's help engine reads them.
TEST_F(HelpTest, UnreadableHelpFileIsReportedInTheHelpWindow) {
    LinkedDictionary linked;
    const QString helpFile = linked.Dir() + QStringLiteral("/Abbr.hlp");
    QFile broken(helpFile);
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("this is not a help collection");
    broken.close();
    ASSERT_TRUE(Start(linked.Dir()));
    for (int attempt = 0; attempt < 2; ++attempt) {
        W().mnuHelpContents_Click();
        QApplication::processEvents();
        HelpViewer* viewer = Viewer();
        ASSERT_NE(viewer, nullptr);
        EXPECT_FALSE(viewer->IsUsable());
        EXPECT_EQ(viewer->Engine(), nullptr);
        EXPECT_TRUE(viewer->ErrorText().contains(QStringLiteral("読み込めません")));
        EXPECT_TRUE(messages_.boxes.isEmpty());
        viewer->close();
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        ASSERT_TRUE(QFile::remove(helpFile));
        ASSERT_TRUE(QFile::copy(linked.dict->Path(), helpFile));
    }
    EXPECT_TRUE(QFileInfo(helpFile).size() > 0);
}

} // namespace
