// What a handed-over text may be and what looking it up means, decided on a real dictionary file.
#include "search/LookupPlan.h"
#include "search/LookupText.h"
#include "support/DataFixtures.h"

#include "data/DbAccess.h"

#include <gtest/gtest.h>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace {

using LookupPlan::Kind;
using LookupText::Problem;

TEST(LookupTextRule, WhatMayBeLookedUp) {
    using LookupText::Check;
    EXPECT_EQ(Check(u"CPU"), Problem::None);
    EXPECT_EQ(Check(u"The CPU\ttalks\r\nto RAM.\n"), Problem::None) << "a paragraph's breaks";
    EXPECT_EQ(Check(u"中央処理装置"), Problem::None);
    EXPECT_EQ(Check(QStringLiteral("𠮷野家のCPU")), Problem::None) << "a pair of surrogates";
    EXPECT_EQ(Check(u""), Problem::Empty);
    EXPECT_EQ(Check(u"  \t\n　 "), Problem::OnlySpaces) << "the ideographic space too";
    EXPECT_EQ(Check(QStringView(u"CPU\0RAM", 7)), Problem::ControlCharacter);
    EXPECT_EQ(Check(u"\x1b[31mCPU"), Problem::ControlCharacter) << "a terminal's colours";
    EXPECT_EQ(Check(u"CPU\x85"), Problem::ControlCharacter);
    EXPECT_EQ(Check(u"CPU\x7f"), Problem::ControlCharacter);
    EXPECT_EQ(Check(QString(QChar(0xD800)) + QStringLiteral("CPU")), Problem::LoneSurrogate);
    EXPECT_EQ(Check(QStringLiteral("CPU") + QChar(0xDC00)), Problem::LoneSurrogate);
    EXPECT_EQ(Check(QString(LookupText::kMostBytes, u'A')), Problem::None);
    EXPECT_EQ(Check(QString(LookupText::kMostBytes + 1, u'A')), Problem::TooLong);
    // Bytes of UTF-8 count, not characters: a third as many kanji fill the limit.
    EXPECT_EQ(Check(QString(LookupText::kMostBytes / 3, u'語')), Problem::None);
    EXPECT_EQ(Check(QString(LookupText::kMostBytes / 3 + 1, u'語')), Problem::TooLong);
    for (Problem p : {Problem::Empty, Problem::OnlySpaces, Problem::ControlCharacter,
                      Problem::LoneSurrogate, Problem::TooLong}) {
        EXPECT_FALSE(LookupText::CommandLineMessage(p).isEmpty());
        EXPECT_FALSE(LookupText::CommandLineMessage(p).contains(u'\n'));
        EXPECT_FALSE(LookupText::StatusMessage(p).isEmpty());
    }
}

TEST(LookupTextRule, ALongTextIsCutToItsFirst64KiBWithoutSplittingACharacterOrAWord) {
    bool cut = true;
    EXPECT_EQ(LookupText::CutToLimit(QStringLiteral("CPU"), &cut), QStringLiteral("CPU"));
    EXPECT_FALSE(cut);

    // Ten megabytes, as a selection of a whole log file.
    const QString huge(10 * 1024 * 1024, u'x');
    const QString kept = LookupText::CutToLimit(huge, &cut);
    EXPECT_TRUE(cut);
    EXPECT_EQ(kept.toUtf8().size(), LookupText::kMostBytes);
    EXPECT_EQ(LookupText::Check(kept), Problem::None);

    // Four-byte characters: the cut falls between two pairs, never inside one.
    QString emoji;
    for (int i = 0; i < 20000; ++i)
        emoji += QStringLiteral("😀");
    const QString pairs = LookupText::CutToLimit(QStringLiteral("a") + emoji, &cut);
    EXPECT_TRUE(cut);
    EXPECT_FALSE(pairs.back().isHighSurrogate());
    EXPECT_LE(pairs.toUtf8().size(), LookupText::kMostBytes);
    EXPECT_GT(pairs.toUtf8().size(), LookupText::kMostBytes - 4);
    EXPECT_EQ(LookupText::Check(pairs), Problem::None);

    // A sentence cut where a word would be split ends before that word: "the GPU" cut after
    // "the GP" would look up GP. Full-width words too; one word as long as the limit is cut.
    const QString sentence = QStringLiteral("The CPU and the GPU share RAM. ").repeated(3000);
    const QString words = LookupText::CutToLimit(sentence, &cut);
    EXPECT_TRUE(cut);
    EXPECT_TRUE(sentence.startsWith(words));
    EXPECT_TRUE(words.back().isSpace()) << words.right(12).toStdString();
    EXPECT_GT(words.size(), LookupText::kMostBytes - 8);
    // Ten bytes before 24-byte repeats leave six bytes at the limit: "ＣＰ" of a ＣＰＵ.
    const QString wide =
        QStringLiteral("ＡＢＣ ") + QStringLiteral("ＣＰＵ と ＧＰＵ ").repeated(6000);
    const QString wideWords = LookupText::CutToLimit(wide, &cut);
    EXPECT_TRUE(cut);
    EXPECT_TRUE(wideWords.endsWith(QStringLiteral(" "))) << wideWords.right(6).toStdString();
    EXPECT_EQ(LookupText::CutToLimit(QStringLiteral("x") + huge, &cut).size(),
              LookupText::kMostBytes);
}

TEST(LookupTextRule, AQueryIsOneLine) {
    EXPECT_EQ(LookupText::OneLine(u"\n 中央処理装置\r\n液晶\tディスプレイ \n"),
              QStringLiteral("中央処理装置  液晶 ディスプレイ"));
}

class LookupPlanTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dictionary_ = new TestDictionary;
        TestDictionary& d = *dictionary_;
        d.AddCategory(1, QStringLiteral("ハードウェア"), QStringLiteral("HW"));
        for (const char* abbr : {"CPU", "RAM", "PCI", "IS", "IT", "TCP/IP"})
            d.AddEntry(QString::fromLatin1(abbr), QStringLiteral("spelled out"), 1);
        d.AddEntry(QStringLiteral("DMA"), QStringLiteral("Direct Memory Access"), 1);
        d.AddEntry(QStringLiteral("DMA"), QStringLiteral("Document Management Alliance"), 1);
        d.Finish();
        ASSERT_GT(OpenForTest(d.Path()), 0);
    }
    static void TearDownTestSuite() {
        TestDb().Close();
        delete dictionary_;
        dictionary_ = nullptr;
    }
    static LookupPlan::Plan Decide(const QString& text) {
        return LookupPlan::Decide(TestDb().Db(), text);
    }

    static TestDictionary* dictionary_;
};
TestDictionary* LookupPlanTest::dictionary_ = nullptr;

TEST_F(LookupPlanTest, OneWordIsPasteAndSearchWhateverTheDictionaryHas) {
    for (const char* text : {"CPU", "ＣＰＵ", "  cpu\n", "(CPU)", "TCP/IP", "nosuchword",
                             "中央処理装置 CPU", "CPU。"}) {
        const LookupPlan::Plan plan = Decide(QString::fromUtf8(text));
        EXPECT_EQ(plan.kind, Kind::OneWord) << text;
        EXPECT_TRUE(plan.found.isEmpty()) << text;
    }
    EXPECT_EQ(Decide(QStringLiteral("ＣＰＵ")).word, QStringLiteral("CPU"));
    EXPECT_EQ(Decide(QStringLiteral("(CPU)")).word, QStringLiteral("(CPU)"));
    EXPECT_EQ(Decide(QStringLiteral("中央処理装置 CPU")).word, QStringLiteral("CPU"));
}

TEST_F(LookupPlanTest, SeveralWordsListWhatTheyHoldOrShowTheOneEntry) {
    const LookupPlan::Plan several = Decide(QStringLiteral("The CPU talks to RAM over PCI."));
    EXPECT_EQ(several.kind, Kind::SeveralEntries);
    ASSERT_EQ(several.found.size(), 3);
    EXPECT_EQ(several.found[0].abbr, QStringLiteral("CPU"));
    EXPECT_EQ(several.found[2].abbr, QStringLiteral("PCI"));

    const LookupPlan::Plan one = Decide(QStringLiteral("Two CPUs, and it is fast."));
    EXPECT_EQ(one.kind, Kind::OneEntry) << "\"it\" and \"is\" never count";
    EXPECT_EQ(one.entry.abbr, QStringLiteral("CPU"));
    EXPECT_EQ(one.entry.written, QStringLiteral("CPUs"));

    // One abbreviation with two entries is two entries: the list lets the reader choose.
    const LookupPlan::Plan dma = Decide(QStringLiteral("DMA is fast"));
    EXPECT_EQ(dma.kind, Kind::SeveralEntries);
    EXPECT_EQ(dma.found.size(), 2);
}

TEST_F(LookupPlanTest, JapaneseOnlyIsAFullTextQueryOfItsFirst1000Characters) {
    const LookupPlan::Plan plan = Decide(QStringLiteral("\n中央処理装置\n"));
    EXPECT_EQ(plan.kind, Kind::FullText);
    EXPECT_EQ(plan.query, QStringLiteral("中央処理装置"));
    EXPECT_EQ(Decide(QStringLiteral("液晶ディスプレイ、ＣＰＵではなく")).kind, Kind::OneWord)
        << "full-width letters are a word";

    QString longText;
    while (longText.size() < 999)
        longText += QStringLiteral("漢字");
    longText.truncate(999);
    longText += QStringLiteral("𠮷以下略");
    const LookupPlan::Plan cut = Decide(longText);
    EXPECT_EQ(cut.kind, Kind::FullText);
    EXPECT_EQ(cut.query.size(), 999) << "the pair at 1000 is not split";
}

TEST_F(LookupPlanTest, NothingFoundFallsBackToPasteAndSearchOnTheFirstWord) {
    const LookupPlan::Plan plan = Decide(QStringLiteral("it is what it is, said the cpu"));
    EXPECT_EQ(plan.kind, Kind::NothingFound);
    EXPECT_EQ(plan.word, QStringLiteral("it"));
    EXPECT_TRUE(plan.found.isEmpty());
    // Without a usable dictionary nothing is found, and nothing fails.
    EXPECT_EQ(LookupPlan::Decide(nullptr, u"The CPU and RAM").kind, Kind::NothingFound);
}

} // namespace
