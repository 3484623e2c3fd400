// The full-text search window in the real program: opening it, searching the bundled dictionary,
// showing a result in the main window, its keys, help and closing.
#include "ReadingFixtures.h"

#include "auxiliary/HelpViewer.h"
#include "fulltext/ExcerptDelegate.h"
#include "fulltext/frmFullText.h"

#include <QDirIterator>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTreeWidget>

namespace {

class FullTextWindowTest : public EntryWindowTest {
protected:
    void SetUp() override {
        // The index goes into a cache of the test's own, never the user's.
        previousCache_ = qgetenv("XDG_CACHE_HOME");
        qputenv("XDG_CACHE_HOME", cache_.path().toUtf8());
    }
    void TearDown() override {
        EntryWindowTest::TearDown();
        if (previousCache_.isNull())
            qunsetenv("XDG_CACHE_HOME");
        else
            qputenv("XDG_CACHE_HOME", previousCache_);
    }

    QAction* MenuItem() { return C().Find<QAction>("mnuFileFullText"); }

    frmFullText* Open() {
        MenuItem()->trigger();
        QApplication::processEvents();
        frmFullText* window = W().findChild<frmFullText*>();
        EXPECT_NE(window, nullptr);
        return window;
    }

    // Types the query, presses Enter and waits for the search to finish or be refused.
    static void SearchFor(frmFullText* window, const QString& query) {
        const QString before = window->lblStatus->text();
        window->txtQuery->setFocus();
        // Typed as an input method would commit it: the test's key events know ASCII only.
        window->txtQuery->setText(query);
        QTest::keyClick(window->txtQuery, Qt::Key_Return);
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                const QString status = window->lblStatus->text();
                return status.startsWith(QStringLiteral("検索結果 : ")) ||
                       (status != before && !status.contains(QStringLiteral("…")));
            },
            60000))
            << window->lblStatus->text().toStdString();
    }

    static QStringList Column(const QTreeWidget* list, int column) {
        QStringList texts;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            texts << list->topLevelItem(i)->text(column);
        return texts;
    }

    static QStringList IndexFiles(const QString& dir) {
        QStringList files;
        QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next();
        return files;
    }

    QTemporaryDir cache_;
    QByteArray previousCache_;
};

TEST_F(FullTextWindowTest, FileMenuOffersItAfterTheSearchWithItsOwnKey) {
    ASSERT_TRUE(Start());
    const QList<QAction*> items = C().mnuFile->actions();
    ASSERT_GE(items.size(), 2);
    EXPECT_EQ(items[0], C().mnuFileFind);
    EXPECT_EQ(items[1], MenuItem());
    EXPECT_EQ(MenuItem()->text(), QStringLiteral("解説の全文検索(&T)..."));
    EXPECT_EQ(MenuItem()->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+F")));
    EXPECT_EQ(MenuItem()->property("helpTopic").toInt(), 101);
    EXPECT_TRUE(MenuItem()->isEnabled());
    // The keys that were there keep their commands.
    EXPECT_EQ(C().mnuEditPasteSearch->shortcut(), QKeySequence(QStringLiteral("Ctrl+F")));
}

TEST_F(FullTextWindowTest, OneWindowAtATimeOpenedByMenuOrKey) {
    ASSERT_TRUE(Start());
    Focus(C().txtSearchKey);
    QTest::keyClick(C().txtSearchKey, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    QApplication::processEvents();
    frmFullText* window = W().findChild<frmFullText*>();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isModal());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("解説の全文検索"));
    EXPECT_TRUE(QTest::qWaitForWindowActive(window));
    EXPECT_EQ(QApplication::focusWidget(), window->txtQuery);

    EXPECT_EQ(Open(), window);
    int windows = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        windows += qobject_cast<frmFullText*>(w) && w->isVisible() ? 1 : 0;
    EXPECT_EQ(windows, 1);
    // The main window stays usable meanwhile.
    Activate(&W());
    Search(QStringLiteral("ram"));
    EXPECT_EQ(W().Current().CurrentKeyword, QStringLiteral("RAM"));
}

TEST_F(FullTextWindowTest, FindsProcessingUnitInTheBundledDictionaryAndShowsTheEntry) {
    ASSERT_TRUE(Start());
    frmFullText* window = Open();
    ASSERT_NE(window, nullptr);
    SearchFor(window, QStringLiteral("処理装置"));

    const QStringList abbrs = Column(window->lstResults, 0);
    ASSERT_TRUE(abbrs.contains(QStringLiteral("CPU"))) << abbrs.join(u' ').toStdString();
    EXPECT_TRUE(QRegularExpression(
                    QStringLiteral("^検索結果 : %1件（\\d+(\\.\\d)?ミリ秒）$").arg(abbrs.size()))
                    .match(window->lblStatus->text())
                    .hasMatch())
        << window->lblStatus->text().toStdString();
    // Listed as the result list lists: by abbreviation.
    QStringList sorted = abbrs;
    std::sort(sorted.begin(), sorted.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    EXPECT_EQ(abbrs, sorted);

    const int row = int(abbrs.indexOf(QStringLiteral("CPU")));
    QTreeWidgetItem* cpu = window->lstResults->topLevelItem(row);
    EXPECT_EQ(cpu->text(1), QStringLiteral("Central Processing Unit"));
    const int start = cpu->data(2, ExcerptDelegate::MatchStartRole).toInt();
    const int length = cpu->data(2, ExcerptDelegate::MatchLengthRole).toInt();
    EXPECT_EQ(cpu->text(2).mid(start, length), QStringLiteral("処理装置"));

    // Enter on the result shows it as a choice in the result list does.
    const QStringList historyBefore = HistoryCaptions();
    window->lstResults->setFocus();
    window->lstResults->setCurrentItem(cpu);
    QTest::keyClick(window->lstResults, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(W().Current().CurrentKeyword, QStringLiteral("CPU"));
    EXPECT_EQ(W().Current().CurrentId, cpu->data(0, Qt::UserRole).toInt());
    EXPECT_EQ(W().windowTitle(), QStringLiteral("Tessarine 2000 - [CPU]"));
    ASSERT_GT(C().lstLink->count(), 1);
    EXPECT_EQ(C().lstLink->item(0)->text(), QStringLiteral("CPU"));
    EXPECT_EQ(HistoryCaptions(), historyBefore + QStringList{QStringLiteral("CPU")});
    EXPECT_TRUE(DrawnText().contains(QStringLiteral("中央処理装置")));
    EXPECT_TRUE(window->isVisible());

    // The entry on show is not shown again; a double-click on another one shows that.
    QTest::keyClick(window->lstResults, Qt::Key_Return);
    EXPECT_EQ(HistoryCaptions().size(), historyBefore.size() + 1);
    SearchFor(window, QStringLiteral("装置")); // a short term: every description is read
    ASSERT_GT(window->lstResults->topLevelItemCount(), 1);
    QTreeWidgetItem* other = window->lstResults->topLevelItem(0);
    if (other->text(0) == QStringLiteral("CPU"))
        other = window->lstResults->topLevelItem(1);
    const QRect rect = window->lstResults->visualItemRect(other);
    // A double-click as the window system delivers it: a click, then the second press.
    QTest::mouseClick(window->lstResults->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(window->lstResults->viewport(), Qt::LeftButton, {}, rect.center());
    QApplication::processEvents();
    EXPECT_EQ(W().Current().CurrentKeyword, other->text(0));
    EXPECT_EQ(HistoryCaptions().last(), other->text(0));
    EXPECT_TRUE(window->isVisible());
}

// From the query, ↓ goes down to the results, on the first; Enter there shows it.
TEST_F(FullTextWindowTest, DownFromTheQueryGoesToTheFirstResult) {
    ASSERT_TRUE(Start());
    frmFullText* window = Open();
    ASSERT_NE(window, nullptr);
    // Without results ↓ leaves the focus where it is.
    window->txtQuery->setFocus();
    QTest::keyClick(window->txtQuery, Qt::Key_Down);
    EXPECT_TRUE(window->txtQuery->hasFocus());

    SearchFor(window, QStringLiteral("cpu"));
    ASSERT_GT(window->lstResults->topLevelItemCount(), 1);
    window->lstResults->setCurrentItem(window->lstResults->topLevelItem(1));
    window->txtQuery->setFocus();
    QTest::keyClick(window->txtQuery, Qt::Key_Down);
    EXPECT_TRUE(window->lstResults->hasFocus());
    ASSERT_EQ(window->lstResults->currentItem(), window->lstResults->topLevelItem(0));
    EXPECT_TRUE(window->lstResults->currentItem()->isSelected());
    QTest::keyClick(window->lstResults, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(W().Current().CurrentKeyword, window->lstResults->topLevelItem(0)->text(0));
}

TEST_F(FullTextWindowTest, BuildsItsIndexIntoTheUsersCacheOnce) {
    ASSERT_TRUE(Start());
    frmFullText* window = Open();
    // Ready to search: the index is in place and the progress gone.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return window->lblStatus->text().startsWith(QStringLiteral("検索語を入力")); },
        60000))
        << window->lblStatus->text().toStdString();
    EXPECT_FALSE(window->prgIndex->isVisible());
    const QStringList files = IndexFiles(cache_.path());
    ASSERT_EQ(files.size(), 1);
    EXPECT_TRUE(files.first().endsWith(QStringLiteral(".fts")));
    EXPECT_TRUE(files.first().contains(QStringLiteral("/fulltext/")));
    EXPECT_FALSE(window->lblNotice->isVisible());
    window->close();
    QApplication::processEvents();
    // Opened again, the window finds the index and builds nothing.
    frmFullText* again = Open();
    SearchFor(again, QStringLiteral("cpu"));
    EXPECT_EQ(IndexFiles(cache_.path()), files);
}

TEST_F(FullTextWindowTest, ShowsTheBuildsProgressWhileTheMainWindowStaysUsable) {
    TestDictionary dictionary;
    dictionary.AddCategory(1, QStringLiteral("一般"), QStringLiteral("GEN"));
    for (int i = 0; i < 30000; ++i)
        dictionary.AddEntry(
            QStringLiteral("E%1").arg(i), QStringLiteral("Entry %1").arg(i), 1,
            QStringLiteral("索引を作るあいだに進み具合を見せるための解説 %1。").arg(i));
    dictionary.Finish();
    ASSERT_TRUE(Start(dictionary.Dir()));
    QPointer<frmFullText> window = Open();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->prgIndex->isVisible(); }, 60000));
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("^\\d+%$")).match(window->prgIndex->text()).hasMatch())
        << window->prgIndex->text().toStdString();
    EXPECT_TRUE(window->lblStatus->text().startsWith(QStringLiteral("索引を作成しています")));

    // The window's thread is free meanwhile: the main window searches and shows.
    Activate(&W());
    Search(QStringLiteral("E1"));
    EXPECT_EQ(W().Current().CurrentKeyword, QStringLiteral("E1"));

    // Closed during the build, the window leaves a whole index or none, never part of one.
    window->close();
    QTest::qWait(50);
    const QStringList files = IndexFiles(cache_.path());
    for (const QString& file : files)
        EXPECT_TRUE(file.endsWith(QStringLiteral(".fts"))) << file.toStdString();
}

TEST_F(FullTextWindowTest, WithoutAWritableCacheTheIndexIsBuiltInMemoryOnceForTheRun) {
    // A cache below a plain file cannot be made, whoever runs the test.
    const QString blocker = cache_.filePath(QStringLiteral("plain-file"));
    QFile file(blocker);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    qputenv("XDG_CACHE_HOME", blocker.toUtf8());
    ASSERT_TRUE(Start());
    QPointer<frmFullText> window = Open();
    SearchFor(window, QStringLiteral("処理装置"));
    EXPECT_TRUE(Column(window->lstResults, 0).contains(QStringLiteral("CPU")));
    EXPECT_TRUE(window->lblNotice->isVisible());
    EXPECT_TRUE(window->lblNotice->text().contains(QStringLiteral("メモリ上")));

    // Closed and opened again, the window finds the index it built and says nothing more.
    window->close();
    QApplication::processEvents();
    ASSERT_TRUE(window.isNull());
    window = Open();
    EXPECT_FALSE(window->prgIndex->isVisible());
    EXPECT_FALSE(window->lblNotice->isVisible());
    EXPECT_TRUE(window->lblStatus->text().startsWith(QStringLiteral("検索語を入力")));
    SearchFor(window, QStringLiteral("処理装置"));
    EXPECT_TRUE(Column(window->lstResults, 0).contains(QStringLiteral("CPU")));
    EXPECT_EQ(IndexFiles(cache_.path()), QStringList{blocker});
}

TEST_F(FullTextWindowTest, EmptyAndBadQueries) {
    ASSERT_TRUE(Start());
    frmFullText* window = Open();
    SearchFor(window, QStringLiteral("cpu"));
    const QString status = window->lblStatus->text();
    const int rows = window->lstResults->topLevelItemCount();
    ASSERT_GT(rows, 0);

    // A space of either width alone is no query: nothing is searched, nothing changes.
    for (const QString& blank : {QStringLiteral(" 　 "), QStringLiteral("　"),
                                 QStringLiteral("　　"), QStringLiteral(" ")}) {
        window->txtQuery->setText(blank);
        QTest::keyClick(window->txtQuery, Qt::Key_Return);
        QTest::qWait(100);
        EXPECT_EQ(window->lblStatus->text(), status);
        EXPECT_EQ(window->lstResults->topLevelItemCount(), rows);
    }

    window->txtQuery->setText(QString(10000, QLatin1Char('x')));
    QTest::keyClick(window->txtQuery, Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return window->lblStatus->text().contains(QStringLiteral("長すぎます")); }, 10000));
    EXPECT_EQ(window->lstResults->topLevelItemCount(), 0);

    SearchFor(window, QStringLiteral("\" NEAR ( * ^ :"));
    EXPECT_TRUE(window->lblStatus->text().startsWith(QStringLiteral("検索結果 : ")));
}

// A reader hears the status line by its text and is told when it changes; the window is a window
// to it, as the history window is.
TEST_F(FullTextWindowTest, ReadersHearTheStatusAsItChangesAndSeeAWindow) {
    ASSERT_TRUE(Start());
    AccessibilityEvents events;
    frmFullText* window = Open();
    ASSERT_NE(window, nullptr);
    QAccessibleInterface* frame = QAccessible::queryAccessibleInterface(window);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->role(), QAccessible::Window);
    EXPECT_EQ(frame->text(QAccessible::Name), window->windowTitle());

    QAccessibleInterface* status = QAccessible::queryAccessibleInterface(window->lblStatus);
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(status->text(QAccessible::Description), QStringLiteral("検索の状況"));
    events.Clear();
    SearchFor(window, QStringLiteral("cpu"));
    const QString said = window->lblStatus->text();
    ASSERT_TRUE(said.startsWith(QStringLiteral("検索結果 : "))) << said.toStdString();
    EXPECT_EQ(status->text(QAccessible::Name), said);
    const auto& all = events.All();
    const auto last = std::find_if(all.rbegin(), all.rend(), [&](const auto& e) {
        return e.type == QAccessible::NameChanged && e.object == window->lblStatus;
    });
    ASSERT_NE(last, all.rend()) << "the new status is announced";
    EXPECT_EQ(last->name, said);

    Focus(C().txtSearchKey);
    QTest::keyClick(C().txtSearchKey, Qt::Key_H, Qt::ControlModifier);
    QApplication::processEvents();
    frmHistory* history = HistoryWindow();
    ASSERT_NE(history, nullptr);
    QAccessibleInterface* historyFrame = QAccessible::queryAccessibleInterface(history);
    ASSERT_NE(historyFrame, nullptr);
    EXPECT_EQ(historyFrame->role(), QAccessible::Window);
}

TEST_F(FullTextWindowTest, AccessKeysNamesAndHelp) {
    ASSERT_TRUE(Start());
    frmFullText* window = Open();
    SearchFor(window, QStringLiteral("cpu"));
    EXPECT_EQ(window->txtQuery->accessibleName(), QStringLiteral("検索語"));
    EXPECT_EQ(window->lstResults->accessibleName(), QStringLiteral("検索結果"));
    EXPECT_EQ(window->prgIndex->accessibleName(), QStringLiteral("索引の作成"));
    EXPECT_EQ(window->Label1->buddy(), window->txtQuery);
    EXPECT_EQ(window->Label2->buddy(), window->lstResults);

    Activate(window);
    QTest::keyClick(window->txtQuery, Qt::Key_R, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), window->lstResults);
    QTest::keyClick(window->lstResults, Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), window->txtQuery);

    if (!QFileInfo::exists(BundledDir() + QStringLiteral("/Abbr.hlp")))
        GTEST_SKIP() << "Abbr.hlp has not been built beside the program";
    QTest::keyClick(window->txtQuery, Qt::Key_F1);
    QApplication::processEvents();
    HelpViewer* viewer = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* v = qobject_cast<HelpViewer*>(w); v && v->isVisible())
            viewer = v;
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(viewer->CurrentUrl().fileName(), QStringLiteral("fulltext-window.html"));
}

TEST_F(FullTextWindowTest, ClosesWithTheMainWindowAndWithEscape) {
    ASSERT_TRUE(Start());
    QPointer<frmFullText> window = Open();
    Activate(window);
    QTest::keyClick(window->txtQuery, Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_TRUE(window.isNull());

    window = Open();
    ASSERT_FALSE(window.isNull());
    W().close();
    QApplication::processEvents();
    EXPECT_TRUE(window.isNull() || !window->isVisible());
}

} // namespace
