// The first ASCII word of clipboard text, after narrowing full-width forms.
#include "search/ClipboardWord.h"

#include <gtest/gtest.h>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace {

using ClipboardWord::FirstAsciiWord;
using ClipboardWord::WideToNarrow;

TEST(ClipboardWordTest, WideToNarrowFoldsFullWidthAsciiAndKatakana) {
    EXPECT_EQ(WideToNarrow(QStringLiteral("ＡＢＣｘｙｚ０１９")), QStringLiteral("ABCxyz019"));
    EXPECT_EQ(WideToNarrow(QStringLiteral("（）／－＊？！～")), QStringLiteral("()/-*?!~"));
    EXPECT_EQ(WideToNarrow(QStringLiteral("\u3000")), QStringLiteral(" "));
    EXPECT_EQ(WideToNarrow(QStringLiteral("カタカナ")), QStringLiteral("ｶﾀｶﾅ"));
    // A voiced katakana becomes two half-width characters.
    EXPECT_EQ(WideToNarrow(QStringLiteral("ガパ")), QStringLiteral("ｶﾞﾊﾟ"));
    EXPECT_EQ(WideToNarrow(QStringLiteral("、。「」")), QStringLiteral("､｡｢｣"));
}

TEST(ClipboardWordTest, WideToNarrowLeavesEverythingElse) {
    EXPECT_EQ(WideToNarrow(QString()), QString());
    EXPECT_EQ(WideToNarrow(QStringLiteral("ASCII text 123")), QStringLiteral("ASCII text 123"));
    EXPECT_EQ(WideToNarrow(QStringLiteral("ひらがな漢字")), QStringLiteral("ひらがな漢字"));
    EXPECT_EQ(WideToNarrow(QStringLiteral("ｶﾅ")), QStringLiteral("ｶﾅ"));
    EXPECT_EQ(WideToNarrow(QStringLiteral("é😀")), QStringLiteral("é😀"));
}

TEST(ClipboardWordTest, FirstWordOfTheTypicalClipboards) {
    EXPECT_EQ(FirstAsciiWord(QStringLiteral("\u3000ＣＰＵかな")), QStringLiteral("CPU"));
    EXPECT_EQ(FirstAsciiWord(QStringLiteral("  TCP/IP protocol")), QStringLiteral("TCP/IP"));
    EXPECT_EQ(FirstAsciiWord(QStringLiteral("(1) RAM")), QStringLiteral("(1)"));
    EXPECT_EQ(FirstAsciiWord(QStringLiteral("これはＵＳＢ２．０です")), QStringLiteral("USB2.0"));
    EXPECT_EQ(FirstAsciiWord(QStringLiteral("\r\n\tCD-ROM\r\n")), QStringLiteral("CD-ROM"));
    EXPECT_EQ(FirstAsciiWord(QStringLiteral("!~")), QStringLiteral("!~"));
}

TEST(ClipboardWordTest, NoWordWithoutPrintableAscii) {
    EXPECT_TRUE(FirstAsciiWord(QString()).isEmpty());
    EXPECT_TRUE(FirstAsciiWord(QStringLiteral("かなと漢字")).isEmpty());
    EXPECT_TRUE(FirstAsciiWord(QStringLiteral("カタカナ")).isEmpty())
        << "narrowed, still not ASCII";
    EXPECT_TRUE(FirstAsciiWord(QStringLiteral(" \t\r\n\u3000")).isEmpty());
    EXPECT_TRUE(FirstAsciiWord(QString(QChar(0x7f))).isEmpty());
}

TEST(ClipboardWordTest, CharactersOutsideTheRangeEndTheWord) {
    EXPECT_EQ(FirstAsciiWord(QStringLiteral("ABC\x7f"
                                            "DEF")),
              QStringLiteral("ABC"));
    EXPECT_EQ(FirstAsciiWord(QStringLiteral("ABCéDEF")), QStringLiteral("ABC"));
    EXPECT_EQ(FirstAsciiWord(QStringLiteral("ABC") + QChar(0) + QStringLiteral("DEF")),
              QStringLiteral("ABC"));
    EXPECT_EQ(FirstAsciiWord(QString(QChar(0)) + QStringLiteral("ABC")), QStringLiteral("ABC"));
    EXPECT_EQ(FirstAsciiWord(QStringLiteral("ＡＢ漢ＣＤ")), QStringLiteral("AB"));
    EXPECT_EQ(FirstAsciiWord(QStringLiteral("😀WORD😀")), QStringLiteral("WORD"));
}

TEST(ClipboardWordTest, LongTextsAreReadAcrossPieces) {
    // A word that starts after many skipped characters and runs across piece boundaries.
    QString text(10000, QChar(u'あ'));
    const QString word(9000, QLatin1Char('W'));
    text += word + QStringLiteral(" tail");
    EXPECT_EQ(FirstAsciiWord(text), word);

    // A surrogate pair falling exactly on a boundary is neither split nor taken for ASCII.
    for (int lead : {4095, 4094, 4096}) {
        QString t(lead, QChar(u'か'));
        t += QStringLiteral("😀😀OK");
        EXPECT_EQ(FirstAsciiWord(t), QStringLiteral("OK")) << lead;
    }
    // Full-width letters across a boundary are narrowed on both sides.
    QString wide(4094, QChar(u'か'));
    wide += QStringLiteral("ＡＢＣＤ");
    EXPECT_EQ(FirstAsciiWord(wide), QStringLiteral("ABCD"));
}

TEST(ClipboardWordTest, HugeTextEndsAtTheFirstWord) {
    const QString text = QStringLiteral("CPU ") + QString(8 * 1024 * 1024, QLatin1Char('x'));
    EXPECT_EQ(FirstAsciiWord(text), QStringLiteral("CPU"));
}

} // namespace
