#include "BuiltDictionaryTest.h"
#include "DictdFiles.h"
#include "WordListFiles.h"
#include "data/DbAccess.h"
#include "data/Recordset.h"
#include "data/Strings.h"
#include "support/DataFixtures.h"
#include "tools/DictdDatabase.h"
#include "tools/DictdImport.h"
#include "tools/FoldocMarkup.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The acronym list and the encyclopaedia with both word lists beside them, merged, written and
// opened as the program opens a dictionary.
class JapaneseImportTest : public BuiltDictionaryTest<JapaneseImportTest> {
protected:
    static void SetUpTestSuite() {
        dir_ = new QTemporaryDir;
        DictdWriter vera = DictdWriter::Vera();
        vera.AddVera(QStringLiteral("CPU"), QStringLiteral("Central Processing Unit"));
        vera.AddVera(QStringLiteral("LCD"), QStringLiteral("Liquid Crystal Display"));
        vera.AddVera(QStringLiteral("GUI"), QStringLiteral("Graphical User Interface"));
        vera.AddVera(QStringLiteral("FAQ"), QStringLiteral("Frequently Asked Questions"));
        vera.AddVera(QStringLiteral("HDD"), QStringLiteral("Hard Disk Drive"));
        vera.AddVera(QStringLiteral("RAM"), QStringLiteral("Random Access Memory"));
        vera.AddVera(QStringLiteral("CA"), QStringLiteral("Certificate Authority"));
        vera.AddVera(QStringLiteral("ZZTOP"), QStringLiteral("Zebra Zone Top"));

        DictdWriter foldoc = DictdWriter::Foldoc();
        foldoc.AddFoldoc({QStringLiteral("central processing unit"), QStringLiteral("CPU")},
                         {QStringLiteral("<processor> (CPU) The part of a computer.")});
        foldoc.AddFoldoc({QStringLiteral("floppy disk")},
                         {QStringLiteral("<storage> A small, portable plastic disk.")});
        QStringList longBody{QStringLiteral("<storage> (RAM) A memory.")};
        for (int p = 0; p < 90; ++p)
            longBody << QString()
                     << QStringLiteral("Paragraph %1 about memory that goes on and on for a "
                                       "good while.")
                            .arg(p);
        foldoc.AddFoldoc({QStringLiteral("random access memory"), QStringLiteral("RAM")}, longBody);

        const QString compdic = WriteWordList(
            dir_->path(), QStringLiteral("compdic"),
            {
                QStringLiteral(
                    "中央処理装置 [ちゅうおうしょりそうち] /(n) central processing unit/CPU/"),
                QStringLiteral(
                    "液晶ディスプレイ [えきしょうディスプレイ] /(n) liquid-crystal display/LCD/"),
                QStringLiteral("ＧＵＩ [グイ] /(n) graphical user interface/GUI/"),
                QStringLiteral("ＤＯＳ／Ｖ [ドスブイ] /(n) DOS-V/Japanese-capable version of DOS/"),
                QStringLiteral("ＦＤ [エフディー] /(n) floppy disk/FD/"),
                QStringLiteral("フロッピーディスク /(n) floppy disk/"),
                QStringLiteral("ランダムアクセスメモリ /(n) random access memory/RAM/"),
                QStringLiteral("ＣＡ [シーエー] /(n) (1) cabin attendant/(n) (2) certificate "
                               "authority/CA/(n) (3) collision avoidance/"),
            });
        QFile damaged(compdic);
        ASSERT_TRUE(damaged.open(QIODevice::Append));
        damaged.write("\xa4\xa2\xff /(n) damaged/\n");
        damaged.close();
        const QString edict = WriteWordList(
            dir_->path(), QStringLiteral("edict"),
            {
                EdictHeaderLine(),
                QStringLiteral("中央演算処理装置 [ちゅうおうえんざんしょりそうち] /(n) (comp) "
                               "central processing unit/CPU/"),
                QStringLiteral(
                    "よくある質問 [よくあるしつもん] /(exp) frequently asked questions/FAQ/(P)/"),
                QStringLiteral("ＨＤＤ [エッチディーディー] /(n) (comp) hard disk drive/HDD/"),
                QStringLiteral("ハードディスクドライブ /(n) (comp) hard disk drive/"),
                QStringLiteral("ＬＣＤ [エルシーディー] /(n) liquid crystal display/LCD/"),
                QStringLiteral("ＸＹＺＺＹ [ジジー] /(n) magic word/"),
                QStringLiteral("ＣＡ [シーエー] /(n) (1) (abbr) cabin attendant/(n) (2) (comp) "
                               "certificate authority/CA/(n) (3) (comp) collision avoidance/"),
                QStringLiteral("壊れた行 [こわれたぎょう] no slash"),
            });

        QString error;
        auto veraDb = DictdDatabase::Open(vera.Write(dir_->path(), QStringLiteral("vera")), &error);
        auto foldocDb =
            DictdDatabase::Open(foldoc.Write(dir_->path(), QStringLiteral("foldoc")), &error);
        auto compdicList = EdictFile::Open(compdic, &error);
        auto edictList = EdictFile::Open(edict, &error);
        ASSERT_TRUE(veraDb && foldocDb && compdicList && edictList) << qPrintable(error);
        import_ = new DictdImport;
        const auto quiet = [](qint64, qint64) {};
        // The word lists first: the merge does not depend on the order of reading.
        import_->ReadWordList(*edictList, quiet);
        import_->ReadWordList(*compdicList, quiet);
        ASSERT_TRUE(import_->ReadVera(*veraDb, quiet, &error)) << qPrintable(error);
        ASSERT_TRUE(import_->ReadFoldoc(*foldocDb, quiet, &error)) << qPrintable(error);
        WriteBuilt();
    }

    // The entries with this abbreviation, "Abbr=Letter" each.
    QStringList Entries(const char* abbr) {
        RecordingList list;
        TestDb().SearchEntries(QLatin1String(abbr), QString(), 0, list);
        return list.Texts();
    }
    qint32 Id(const QString& abbr, const QString& letter) {
        RecordingList list;
        TestDb().SearchEntries(abbr, letter, 0, list);
        return list.items.size() == 1 ? list.items.first().data : 0;
    }
};

TEST_F(JapaneseImportTest, TermsAndReadingsBeginTheDescription) {
    const qint32 cpu = Id(QStringLiteral("CPU"), QStringLiteral("Central Processing Unit"));
    ASSERT_GT(cpu, 0);
    QString abbr;
    QString url;
    EXPECT_EQ(ShownEntryText(cpu, abbr, url),
              QStringLiteral("\\HCentral Processing Unit [HW]\\h"
                             "\\B中央処理装置\\b（ちゅうおうしょりそうち）、"
                             "\\B中央演算処理装置\\b（ちゅうおうえんざんしょりそうち）\r\n\\F"
                             "<processor> (CPU) The part of a computer."));
    // The plain text has them too, so a copied entry carries them.
    EXPECT_EQ(
        Column(cpu, "Description"),
        QStringLiteral("中央処理装置（ちゅうおうしょりそうち）、中央演算処理装置（ちゅうおうえん"
                       "ざんしょりそうち）\r\n\r\n<processor> (CPU) The part of a computer."));
    EXPECT_TRUE(TestDb().GetEntryCopyText(cpu).contains(QStringLiteral("中央処理装置")));

    // Matching ignores the hyphen; the abbreviation headword gives the reading.
    const qint32 lcd = Id(QStringLiteral("LCD"), QString());
    EXPECT_EQ(
        Column(lcd, "HyperText"),
        QStringLiteral("\\B液晶ディスプレイ\\b（えきしょうディスプレイ）　読み：エルシーディー"));
    // A common word of a non-computing sense serves where nothing else does.
    EXPECT_EQ(Column(Id(QStringLiteral("FAQ"), QString()), "HyperText"),
              QStringLiteral("\\Bよくある質問\\b（よくあるしつもん）"));
    EXPECT_EQ(Column(Id(QStringLiteral("HDD"), QString()), "HyperText"),
              QStringLiteral("\\Bハードディスクドライブ\\b　読み：エッチディーディー"));
    EXPECT_EQ(Column(Id(QStringLiteral("ZZTOP"), QString()), "HyperText"), QString());
}

TEST_F(JapaneseImportTest, ALongArticleMakesRoomForTheTerms) {
    const qint32 ram = Id(QStringLiteral("RAM"), QString());
    const QString text = Column(ram, "HyperText");
    EXPECT_TRUE(
        text.startsWith(QStringLiteral("\\Bランダムアクセスメモリ\\b\r\n\\F<storage> (RAM)")))
        << qPrintable(text.left(80));
    EXPECT_TRUE(text.endsWith(QLatin1String("..."))) << qPrintable(text.right(40));
    EXPECT_EQ(Strings::CutToCodePageBytes(text, DbAccess::kDescriptionBytes), text);
    // Cut to the limit with the terms counted, not before.
    EXPECT_GT(Strings::CodePageLength(text), DbAccess::kDescriptionBytes - 100);
}

TEST_F(JapaneseImportTest, AbbreviationHeadwordsTheDictionaryLacksBecomeEntries) {
    const qint32 notice = Id(QStringLiteral("EDRDG"), QString());
    ASSERT_GT(notice, 0);
    // Found by its own key, spelled out by its first gloss that is not the abbreviation.
    EXPECT_EQ(Entries("dosv"),
              QStringList{QStringLiteral("DOS/V\tJapanese-capable version of DOS")});
    const qint32 dosv = Id(QStringLiteral("DOS/V"), QString());
    EXPECT_EQ(Column(dosv, "HyperText"),
              QStringLiteral("読み：ドスブイ\r\nDOS-V; Japanese-capable version of DOS"
                             "（出典：\\J%1 EDRDG\\j）")
                  .arg(notice));
    // With the encyclopaedia's article on its expansion, which also gives the category.
    const qint32 fd = Id(QStringLiteral("FD"), QString());
    EXPECT_EQ(Column(fd, "Letter"), QStringLiteral("floppy disk"));
    EXPECT_EQ(Column(fd, "HyperText"),
              QStringLiteral("\\Bフロッピーディスク\\b　読み：エフディー\r\nfloppy disk; FD（出典："
                             "\\J%1 EDRDG\\j）\r\n\\F<storage> A small, portable plastic disk.")
                  .arg(notice));
    EXPECT_EQ(TestDb().CategoryShortNames().value(Column(fd, "CategoryID").toInt()),
              QStringLiteral("HW"));
    EXPECT_EQ(Column(fd, "URL"), QStringLiteral("https://foldoc.org/floppy%20disk"));

    // Where the acronym list has the abbreviation with that expansion, the reading goes there.
    EXPECT_EQ(Entries("gui"), QStringList{QStringLiteral("GUI\tGraphical User Interface")});
    EXPECT_EQ(Column(Id(QStringLiteral("GUI"), QString()), "HyperText"),
              QStringLiteral("読み：グイ"));
    // With another expansion, the headword's sense is an entry of its own; not a sense that
    // EDICT has outside computing, although COMPDIC has it too.
    EXPECT_EQ(Entries("ca"), (QStringList{QStringLiteral("CA\tCertificate Authority"),
                                          QStringLiteral("CA\tcollision avoidance")}));
    EXPECT_EQ(
        Column(Id(QStringLiteral("CA"), QStringLiteral("Certificate Authority")), "HyperText"),
        QStringLiteral("読み：シーエー"));
    // EDICT's headwords only through a computing sense.
    EXPECT_TRUE(Entries("xyzzy").isEmpty());
    EXPECT_EQ(Entries("lcd").size(), 1);
}

TEST_F(JapaneseImportTest, TheListsLicenceIsAnEntry) {
    const qint32 notice = Id(QStringLiteral("EDRDG"), QString());
    EXPECT_EQ(Column(notice, "Letter"),
              QStringLiteral("Electronic Dictionary Research and Development Group"));
    EXPECT_EQ(Column(notice, "URL"), QStringLiteral("https://www.edrdg.org/edrdg/licence.html"));
    const QString text = Column(notice, "Description");
    for (const char* needed : {"EDICT", "COMPDIC", "電子辞書研究開発グループ", "CC BY-SA 4.0",
                               "are used in conformance with the Group's licence",
                               "https://creativecommons.org/licenses/by-sa/4.0/"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(needed))) << needed;
    const QString hyperText = Column(notice, "HyperText");
    EXPECT_EQ(Strings::CutToCodePageBytes(hyperText, DbAccess::kDescriptionBytes), hyperText);
    EXPECT_EQ(TestDb().CategoryShortNames().value(Column(notice, "CategoryID").toInt()),
              QStringLiteral("ORG"));
}

TEST_F(JapaneseImportTest, Statistics) {
    const ImportStats& s = import_->Stats();
    EXPECT_EQ(s.veraEntries, 8);
    EXPECT_EQ(s.headwordEntries, 3);           // DOS/V, FD, CA collision avoidance
    EXPECT_EQ(s.headwordsOutsideComputing, 1); // CA cabin attendant
    EXPECT_EQ(s.noticeEntries, 1);
    EXPECT_EQ(s.japaneseEntries, 6);      // CPU LCD FAQ HDD RAM FD
    EXPECT_EQ(s.abbreviationReadings, 7); // LCD GUI HDD CA CA FD DOS/V
    EXPECT_EQ(s.wordListEntries, 15);
    ASSERT_EQ(s.wordListSkips.size(), 2);
    EXPECT_EQ(s.wordListSkips.at(0).first, QStringLiteral("EDICT"));
    EXPECT_EQ(s.wordListSkips.at(0).second.notAnEntry, 1);
    EXPECT_EQ(s.wordListSkips.at(0).second.firstNotAnEntry, 9);
    EXPECT_EQ(s.wordListSkips.at(1).first, QStringLiteral("COMPDIC"));
    EXPECT_EQ(s.wordListSkips.at(1).second.notEucJp, 1);
    EXPECT_EQ(s.wordListSkips.at(1).second.firstNotEucJp, 9);
}

} // namespace
