#include "export/HeadwordText.h"
#include "tools/DictdIndex.h"

#include <QStringList>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

TEST(HeadwordTextTest, StarDictOrderFoldsAsciiCaseFirstThenComparesBytes) {
    QList<QByteArray> words{"cpu", "CPU", "Cpu",  "CD-ROM", "cdrom",  "b",   "A", "a",
                            "ab",  "_x",  "中央", "ＣＰＵ", "TCP/IP", "tcp", "Ab"};
    std::sort(words.begin(), words.end(), [](const QByteArray& a, const QByteArray& b) {
        return HeadwordText::StarDictCompare(a, b) < 0;
    });
    // Letters compare as lower case, so "_" (0x5F, between the upper- and lower-case letters)
    // comes before all of them; bytes beyond ASCII come last, in byte order.
    const QList<QByteArray> expected{"_x",  "A",      "a",      "Ab",   "ab",
                                     "b",   "CD-ROM", "cdrom",  "CPU",  "Cpu",
                                     "cpu", "tcp",    "TCP/IP", "中央", "ＣＰＵ"};
    EXPECT_EQ(words, expected);
    EXPECT_TRUE(HeadwordText::StarDictSame("TCP/ip", "tcp/IP"));
    EXPECT_FALSE(HeadwordText::StarDictSame("ＣＰＵ", "ｃｐｕ")); // StarDict folds ASCII only
    EXPECT_FALSE(HeadwordText::StarDictSame("cpu", "cpus"));
}

TEST(HeadwordTextTest, CleaningLeavesOneLineOfVisibleCharacters) {
    bool cleaned = true;
    EXPECT_EQ(
        HeadwordText::Clean(QStringLiteral("  Central\tProcessing\r\n Unit\u3000 "), &cleaned),
        QStringLiteral("Central Processing Unit"));
    EXPECT_FALSE(cleaned) << "white space is not a fault";
    QString nul = QStringLiteral("C");
    nul += QChar(0);
    nul += QStringLiteral("P\x7f"
                          "U\u0085");
    EXPECT_EQ(HeadwordText::Clean(nul, &cleaned), QStringLiteral("CPU"));
    EXPECT_TRUE(cleaned);
    EXPECT_EQ(HeadwordText::Clean(QStringLiteral("\t\n")), QString());
}

TEST(HeadwordTextTest, DictdHeadwordsAreLowerCaseThroughout) {
    EXPECT_EQ(HeadwordText::DictdHeadword(QStringLiteral("TCP/IP")), QByteArray("tcp/ip"));
    EXPECT_EQ(HeadwordText::DictdHeadword(QStringLiteral("Central Processing Unit")),
              QByteArray("central processing unit"));
    EXPECT_EQ(HeadwordText::DictdHeadword(QStringLiteral("ＣＰＵ ΣΔ")),
              QStringLiteral("ｃｐｕ σδ").toUtf8());
    EXPECT_EQ(HeadwordText::DictdHeadword(QStringLiteral("中央処理装置")),
              QStringLiteral("中央処理装置").toUtf8());
}

TEST(HeadwordTextTest, DictdNumbersAreReadBackByTheDictdReader) {
    EXPECT_EQ(HeadwordText::DictdNumber(0), QByteArray("A"));
    EXPECT_EQ(HeadwordText::DictdNumber(63), QByteArray("/"));
    EXPECT_EQ(HeadwordText::DictdNumber(64), QByteArray("BA"));
    for (const quint64 n : {1ull, 61ull, 4095ull, 4096ull, 58315ull, 123456789ull, 0xFFFFFFFFull}) {
        qint64 back = -1;
        ASSERT_TRUE(DecodeDictdNumber(QString::fromLatin1(HeadwordText::DictdNumber(n)), &back));
        EXPECT_EQ(quint64(back), n);
    }
}

} // namespace
