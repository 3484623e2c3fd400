// The abbreviations of running text, found in a real dictionary file.
#include "search/TextAbbreviations.h"
#include "search/ClipboardWord.h"
#include "support/DataFixtures.h"

#include "data/DbAccess.h"

#include <gtest/gtest.h>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace {

using TextAbbreviations::Found;

// "word=ABBR" for each entry found, in the order reported.
QStringList Summary(const QList<Found>& found) {
    QStringList lines;
    for (const Found& f : found)
        lines << f.written + QLatin1Char('=') + f.abbr;
    return lines;
}

QStringList Written(const QList<TextAbbreviations::Word>& words) {
    QStringList written;
    for (const auto& w : words)
        written << w.written;
    return written;
}

class TextAbbreviationsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dictionary_ = new TestDictionary;
        TestDictionary& d = *dictionary_;
        d.AddCategory(1, QStringLiteral("ハードウェア"), QStringLiteral("HW"));
        d.AddEntry(QStringLiteral("CPU"), QStringLiteral("Central Processing Unit"), 1,
                   QStringLiteral("\\B中央処理装置\\b（ちゅうおうしょりそうち）、\\B中央演算処理"
                                  "装置\\b\r\n\\Fthe part that computes"));
        for (const char* abbr : {"RAM", "PCI", "TCP/IP", "IS", "IT", "LAN", "IoT", "3G", "Wi-Fi",
                                 "GPU", "U.S.", "ABS", "AB", "OS", "AT&T", "R&D"})
            d.AddEntry(QString::fromLatin1(abbr), QStringLiteral("spelled out"), 1,
                       QStringLiteral("\\Bbold English\\b then text"));
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
    static QList<Found> Find(const QString& text) {
        return TextAbbreviations::FindAll(TestDb().Db(), text);
    }

    static TestDictionary* dictionary_;
};
TestDictionary* TextAbbreviationsTest::dictionary_ = nullptr;

TEST(TextAbbreviationsRule, WhichWordsCount) {
    using TextAbbreviations::Counts;
    for (const char* word : {"CPU", "TCP/IP", "IoT", "3G", "Wi-Fi", "A4", "x86-64K", "U.S."})
        EXPECT_TRUE(Counts(QString::fromLatin1(word))) << word;
    for (const char* word : {"is", "and", "it", "It", "I", "A", "Linux", "2000", "x86", "e.g."})
        EXPECT_FALSE(Counts(QString::fromLatin1(word))) << word;

    EXPECT_EQ(Written(TextAbbreviations::CountingWords(
                  QStringLiteral("The CPU's cache, (TCP/IP) and Wi-Fi; it is 3G-ready."))),
              QStringList({QStringLiteral("CPU's"), QStringLiteral("TCP/IP"),
                           QStringLiteral("Wi-Fi"), QStringLiteral("3G-ready")}));
    // Japanese text has no spaces: it separates words all the same.
    EXPECT_EQ(
        Written(TextAbbreviations::CountingWords(QStringLiteral("CPUとRAMの間、ＰＣＩで"))),
        QStringList({QStringLiteral("CPU"), QStringLiteral("RAM"), QStringLiteral("ＰＣＩ")}));
    // Joining characters at a word's ends are not part of it; a final stop stays in U.S.
    EXPECT_EQ(Written(TextAbbreviations::CountingWords(
                  QStringLiteral("--CPU-- 'RAM'. /GPU/ U.S. IBM.  “ATM”"))),
              QStringList({QStringLiteral("CPU"), QStringLiteral("RAM"), QStringLiteral("GPU"),
                           QStringLiteral("U.S."), QStringLiteral("IBM"), QStringLiteral("ATM")}));
}

TEST(TextAbbreviationsRule, FoldingIsTheOneOfPasteAndSearch) {
    const auto words =
        TextAbbreviations::CountingWords(QStringLiteral("ＴＣＰ／ＩＰ　ｘ８６－６４Ｋ"));
    ASSERT_EQ(words.size(), 2);
    EXPECT_EQ(words[0].written, QStringLiteral("ＴＣＰ／ＩＰ"));
    EXPECT_EQ(words[0].folded, QStringLiteral("TCP/IP"));
    EXPECT_EQ(words[1].folded, QStringLiteral("x86-64K"));
    // Every full-width character that can be part of a word folds as the clipboard's text does.
    for (char16_t c = 0xFF01; c <= 0xFF5E; ++c) {
        const QString wide = QString(QChar(u'Ａ')) + QChar(c) + QChar(u'Ｂ');
        for (const auto& w : TextAbbreviations::CountingWords(wide))
            EXPECT_EQ(w.folded, ClipboardWord::WideToNarrow(w.written)) << int(c);
    }
    EXPECT_EQ(TextAbbreviations::CountingWords(QStringLiteral("CPU’s")).value(0).folded,
              QStringLiteral("CPU's"));
}

TEST(TextAbbreviationsRule, FirstJapaneseTermIsTheBoldTextThatBeginsTheDescription) {
    using TextAbbreviations::FirstJapaneseTerm;
    EXPECT_EQ(FirstJapaneseTerm(u"\\B中央処理装置\\b（ちゅうおう）、\\B別\\b"),
              QStringLiteral("中央処理装置"));
    EXPECT_EQ(FirstJapaneseTerm(u"\\Bﾃﾞｰﾀ\\\\基地\\b"), QStringLiteral("ﾃﾞｰﾀ\\基地"));
    EXPECT_TRUE(FirstJapaneseTerm(u"\\Bbold English\\b").isEmpty());
    EXPECT_TRUE(FirstJapaneseTerm(u"日本語で始まる\\B太字\\b").isEmpty());
    EXPECT_TRUE(FirstJapaneseTerm(u"\\B終わらない太字").isEmpty());
    EXPECT_TRUE(FirstJapaneseTerm(u"").isEmpty());
    EXPECT_TRUE(FirstJapaneseTerm(u"\\B").isEmpty());
}

TEST_F(TextAbbreviationsTest, AParagraphListsEachEntryOnceInOrderOfFirstAppearance) {
    const QList<Found> found = Find(QStringLiteral(
        "The CPU talks to RAM over PCI. Two CPUs share the RAM, and each CPU's cache is "
        "coherent; it is fast. LANs carry TCP/IP, and DMA frees the cpu."));
    EXPECT_EQ(Summary(found), QStringList({QStringLiteral("CPU=CPU"), QStringLiteral("RAM=RAM"),
                                           QStringLiteral("PCI=PCI"), QStringLiteral("LANs=LAN"),
                                           QStringLiteral("TCP/IP=TCP/IP"),
                                           QStringLiteral("DMA=DMA"), QStringLiteral("DMA=DMA")}));
    ASSERT_EQ(found.size(), 7);
    EXPECT_EQ(found[0].letter, QStringLiteral("Central Processing Unit"));
    EXPECT_EQ(found[0].japaneseTerm, QStringLiteral("中央処理装置"));
    EXPECT_TRUE(found[1].japaneseTerm.isEmpty()) << "its bold start is English";
    // A key with two entries lists both, in the result list's order.
    EXPECT_EQ(found[5].letter, QStringLiteral("Direct Memory Access"));
    EXPECT_EQ(found[6].letter, QStringLiteral("Document Management Alliance"));
    EXPECT_NE(found[5].id, found[6].id);
}

TEST_F(TextAbbreviationsTest, PluralsAndPossessivesFallBackOnlyWhenNotEntriesThemselves) {
    EXPECT_EQ(Summary(Find(QStringLiteral("CPU's"))), QStringList(QStringLiteral("CPU's=CPU")));
    EXPECT_EQ(Summary(Find(QStringLiteral("many CPUs’ caches"))),
              QStringList(QStringLiteral("CPUs=CPU")));
    // ABS is an entry of its own; "OSs" has none and falls back to OS.
    EXPECT_EQ(Summary(Find(QStringLiteral("ABS and OSs"))),
              QStringList({QStringLiteral("ABS=ABS"), QStringLiteral("OSs=OS")}));
}

TEST_F(TextAbbreviationsTest, OneSentenceWithEveryKindOfWord) {
    // Plurals, possessives (typeset and full-width), lower-case words the dictionary has,
    // TCP/IP, full-width letters, "&" inside a word, and a key with two entries.
    const QList<Found> found = Find(QStringLiteral(
        "it is AT&T's R&D: ＬＡＮｓ and the ＣＰＵ’ｓ TCP/IP stack, LANs’ DMA, and is it IT?"));
    EXPECT_EQ(Summary(found),
              QStringList({QStringLiteral("AT&T's=AT&T"), QStringLiteral("R&D=R&D"),
                           QStringLiteral("ＬＡＮｓ=LAN"), QStringLiteral("ＣＰＵ’ｓ=CPU"),
                           QStringLiteral("TCP/IP=TCP/IP"), QStringLiteral("DMA=DMA"),
                           QStringLiteral("DMA=DMA"), QStringLiteral("IT=IT")}));
}

TEST_F(TextAbbreviationsTest, LowerCaseWordsNeverCountEvenWhenTheDictionaryHasThem) {
    EXPECT_TRUE(Find(QStringLiteral("it is what it is, and so it goes; ram, cpu, pci")).isEmpty());
    EXPECT_EQ(Summary(Find(QStringLiteral("IT is IS"))),
              QStringList({QStringLiteral("IT=IT"), QStringLiteral("IS=IS")}));
}

TEST_F(TextAbbreviationsTest, WidthJapaneseAndJoinedWords) {
    EXPECT_EQ(Summary(Find(QStringLiteral("ＣＰＵとＲＡＭ、ｗｉ－ｆｉではないＷｉ－Ｆｉ"))),
              QStringList({QStringLiteral("ＣＰＵ=CPU"), QStringLiteral("ＲＡＭ=RAM"),
                           QStringLiteral("Ｗｉ－Ｆｉ=Wi-Fi")}));
    EXPECT_EQ(Summary(Find(QStringLiteral("IoT over 3G in the U.S."))),
              QStringList({QStringLiteral("IoT=IoT"), QStringLiteral("3G=3G"),
                           QStringLiteral("U.S.=U.S.")}));
    // A word joined by slashes that is no entry is read as its parts.
    EXPECT_EQ(Summary(Find(QStringLiteral("CPU/GPUs and TCP/IP"))),
              QStringList({QStringLiteral("CPU=CPU"), QStringLiteral("GPUs=GPU"),
                           QStringLiteral("TCP/IP=TCP/IP")}));
}

TEST_F(TextAbbreviationsTest, AFinderReportsAcrossTextsOnceUntilReset) {
    TextAbbreviations::Finder finder(TestDb().Db());
    ASSERT_TRUE(finder.IsUsable());
    EXPECT_EQ(Summary(finder.Add(u"CPU and RAM")),
              QStringList({QStringLiteral("CPU=CPU"), QStringLiteral("RAM=RAM")}));
    EXPECT_EQ(Summary(finder.Add(u"RAM, then PCI")), QStringList(QStringLiteral("PCI=PCI")));
    finder.Reset();
    EXPECT_EQ(Summary(finder.Add(u"RAM")), QStringList(QStringLiteral("RAM=RAM")));
}

TEST_F(TextAbbreviationsTest, HostileTextIsReadWithoutHarm) {
    QString text = QStringLiteral("CPU") + QChar(0) + QStringLiteral("RAM") + QChar(0xD800) +
                   QStringLiteral("PCI") + QChar(0xDC00) + QStringLiteral("' OR 1=1 -- GPU");
    EXPECT_EQ(Summary(Find(text)),
              QStringList({QStringLiteral("CPU=CPU"), QStringLiteral("RAM=RAM"),
                           QStringLiteral("PCI=PCI"), QStringLiteral("GPU=GPU")}));
    // One word of a hundred thousand capitals, and as many joining characters.
    EXPECT_TRUE(Find(QString(100000, QLatin1Char('A'))).isEmpty());
    EXPECT_TRUE(Find(QString(100000, QLatin1Char('/'))).isEmpty());
    EXPECT_EQ(Summary(Find(QString(50000, QLatin1Char('.')) + QStringLiteral("U.S"))),
              QStringList(QStringLiteral("U.S=U.S.")));
    // Without a dictionary nothing is found, and nothing fails.
    TextAbbreviations::Finder none(nullptr);
    EXPECT_FALSE(none.IsUsable());
    EXPECT_TRUE(none.Add(u"CPU").isEmpty());
}

} // namespace
