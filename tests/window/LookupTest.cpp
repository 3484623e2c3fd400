// Looking up a handed-over text in the real window: one word, a sentence with one or several
// abbreviations, Japanese only, nothing found, and text that cannot be looked up.
#include "EntryFixtures.h"

#include "fulltext/frmFullText.h"
#include "search/LookupText.h"
#include "support/ScopedEnvironment.h"

#include <QClipboard>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTreeWidget>

namespace {

HandOver::LookupRequest Text(const QString& text) {
    HandOver::LookupRequest request;
    request.text = text;
    return request;
}

class LookupTest : public EntryWindowTest {
protected:
    void SetUp() override {
        // The full-text index goes into a cache of the test's own, never the user's.
        environment_.Set("XDG_CACHE_HOME", cache_.path().toUtf8());
    }

    void LookUp(const QString& text) {
        W().LookUp(Text(text));
        QApplication::processEvents();
    }

    QWidget* TextWindow() {
        return W().findChild<QWidget*>(QStringLiteral("frmTextAbbreviations"));
    }
    frmFullText* FullTextWindow() { return W().findChild<frmFullText*>(); }

    // The rows of the window of a text's abbreviations: "word=ABBR".
    QStringList Rows() {
        auto* list = TextWindow()->findChild<QTreeWidget*>(QStringLiteral("lstFound"));
        QStringList rows;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            rows << list->topLevelItem(i)->text(0) + u'=' + list->topLevelItem(i)->text(1);
        return rows;
    }

    QTemporaryDir cache_;
    ScopedEnvironment environment_;
};

TEST_F(LookupTest, OneWordIsPasteAndSearchWithTheCategoryKept) {
    ASSERT_TRUE(Start());
    C().txtLetter->setText(QStringLiteral("something typed"));
    C().cmbCategory->setCurrentIndex(C().cmbCategory->findText(QStringLiteral("ハードウェア")));
    ASSERT_GT(C().cmbCategory->currentIndex(), 0);
    const QString category = C().cmbCategory->currentText();
    LookUp(QStringLiteral("ＣＰＵ"));
    EXPECT_EQ(C().txtSearchKey->text(), QStringLiteral("CPU"));
    EXPECT_TRUE(C().txtLetter->text().isEmpty());
    EXPECT_EQ(C().cmbCategory->currentText(), category);
    EXPECT_EQ(W().Current().CurrentKeyword, QStringLiteral("CPU"));
    EXPECT_EQ(W().windowTitle(), QStringLiteral("Tessarine 2000 - [CPU]"));
    EXPECT_EQ(TextWindow(), nullptr);

    LookUp(QStringLiteral("zzqx"));
    EXPECT_EQ(StatusText(), QStringLiteral("「zzqx」は見つかりませんでした"));
    EXPECT_TRUE(W().Current().Blanked);
}

TEST_F(LookupTest, ASentenceWithSeveralAbbreviationsOpensTheirList) {
    ASSERT_TRUE(Start());
    LookUp(QStringLiteral("The CPU talks to RAM over PCI, and it is fast."));
    QWidget* window = TextWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("文中の略語"));
    EXPECT_EQ(Rows(), QStringList({QStringLiteral("CPU=CPU"), QStringLiteral("RAM=RAM"),
                                   QStringLiteral("PCI=PCI")}))
        << "\"it\" is no abbreviation although the dictionary has IT";
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("lblStatus"))->text(),
              QStringLiteral("略語 : 3件"));
    EXPECT_EQ(window->findChild<QPlainTextEdit*>(QStringLiteral("txtText"))->toPlainText(),
              QStringLiteral("The CPU talks to RAM over PCI, and it is fast."));

    // A second text replaces the first in the same window.
    LookUp(QStringLiteral("ＬＡＮs carry TCP/IP"));
    EXPECT_EQ(TextWindow(), window);
    EXPECT_EQ(Rows(),
              QStringList({QStringLiteral("ＬＡＮs=LAN"), QStringLiteral("TCP/IP=TCP/IP")}));
}

TEST_F(LookupTest, ASentenceWithOneAbbreviationShowsItAsASearchForItsKey) {
    ASSERT_TRUE(Start());
    // A category the entry is not in is set aside, or the search would hide it.
    C().cmbCategory->setCurrentIndex(C().cmbCategory->findText(QStringLiteral("ソフトウェア")));
    ASSERT_GT(C().cmbCategory->currentIndex(), 0);
    LookUp(QStringLiteral("Two CPUs are faster than one."));
    EXPECT_EQ(C().txtSearchKey->text(), QStringLiteral("CPU"));
    EXPECT_EQ(W().Current().CurrentKeyword, QStringLiteral("CPU"));
    EXPECT_EQ(C().cmbCategory->currentIndex(), 0);
    EXPECT_EQ(Texts(C().lstDbList).value(0).section(u'\t', 0, 0), QStringLiteral("CPU"));
    EXPECT_EQ(TextWindow(), nullptr);
}

TEST_F(LookupTest, JapaneseOnlyIsSearchedForInTheDescriptions) {
    ASSERT_TRUE(Start());
    LookUp(QStringLiteral("\n中央処理装置\n"));
    frmFullText* window = FullTextWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->txtQuery->text(), QStringLiteral("中央処理装置"));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return window->lblStatus->text().startsWith(QStringLiteral("検索結果 : ")); }, 60000))
        << window->lblStatus->text().toStdString();
    QStringList abbreviations;
    for (int i = 0; i < window->lstResults->topLevelItemCount(); ++i)
        abbreviations << window->lstResults->topLevelItem(i)->text(0);
    EXPECT_TRUE(abbreviations.contains(QStringLiteral("CPU")))
        << abbreviations.join(u' ').toStdString();
}

TEST_F(LookupTest, NothingFoundSearchesTheFirstWordAndSaysSo) {
    ASSERT_TRUE(Start());
    Search(QStringLiteral("ram"));
    LookUp(QStringLiteral("qqq is what zzz is"));
    EXPECT_EQ(C().txtSearchKey->text(), QStringLiteral("qqq"));
    EXPECT_TRUE(W().Current().Blanked) << "the usual empty outcome of a search";
    EXPECT_EQ(StatusText(), QStringLiteral("テキストの中に、辞書にある略語は見つかりませんでした"));
}

TEST_F(LookupTest, TextThatCannotBeLookedUpIsRefusedInTheStatusBar) {
    ASSERT_TRUE(Start());
    Search(QStringLiteral("cpu"));
    const qint32 shown = W().Current().CurrentId;
    const struct {
        QString text;
        LookupText::Problem problem;
    } cases[] = {
        {QString(), LookupText::Problem::Empty},
        {QStringLiteral(" \n\t　"), LookupText::Problem::OnlySpaces},
        {QStringLiteral("RAM") + QChar(0) + QStringLiteral("PCI"),
         LookupText::Problem::ControlCharacter},
        {QStringLiteral("RAM") + QChar(0xD800), LookupText::Problem::LoneSurrogate},
    };
    for (const auto& c : cases) {
        LookUp(c.text);
        EXPECT_EQ(StatusText(), LookupText::StatusMessage(c.problem));
        EXPECT_EQ(W().Current().CurrentId, shown) << "nothing else changes";
        EXPECT_EQ(C().txtSearchKey->text(), QStringLiteral("cpu"));
    }
    // The window keeps working.
    LookUp(QStringLiteral("RAM"));
    EXPECT_EQ(W().Current().CurrentKeyword, QStringLiteral("RAM"));
}

TEST_F(LookupTest, AHugeSelectionIsCutTo64KiBAndTheStatusBarSaysSo) {
    ASSERT_TRUE(Start());
    // Ten megabytes in the clipboard (the offscreen desktop has no primary selection).
    QApplication::clipboard()->setText(QStringLiteral("RAM and PCI ") +
                                       QString(10 * 1024 * 1024, u'x'));
    HandOver::LookupRequest request;
    request.readSelection = true;
    W().LookUp(request);
    QApplication::processEvents();
    ASSERT_NE(TextWindow(), nullptr);
    EXPECT_EQ(Rows(), QStringList({QStringLiteral("RAM=RAM"), QStringLiteral("PCI=PCI")}));
    EXPECT_EQ(TextWindow()
                  ->findChild<QPlainTextEdit*>(QStringLiteral("txtText"))
                  ->toPlainText()
                  .toUtf8()
                  .size(),
              LookupText::kMostBytes);
    EXPECT_TRUE(StatusText().contains(QStringLiteral("64 KiB"))) << StatusText().toStdString();
}

TEST_F(LookupTest, TextsHandedOverWhileTheDictionaryOpensWaitAndComeInOrder) {
    window_ = std::make_unique<frmMain>();
    // Handed over before the window has opened its dictionary.
    W().LookUp(Text(QStringLiteral("PCI")));
    W().LookUp(Text(QStringLiteral("ＲＡＭ")));
    QApplication::processEvents();
    EXPECT_EQ(W().Current().CurrentId, 0);
    ASSERT_TRUE(W().Form_Load(BundledDir()));
    QApplication::processEvents();
    EXPECT_EQ(W().Current().CurrentKeyword, QStringLiteral("RAM"));
    // Both were acted on, in order: the history has PCI, then RAM.
    const History::HistoryStore& history = History::Store();
    ASSERT_EQ(history.EntryCount(), 2);
    EXPECT_EQ(history.HistoryEntries()[size_t(history.OldestSlot())].Caption,
              QStringLiteral("PCI"));
}

TEST_F(LookupTest, TenRequestsInARowAreEachActedOn) {
    ASSERT_TRUE(Start());
    const char* words[] = {"CPU", "RAM", "ROM", "PCI", "USB", "LAN", "WAN", "DNS", "URL", "HTML"};
    for (const char* word : words)
        W().LookUp(Text(QString::fromLatin1(word)));
    QApplication::processEvents();
    EXPECT_EQ(W().Current().CurrentKeyword, QStringLiteral("HTML"));
    EXPECT_EQ(History::Store().EntryCount(), 10);
}

} // namespace
