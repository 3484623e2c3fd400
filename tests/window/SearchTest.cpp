// Running a search from the search fields and reading the result list, on the real window.
#include "EntryFixtures.h"

#include <QInputMethodEvent>
#include <QMenuBar>

namespace {

const QString kTitle = QStringLiteral("Tessarine 2000");
const QString kZzzNotFound = QStringLiteral("\"zzz\" は見つかりませんでした。");

class SearchTest : public EntryWindowTest {
protected:
    void StartLinked() { ASSERT_TRUE(Start(linked_.Dir())); }

    void ExpectEntryCommands(bool copy, bool home) {
        EXPECT_EQ(C().ToolbarButton("Copy")->isEnabled(), copy);
        EXPECT_EQ(C().mnuEditCopy->isEnabled(), copy);
        EXPECT_EQ(C().ToolbarButton("Home")->isEnabled(), home);
        EXPECT_EQ(C().mnuFileWeb->isEnabled(), home);
    }

    LinkedDictionary linked_;
};

TEST_F(SearchTest, TypedAbbreviationListsShowsAndCountsTheEntry) {
    ASSERT_TRUE(Start());
    EXPECT_EQ(StatusText(), QStringLiteral("未検索"));
    Search(QStringLiteral("cpu"));

    ASSERT_EQ(C().lstDbList->count(), 1);
    EXPECT_EQ(C().lstDbList->item(0)->text(), QStringLiteral("CPU\tCentral Processing Unit"));
    EXPECT_EQ(C().lstDbList->currentRow(), 0);
    EXPECT_EQ(C().lstDbList->item(0)->data(Qt::UserRole).toInt(), W().Current().CurrentId);
    EXPECT_GT(W().Current().CurrentId, 0);
    EXPECT_EQ(W().Current().CurrentKeyword, QStringLiteral("CPU"));
    EXPECT_EQ(W().windowTitle(), QStringLiteral("Tessarine 2000 - [CPU]"));
    EXPECT_TRUE(C().lstDbList->hasFocus());
    EXPECT_EQ(StatusText(), QStringLiteral("検索結果 : 1件"));

    // The entry itself first and selected, then its related words.
    const QStringList related = Texts(C().lstLink);
    ASSERT_EQ(related.size(), 7);
    EXPECT_EQ(related.first(), QStringLiteral("CPU"));
    EXPECT_EQ(C().lstLink->currentRow(), 0);
    EXPECT_EQ(C().lstLink->item(0)->data(Qt::UserRole).toInt(), W().Current().CurrentId);
    QStringList words = related.mid(1);
    words.sort();
    EXPECT_EQ(words, (QStringList{"ALU", "FPU", "GPU", "MIPS", "MPU", "主記憶"}));

    // Each related word carries the id of the entry it names: choosing 主記憶 shows RAM.
    const int memory = int(related.indexOf(QStringLiteral("主記憶")));
    ClickRow(C().lstLink, memory);
    EXPECT_EQ(W().windowTitle(), QStringLiteral("Tessarine 2000 - [RAM]"));
    EXPECT_TRUE(messages_.boxes.isEmpty());
}

TEST_F(SearchTest, RelatedWordsFollowTheEntryInAscendingOrderWithTheirIds) {
    StartLinked();
    Search(QStringLiteral("CPU"));
    EXPECT_EQ(Texts(C().lstLink), (QStringList{"CPU", "ALU", "RAM"}));
    EXPECT_EQ(ItemData(C().lstLink), (QList<qint32>{linked_.cpu, linked_.alu, linked_.ram}));
    ExpectEntryCommands(true, true);
}

TEST_F(SearchTest, EnterInTheSpelledOutFieldSearches) {
    ASSERT_TRUE(Start());
    Focus(C().txtLetter);
    QTest::keyClicks(C().txtLetter, QStringLiteral("central processing unit"));
    QTest::keyClick(C().txtLetter, Qt::Key_Return);
    QApplication::processEvents();
    ASSERT_GE(C().lstDbList->count(), 1);
    EXPECT_EQ(W().windowTitle(), QStringLiteral("Tessarine 2000 - [CPU]"));
    EXPECT_TRUE(C().lstDbList->hasFocus());
}

// With the Japanese input method on, the fields receive full-width text, committed by the input
// method as a whole.
TEST_F(SearchTest, FullWidthInputFindsWhatTheNarrowFormFinds) {
    ASSERT_TRUE(Start());
    auto commit = [](QLineEdit* field, const QString& text) {
        field->setFocus();
        field->clear();
        QInputMethodEvent event;
        event.setCommitString(text);
        QApplication::sendEvent(field, &event);
        EXPECT_EQ(field->text(), text);
        QTest::keyClick(field, Qt::Key_Return);
        QApplication::processEvents();
    };
    commit(C().txtSearchKey, QStringLiteral("ＣＰＵ"));
    ASSERT_EQ(C().lstDbList->count(), 1);
    EXPECT_EQ(W().windowTitle(), QStringLiteral("Tessarine 2000 - [CPU]"));

    C().txtSearchKey->clear();
    Focus(C().txtLetter);
    commit(C().txtLetter, QStringLiteral("ｃｅｎｔｒａｌ　ｐ＊"));
    ASSERT_GE(C().lstDbList->count(), 1);
    EXPECT_EQ(C().lstDbList->item(0)->text(), QStringLiteral("CPU\tCentral Processing Unit"));
    EXPECT_EQ(StatusText(), QStringLiteral("検索結果 : %1件").arg(C().lstDbList->count()));
}

TEST_F(SearchTest, EnterInTheCategoryListSearchesWithinTheCategory) {
    StartLinked();
    C().txtSearchKey->setText(QStringLiteral("?PU"));
    Focus(C().cmbCategory);
    QTest::keyClick(C().cmbCategory, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(C().lstDbList->count(), 2) << "all categories: CPU and GPU";

    Focus(C().cmbCategory);
    C().cmbCategory->setCurrentIndex(C().cmbCategory->findData(2));
    QTest::keyClick(C().cmbCategory, Qt::Key_Enter);
    QApplication::processEvents();
    ASSERT_EQ(C().lstDbList->count(), 1);
    EXPECT_TRUE(C().lstDbList->item(0)->text().startsWith(QLatin1String("GPU\t")));
    EXPECT_EQ(W().windowTitle(), QStringLiteral("Tessarine 2000 - [GPU]"));
    EXPECT_EQ(StatusText(), QStringLiteral("検索結果 : 1件"));
}

TEST_F(SearchTest, SearchWithoutResultsBlanksTheViewAndKeepsTheRest) {
    StartLinked();
    Search(QStringLiteral("CPU"));
    ASSERT_GT(C().pbxDescription->RegionCount(), 0);
    const QPoint overLink = CentrePixels(C().pbxDescription->Regions().front());
    const qint32 shown = W().Current().CurrentId;

    Search(QStringLiteral("zzz"));
    EXPECT_EQ(C().lstDbList->count(), 0);
    EXPECT_EQ(C().pbxDescription->RegionCount(), 0);
    EXPECT_EQ(DrawnText(), kZzzNotFound) << "nothing is like zzz: no suggestion";
    EXPECT_EQ(C().lstLink->count(), 0);
    ExpectEntryCommands(false, false);
    // No message, no move of the focus, and the status, caption and entry stay.
    EXPECT_TRUE(messages_.boxes.isEmpty());
    EXPECT_TRUE(C().txtSearchKey->hasFocus());
    EXPECT_EQ(StatusText(), QStringLiteral("検索結果 : 1件"));
    EXPECT_EQ(W().windowTitle(), QStringLiteral("Tessarine 2000 - [CPU]"));
    EXPECT_EQ(W().Current().CurrentId, shown);

    // A later resize redraws, but the old description does not come back.
    W().resize(W().width() + 120, W().height() + 60);
    QApplication::processEvents();
    EXPECT_EQ(DrawnText(), kZzzNotFound);
    EXPECT_EQ(C().pbxDescription->RegionCount(), 0);
    MoveOverDescription(overLink);
    EXPECT_TRUE(ArrowShown());
}

TEST_F(SearchTest, SearchingTheSameEntryAgainAfterABlankSearchShowsItAgain) {
    StartLinked();
    Search(QStringLiteral("CPU"));
    const QString drawn = DrawnText();
    Search(QStringLiteral("zzz"));
    ASSERT_EQ(DrawnText(), kZzzNotFound);

    // The first line is the entry still current but no longer on show.
    Search(QStringLiteral("CPU"));
    EXPECT_EQ(DrawnText(), drawn);
    EXPECT_GT(C().pbxDescription->RegionCount(), 0);
    EXPECT_EQ(Texts(C().lstLink), (QStringList{"CPU", "ALU", "RAM"}));
    ExpectEntryCommands(true, true);
}

TEST_F(SearchTest, EmptyInputsKeepThePreviousResultsButBlankTheView) {
    StartLinked();
    Search(QStringLiteral("?PU"));
    ASSERT_EQ(Texts(C().lstDbList),
              (QStringList{"CPU\tCentral Processing Unit", "GPU\tGraphics Processing Unit"}));

    C().txtSearchKey->clear();
    C().txtLetter->clear();
    ASSERT_EQ(C().cmbCategory->currentIndex(), 0);
    C().mnuFileFind->trigger();
    QApplication::processEvents();

    EXPECT_EQ(Texts(C().lstDbList),
              (QStringList{"CPU\tCentral Processing Unit", "GPU\tGraphics Processing Unit"}));
    EXPECT_TRUE(C().pbxDescription->Drawing().empty());
    EXPECT_EQ(C().lstLink->count(), 0);
    ExpectEntryCommands(false, false);
    // The count the result list reports when it gets the focus.
    Focus(C().txtSearchKey);
    Focus(C().lstDbList);
    EXPECT_EQ(StatusText(), QStringLiteral("検索結果 : 0件"));
}

TEST_F(SearchTest, ClickingTheLineOfTheEntryShownDoesNothing) {
    StartLinked();
    Search(QStringLiteral("?PU"));
    ClickRow(C().lstDbList, 1);
    ASSERT_EQ(W().Current().CurrentId, linked_.gpu);
    C().mnuGoItem[1]->trigger(); // back to CPU; the list keeps GPU's line selected
    ASSERT_EQ(W().Current().CurrentId, linked_.cpu);
    ASSERT_EQ(C().lstDbList->currentRow(), 1);

    const QListWidgetItem* firstRelated = C().lstLink->item(0);
    const int entries = Store().EntryCount();
    const qint16 current = Store().CurrentSlot();
    ClickRow(C().lstDbList, 0);
    EXPECT_EQ(C().lstDbList->currentRow(), 0);
    EXPECT_EQ(C().lstLink->item(0), firstRelated) << "the related words were not rebuilt";
    EXPECT_EQ(Store().EntryCount(), entries);
    EXPECT_EQ(Store().CurrentSlot(), current);
    ExpectNavigation(false, true);

    ClickRow(C().lstDbList, 1);
    EXPECT_EQ(W().Current().CurrentId, linked_.gpu);
    EXPECT_EQ(Store().EntryCount(), 2) << "CPU, GPU: the forward entry was the same id";
}

TEST_F(SearchTest, LinesWithoutAnEntryIdAreIgnored) {
    TestDictionary dict;
    dict.AddCategory(1, QStringLiteral("一般"), QStringLiteral("GE"));
    DictionaryWriter::Entry zero;
    zero.id = 0;
    zero.abbr = QStringLiteral("ZERO");
    zero.key = QStringLiteral("ZERO");
    zero.letter = QStringLiteral("no entry");
    zero.categoryId = 1;
    zero.hyperText = QStringLiteral("never shown");
    dict.AddEntry(zero);
    DictionaryWriter::Entry negative = zero;
    negative.id = -7;
    negative.abbr = QStringLiteral("ZERONEG");
    negative.key = QStringLiteral("ZERONEG");
    dict.AddEntry(negative);
    dict.Finish();
    ASSERT_TRUE(Start(dict.Dir()));

    Search(QStringLiteral("ZERO*"));
    ASSERT_EQ(C().lstDbList->count(), 2);
    EXPECT_EQ(ItemData(C().lstDbList), (QList<qint32>{0, -7}));
    ClickRow(C().lstDbList, 1);
    EXPECT_EQ(W().Current().CurrentId, 0);
    EXPECT_EQ(W().windowTitle(), kTitle);
    EXPECT_TRUE(C().pbxDescription->Drawing().empty());
    EXPECT_EQ(C().lstLink->count(), 0);
    EXPECT_TRUE(Store().IsEmpty());
}

TEST_F(SearchTest, TabbingIntoTheResultListShowsTheLastCount) {
    StartLinked();
    Search(QStringLiteral("CPU"));
    Search(QStringLiteral("zzz"));
    ASSERT_EQ(StatusText(), QStringLiteral("検索結果 : 1件"));

    Focus(C().cmbCategory);
    QTest::keyClick(C().cmbCategory, Qt::Key_Tab);
    QApplication::processEvents();
    ASSERT_TRUE(C().lstDbList->hasFocus());
    EXPECT_EQ(StatusText(), QStringLiteral("検索結果 : 0件"));
}

TEST_F(SearchTest, AtMost500LinesAreListed) {
    TestDictionary dict;
    dict.AddCategory(1, QStringLiteral("一般"), QStringLiteral("GE"));
    for (int i = 0; i < 520; ++i)
        dict.AddEntry(QStringLiteral("Q%1").arg(i, 3, 10, QLatin1Char('0')),
                      QStringLiteral("entry %1").arg(i), 1);
    dict.Finish();
    ASSERT_TRUE(Start(dict.Dir()));

    Search(QStringLiteral("Q*"));
    EXPECT_EQ(C().lstDbList->count(), 500);
    EXPECT_EQ(StatusText(), QStringLiteral("検索結果 : 500件"));
    EXPECT_EQ(W().windowTitle(), QStringLiteral("Tessarine 2000 - [Q000]"));
}

} // namespace
