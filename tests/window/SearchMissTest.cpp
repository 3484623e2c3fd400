// A search that finds nothing, on the real window: the view says so and offers what the user
// probably meant, as links that lead on like any reference, while the rest of the window stays
// as a search without results leaves it.
#include "ReadingFixtures.h"

#include "entryview/DescriptionBox.h"

#include <QSet>

namespace {

const QString kCpuSuggestion = QStringLiteral("CPU (Central Processing Unit)");

QString NotFound(const QString& typed) {
    return QLatin1Char('"') + typed + QStringLiteral("\" は見つかりませんでした。");
}

class SearchMissTest : public ReadingWindowTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(Start(linked_.Dir()));
        W().resize(900, 600); // wide enough for the sentences whole
        QApplication::processEvents();
    }

    void ExpectEntryCommands(bool enabled) {
        EXPECT_EQ(C().mnuEditCopy->isEnabled(), enabled);
        EXPECT_EQ(C().ToolbarButton("Copy")->isEnabled(), enabled);
        EXPECT_EQ(C().mnuFileWeb->isEnabled(), enabled);
        EXPECT_EQ(C().ToolbarButton("Home")->isEnabled(), enabled);
    }
    void SearchIn(qint32 category, const QString& key) {
        C().cmbCategory->setCurrentIndex(C().cmbCategory->findData(category));
        Search(key);
    }
    // The lines the box drew, by their height in the drawing.
    int DrawnLines() {
        QSet<qint32> tops;
        for (const DescriptionBox::DrawnText& piece : Box()->Drawing())
            tops.insert(piece.y);
        return int(tops.size());
    }

    LinkedDictionary linked_;
};

TEST_F(SearchMissTest, AMissSaysSoAndOffersWhatWasProbablyMeant) {
    Search(QStringLiteral("ram"));
    const int recorded = Store().EntryCount();
    const qint16 slot = Store().CurrentSlot();
    Search(QStringLiteral("cpus"));

    EXPECT_EQ(ReadAll(),
              NotFound(QStringLiteral("cpus")) + QStringLiteral("\nもしかして: ") + kCpuSuggestion);
    ASSERT_EQ(Box()->Links().LinkCount(), 1);
    EXPECT_EQ(Box()->Links().Link(0).linkId, linked_.cpu);
    EXPECT_EQ(Box()->Links().Link(0).text, kCpuSuggestion);
    // Nothing else changes: the entry that was on show stays current but is not offered.
    EXPECT_EQ(W().Current().CurrentId, linked_.ram);
    EXPECT_EQ(W().windowTitle(), QStringLiteral("Tessarine 2000 - [RAM]"));
    EXPECT_EQ(C().lstLink->count(), 0);
    ExpectEntryCommands(false);
    EXPECT_EQ(Store().EntryCount(), recorded);
    EXPECT_EQ(Store().CurrentSlot(), slot);
    EXPECT_EQ(StatusText(), QStringLiteral("検索結果 : 1件"));
    EXPECT_TRUE(C().txtSearchKey->hasFocus());

    // The suggestion is a link like any other: the hand over it, a click shows its entry.
    const QPoint overLink = CentrePixels(Box()->Regions().front());
    MoveOverDescription(overLink);
    EXPECT_TRUE(HandShown());
    QTest::mouseClick(Box(), Qt::LeftButton, {}, overLink);
    QApplication::processEvents();
    EXPECT_EQ(W().Current().CurrentId, linked_.cpu);
    EXPECT_EQ(W().windowTitle(), QStringLiteral("Tessarine 2000 - [CPU]"));
    EXPECT_TRUE(ReadAll().startsWith(QStringLiteral("Central Processing Unit [HW]\n")));
    EXPECT_EQ(Texts(C().lstLink).value(0), QStringLiteral("CPU"));
    ExpectEntryCommands(true);
    EXPECT_EQ(HistoryCaptions().mid(recorded), QStringList{QStringLiteral("CPU")});
    EXPECT_FALSE(W().Current().NotFound.has_value());
}

TEST_F(SearchMissTest, SuggestionsAreFollowedByKeyboardAndScreenReader) {
    Search(QStringLiteral("ALUs"));
    FocusDescription();
    Press(Qt::Key_Right);
    ASSERT_EQ(Box()->CurrentLink(), 0);
    Press(Qt::Key_Return);
    EXPECT_EQ(W().Current().CurrentId, linked_.alu);
    EXPECT_EQ(Texts(C().lstLink).value(0), QStringLiteral("ALU"));

    AccessibilityEvents reader;
    Search(QStringLiteral("RAM's"));
    const std::vector<QAccessibleInterface*> links = LinkChildren();
    ASSERT_EQ(links.size(), 1u);
    EXPECT_EQ(links[0]->text(QAccessible::Name), QStringLiteral("RAM (Random Access Memory)"));
    links[0]->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QApplication::processEvents();
    EXPECT_EQ(W().Current().CurrentId, linked_.ram);
    EXPECT_EQ(HistoryCaptions().mid(HistoryCaptions().size() - 2),
              (QStringList{QStringLiteral("ALU"), QStringLiteral("RAM")}));
}

TEST_F(SearchMissTest, EntriesOfOtherCategoriesAreMarkedWithTheirShortName) {
    // CPU is hardware, not general: the general GPU, one letter away, comes first.
    SearchIn(2, QStringLiteral("cpu"));
    EXPECT_EQ(ReadAll(), NotFound(QStringLiteral("cpu")) +
                             QStringLiteral("\nもしかして: GPU (Graphics Processing Unit)、") +
                             kCpuSuggestion + QStringLiteral(" [HW]"));
    ASSERT_EQ(Box()->Links().LinkCount(), 2);
    EXPECT_EQ(Box()->Links().Link(0).linkId, linked_.gpu);
    EXPECT_EQ(Box()->Links().Link(1).linkId, linked_.cpu);
}

TEST_F(SearchMissTest, WhatCannotBeCorrectedGetsOnlyTheSentence) {
    Search(QStringLiteral("c?us"));
    EXPECT_EQ(ReadAll(), NotFound(QStringLiteral("c?us"))) << "a wildcard search";
    EXPECT_EQ(Box()->RegionCount(), 0);

    // Both fields: the spelled-out form follows the abbreviation, as in a suggestion; the
    // abbreviation alone finds CPU, and GPU is a letter away.
    C().txtLetter->setText(QStringLiteral("Central Processing Units"));
    Search(QStringLiteral("cpu"));
    EXPECT_EQ(ReadAll(), NotFound(QStringLiteral("cpu (Central Processing Units)")) +
                             QStringLiteral("\nもしかして: ") + kCpuSuggestion +
                             QStringLiteral("、GPU (Graphics Processing Unit)"));

    // Every input empty: nothing was searched, so nothing is said.
    C().txtLetter->clear();
    C().txtSearchKey->clear();
    C().mnuFileFind->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(Box()->Drawing().empty());
}

TEST_F(SearchMissTest, TheTypedTextIsDrawnAsTextAndCutToOneLine) {
    Search(QStringLiteral("\\B\\J2 x\\j\\\\"));
    EXPECT_EQ(ReadAll(), NotFound(QStringLiteral("\\B\\J2 x\\j\\\\")));
    EXPECT_EQ(Box()->RegionCount(), 0);
    for (const DescriptionBox::DrawnText& piece : Box()->Drawing())
        EXPECT_FALSE(piece.font.bold() || piece.font.underline()) << piece.text.toStdString();

    // A key of 4 000 characters: one line, whatever the width of the window.
    C().txtSearchKey->setMaxLength(32767);
    C().txtSearchKey->setText(QString(4000, u'w'));
    C().mnuFileFind->trigger();
    QApplication::processEvents();
    const QString wide = ReadAll();
    EXPECT_TRUE(wide.endsWith(QStringLiteral("…\" は見つかりませんでした。")));
    EXPECT_EQ(DrawnLines(), 1);
    W().resize(W().width() - 200, W().height());
    QApplication::processEvents();
    EXPECT_EQ(DrawnLines(), 1);
    EXPECT_LT(ReadAll().size(), wide.size()) << "cut again to the narrower box";
}

} // namespace
