// Folding for the full-text search: full-width to half-width as ICU narrows it for
// paste-and-search, then case.
#include "fulltext/TextFold.h"
#include "data/DictionaryFile.h"
#include "search/ClipboardWord.h"

#include <QFileInfo>
#include <gtest/gtest.h>
#include <unicode/uchar.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// ICU over the whole text at once, then case: what the table must agree with.
QString ReferenceFold(const QString& text) {
    const QString narrow = ClipboardWord::WideToNarrow(text);
    QString folded;
    for (qsizetype i = 0; i < narrow.size(); ++i) {
        char32_t c = narrow[i].unicode();
        if (narrow[i].isHighSurrogate() && i + 1 < narrow.size() &&
            narrow[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(narrow[i], narrow[i + 1]);
            ++i;
        }
        const char32_t lower = char32_t(u_foldCase(UChar32(c), U_FOLD_CASE_DEFAULT));
        folded += QString::fromUcs4(&lower, 1);
    }
    return folded;
}

std::string IndexText(const QString& text) {
    std::string out;
    TextFold::AppendIndexText(text, out);
    return out;
}

TEST(TextFold, CaseAndWidthFoldAlike) {
    for (const QString& cpu : {u"CPU"_s, u"cpu"_s, u"ＣＰＵ"_s, u"ｃｐｕ"_s, u"Cpu"_s})
        EXPECT_EQ(TextFold::Fold(cpu), u"cpu"_s) << cpu.toStdString();
    EXPECT_EQ(TextFold::Fold(u"データ"_s), TextFold::Fold(u"ﾃﾞｰﾀ"_s));
    EXPECT_EQ(TextFold::Fold(u"データ"_s), u"ﾃﾞｰﾀ"_s);
    EXPECT_EQ(TextFold::Fold(u"ガ"_s).size(), 2); // the voiced mark becomes a character of its own
    EXPECT_EQ(TextFold::Fold(u"１２３！"_s), u"123!"_s);
    EXPECT_EQ(TextFold::Fold(u"ÀÉÎ"_s), u"àéî"_s);
    EXPECT_EQ(TextFold::Fold(u"中央処理装置"_s), u"中央処理装置"_s);
    EXPECT_EQ(TextFold::Fold(u"\U00010400"_s), u"\U00010428"_s); // case beyond 16 bits
}

TEST(TextFold, TableAgreesWithIcuOverTheBundledDictionary) {
    const QString path = QStringLiteral(TESSARINE_BIN_DIR "/ABBR.MDB");
    if (!QFileInfo::exists(path))
        GTEST_SKIP() << "the bundled dictionary has not been built";
    SqliteDb db = DictionaryFile::OpenSqlite(path);
    ASSERT_TRUE(db);
    sqlite3_stmt* raw = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db.get(),
                                 "SELECT Abbr, coalesce(Letter, ''), HyperText FROM AbbrTB", -1,
                                 &raw, nullptr),
              SQLITE_OK);
    SqliteStmt stmt(raw);
    int rows = 0;
    while (sqlite3_step(raw) == SQLITE_ROW) {
        for (int column = 0; column < 3; ++column) {
            const QString text =
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(raw, column)));
            ASSERT_EQ(TextFold::Fold(text), ReferenceFold(text)) << text.toStdString();
        }
        ++rows;
    }
    EXPECT_GT(rows, 100);
}

TEST(TextFold, TableAgreesWithIcuOnWidthFormsAndKana) {
    QString sample;
    for (char16_t u = 0xFF01; u <= 0xFFEE; ++u) // every half- and full-width form
        sample += QChar(u);
    for (char16_t u = 0x3000; u <= 0x30FF; ++u) // CJK punctuation, hiragana, katakana
        sample += QChar(u);
    sample += u"ｶﾞｷﾞｸﾞ ﾊﾟﾋﾟ ヴ ｳﾞ"_s;
    EXPECT_EQ(TextFold::Fold(sample), ReferenceFold(sample));
}

TEST(TextFold, FoldingTwiceChangesNothing) {
    for (char32_t u = 1; u < 0x10000; ++u) {
        if (u >= 0xD800 && u <= 0xDFFF)
            continue;
        const QString once = TextFold::Fold(QString(QChar(char16_t(u))));
        ASSERT_EQ(TextFold::Fold(once), once) << "U+" << std::hex << unsigned(u);
    }
}

TEST(TextFold, OriginMapsEveryFoldedUnitToItsSource) {
    QList<qsizetype> origin;
    const QString folded = TextFold::Fold(u"Aガ\U00010400b"_s, origin);
    EXPECT_EQ(folded, u"aｶﾞ\U00010428b"_s);
    EXPECT_EQ(origin, (QList<qsizetype>{0, 1, 1, 2, 2, 4}));
}

TEST(TextFold, IndexTextIsTheFoldingInUtf8WithSeparatorsAsOneLineFeed) {
    EXPECT_EQ(IndexText(u"ＣＰＵ　データ\t\t処理\r\nX"_s),
              (TextFold::Fold(u"cpu"_s) + u"\n"_s + TextFold::Fold(u"ﾃﾞｰﾀ"_s) + u"\n処理\nx"_s)
                  .toStdString());
    EXPECT_EQ(IndexText(u"a\u0000b"_s), "a\nb");
    EXPECT_EQ(IndexText(u"a"_s + QChar(0xD800) + u"b"_s), "a\nb"); // a lone surrogate separates
    // Printable ASCII takes a short cut; it must fold exactly as the table does.
    QString ascii;
    for (char16_t u = 0x21; u < 0x7F; ++u)
        ascii += QChar(u);
    EXPECT_EQ(IndexText(ascii), TextFold::Fold(ascii).toStdString());
}

TEST(TextFold, SeparatorsAreSpacesOfEitherWidthAndControls) {
    for (char16_t u : {u' ', u'\u3000', u'\t', u'\n', u'\r', u'\0', u'\u00A0', u'\u0085'})
        EXPECT_TRUE(TextFold::IsSeparator(u)) << unsigned(u);
    for (char16_t u : {u'a', u'"', u'*', u'ｱ', u'漢'})
        EXPECT_FALSE(TextFold::IsSeparator(u)) << unsigned(u);
}

TEST(TextFold, SignatureIsStable) {
    EXPECT_EQ(TextFold::Signature().size(), 64);
    EXPECT_EQ(TextFold::Signature(), TextFold::Signature());
}

} // namespace
