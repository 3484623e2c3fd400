#include "WordListFiles.h"
#include "tools/EdictFile.h"
#include "tools/EucJpDecoder.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(EucJpDecoderTest, DecodesTheListsTextAndRefusesOtherBytes) {
    EucJpDecoder decoder;
    ASSERT_TRUE(decoder.Ok());
    QString text;
    // JIS X 0208 kanji and kana, ASCII, half-width katakana (0x8E) and JIS X 0212 (0x8F).
    EXPECT_TRUE(
        decoder.Decode(QByteArray::fromHex("c3e6b1fbbde8cdfd205ba4c1a4e55d202f4350552f"), &text));
    EXPECT_EQ(text, QStringLiteral("中央処理 [ちゅ] /CPU/"));
    EXPECT_TRUE(decoder.Decode(QByteArray::fromHex("8eb68ec5"), &text));
    EXPECT_EQ(text, QStringLiteral("ｶﾅ"));
    EXPECT_TRUE(decoder.Decode(QByteArray::fromHex("8fb0a1"), &text));
    EXPECT_EQ(text, QStringLiteral("丂"));
    EXPECT_TRUE(decoder.Decode(QByteArray("a\\b"), &text));
    EXPECT_EQ(text, QStringLiteral("a\\b"));
    EXPECT_TRUE(decoder.Decode(QByteArray(), &text));
    EXPECT_TRUE(text.isEmpty());

    // A lead byte cut off at the end, a byte no EUC-JP text has, a lead byte before ASCII, and
    // UTF-8 Japanese.
    for (const char* hex : {"c3e6b1", "41ff42", "8e20", "e4b8ad"}) {
        EXPECT_FALSE(decoder.Decode(QByteArray::fromHex(hex), &text)) << hex;
        EXPECT_TRUE(text.isEmpty()) << hex;
    }
    // A refused line leaves the decoder fit for the next.
    EXPECT_TRUE(decoder.Decode(QByteArray::fromHex("c3e6b1fb"), &text));
    EXPECT_EQ(text, QStringLiteral("中央"));
}

TEST(EdictLineTest, HeadwordReadingSensesAndTags) {
    EdictEntry e;
    ASSERT_EQ(ParseEdictLine(u"中央処理装置 [ちゅうおうしょりそうち] /(n) (comp) central "
                             u"processing unit/CPU/",
                             &e),
              EdictParse::Ok);
    EXPECT_EQ(e.headword, QStringLiteral("中央処理装置"));
    EXPECT_EQ(e.reading, QStringLiteral("ちゅうおうしょりそうち"));
    ASSERT_EQ(e.senses.size(), 1);
    EXPECT_EQ(e.senses.at(0).tags, (QStringList{QStringLiteral("n"), QStringLiteral("comp")}));
    EXPECT_TRUE(e.senses.at(0).Computing());
    EXPECT_EQ(e.senses.at(0).glosses,
              (QStringList{QStringLiteral("central processing unit"), QStringLiteral("CPU")}));
    EXPECT_FALSE(e.common);

    // A kana headword is its own reading; "(P)" marks a common word and is no gloss.
    ASSERT_EQ(ParseEdictLine(u"フロッピーディスク /(n) (comp) floppy disk/flexible disk/(P)/", &e),
              EdictParse::Ok);
    EXPECT_TRUE(e.reading.isEmpty());
    EXPECT_TRUE(e.common);
    EXPECT_EQ(e.senses.at(0).glosses.size(), 2);

    // Numbered senses each carry their own tags: only the first is about computing.
    ASSERT_EQ(ParseEdictLine(u"ＲＩＰ [リップ] /(n) (1) (comp) raster image processor/RIP/"
                             u"(n,vs) (2) rest in peace/(adj-na,n) (3) (abbr) (sl) rip/",
                             &e),
              EdictParse::Ok);
    ASSERT_EQ(e.senses.size(), 3);
    EXPECT_TRUE(e.senses.at(0).Computing());
    EXPECT_EQ(e.senses.at(0).glosses.size(), 2);
    EXPECT_FALSE(e.senses.at(1).Computing());
    EXPECT_EQ(e.senses.at(1).tags, (QStringList{QStringLiteral("n"), QStringLiteral("vs")}));
    EXPECT_EQ(e.senses.at(1).glosses, QStringList{QStringLiteral("rest in peace")});
    EXPECT_EQ(e.senses.at(2).tags, (QStringList{QStringLiteral("adj-na"), QStringLiteral("n"),
                                                QStringLiteral("abbr"), QStringLiteral("sl")}));

    // Parentheses that are not tags belong to the gloss; dialects and verb classes are tags;
    // the sequence number of the XML edition is dropped.
    ASSERT_EQ(ParseEdictLine(u"感染 [かんせん] /(n,vs) (ksb:) (computer) virus infection/"
                             u"(v5r,vt) catching (a cold)/EntL1234567X/",
                             &e),
              EdictParse::Ok);
    ASSERT_EQ(e.senses.size(), 1);
    EXPECT_EQ(e.senses.at(0).glosses, (QStringList{QStringLiteral("(computer) virus infection"),
                                                   QStringLiteral("catching (a cold)")}));
    EXPECT_TRUE(e.senses.at(0).tags.contains(QStringLiteral("ksb:")));
    EXPECT_TRUE(e.senses.at(0).tags.contains(QStringLiteral("v5r")));
    EXPECT_FALSE(IsEdictTag(u"computer"));
    EXPECT_TRUE(IsEdictTag(u"adj-no"));

    EXPECT_EQ(ParseEdictLine(EdictHeaderLine(), &e), EdictParse::Header);
}

TEST(EdictLineTest, MalformedLines) {
    EdictEntry e;
    for (const char16_t* line : {
             u"中央処理装置 [ちゅうおうしょりそうち] central processing unit", // no slash
             u"中央処理装置 /(n) central processing unit",                     // not closed
             u"４° [しど] /",                                                  // no gloss
             u"中央処理装置 /(n)/(P)/",                                        // tags alone
             u" /(n) nameless/",                                               // no headword
             u"中央 処理 /(n) centre/",        // a space in the headword
             u"中央 [ちゅうおう /(n) centre/", // reading not closed
             u"",
         }) {
        EXPECT_EQ(ParseEdictLine(line, &e), EdictParse::NotAnEntry)
            << QString::fromUtf16(line).toStdString();
    }
}

class EdictFileTest : public ::testing::Test {
protected:
    QString Write(const QString& name, const QStringList& lines) {
        return WriteWordList(dir_.path(), name, lines);
    }
    QTemporaryDir dir_;
};

TEST_F(EdictFileTest, ToldApartByTheirOwnContent) {
    const QString edict =
        Write(QStringLiteral("edict"),
              {EdictHeaderLine(), QStringLiteral("液晶 [えきしょう] /(n) liquid crystal/")});
    const QString compdic =
        Write(QStringLiteral("compdic"),
              {QStringLiteral("液晶 [えきしょう] /(n) liquid crystal/"),
               QStringLiteral("ＤＯＳ [ドス] /(n) disk operating system/DOS/")});
    QString error;
    EXPECT_TRUE(EdictFile::IsEdictForm(edict));
    EXPECT_TRUE(EdictFile::IsEdictForm(compdic));
    auto e = EdictFile::Open(edict, &error);
    auto c = EdictFile::Open(compdic, &error);
    ASSERT_TRUE(e && c) << qPrintable(error);
    EXPECT_EQ(e->FileKind(), EdictFile::Kind::Edict);
    EXPECT_EQ(c->FileKind(), EdictFile::Kind::Compdic);

    // Neither a dictd index, nor UTF-8 text, nor a missing file is such a list.
    const QString index = dir_.filePath(QStringLiteral("vera.index"));
    QFile f(index);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("00databaseshort\tA\tB\ncpu /x/\tB\tC\n");
    f.close();
    EXPECT_FALSE(EdictFile::IsEdictForm(index));
    const QString utf8 = dir_.filePath(QStringLiteral("utf8"));
    QFile u(utf8);
    ASSERT_TRUE(u.open(QIODevice::WriteOnly));
    u.write(QStringLiteral("液晶 [えきしょう] /(n) liquid crystal/\n").toUtf8());
    u.close();
    EXPECT_FALSE(EdictFile::IsEdictForm(utf8));
    EXPECT_FALSE(EdictFile::IsEdictForm(dir_.filePath(QStringLiteral("absent"))));
    EXPECT_FALSE(EdictFile::Open(dir_.filePath(QStringLiteral("absent")), &error));
    EXPECT_TRUE(error.contains(QLatin1String("cannot read"))) << qPrintable(error);
}

TEST_F(EdictFileTest, BadLinesAreCountedAndTheRestIsRead) {
    const QString path = dir_.filePath(QStringLiteral("edict"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(EucJpBytes(EdictHeaderLine()) + "\n");                                          // 1
    file.write(EucJpBytes(QStringLiteral("液晶 [えきしょう] /(n) liquid crystal/")) + "\r\n"); // 2
    file.write("\n");                                                                          // 3
    file.write(EucJpBytes(QStringLiteral("液晶 [えきしょう] no slash at all")) + "\n");        // 4
    file.write("\xc3\xe6\xff /(n) broken/\n");                                                 // 5
    file.write(QByteArray(1 << 20, 'x') + " /(n) a megabyte/\n");                              // 6
    file.write(EucJpBytes(QStringLiteral("中央 [ちゅうおう] /(n) centre/")) + "\n");           // 7
    file.write("\xa4 /(n) a lead byte alone/\n");                                              // 8
    file.write(EucJpBytes(QStringLiteral("最後 [さいご] /(n) last, no line feed/")));          // 9
    file.close();

    QString error;
    auto list = EdictFile::Open(path, &error);
    ASSERT_TRUE(list) << qPrintable(error);
    QStringList read;
    qint64 lastDone = -1;
    qint64 lastTotal = -1;
    list->Read(
        [&](const EdictEntry& e) {
            read << e.headword + QLatin1Char('=') + e.senses.at(0).glosses.at(0);
        },
        [&](qint64 done, qint64 total) {
            lastDone = done;
            lastTotal = total;
        });
    EXPECT_EQ(read,
              (QStringList{QStringLiteral("液晶=liquid crystal"), QStringLiteral("中央=centre"),
                           QStringLiteral("最後=last, no line feed")}));
    EXPECT_EQ(lastDone, lastTotal);
    const EdictFile::Skipped& s = list->SkippedLines();
    EXPECT_EQ(s.notAnEntry, 1);
    EXPECT_EQ(s.firstNotAnEntry, 4);
    EXPECT_EQ(s.notEucJp, 2);
    EXPECT_EQ(s.firstNotEucJp, 5);
    EXPECT_EQ(s.tooLong, 1);
    EXPECT_EQ(s.firstTooLong, 6);
}

} // namespace
