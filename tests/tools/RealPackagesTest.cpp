#include "data/DbAccess.h"
#include "data/Recordset.h"
#include "support/DataFixtures.h"
#include "tools/DictdDatabase.h"
#include "tools/DictdImport.h"
#include "tools/EdictFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Debian's dict-vera, dict-foldoc and edict, where they are installed (scripts/run-large installs
// them).
const QString kVera = QStringLiteral("/usr/share/dictd/vera.index");
const QString kFoldoc = QStringLiteral("/usr/share/dictd/foldoc.index");
const QString kEdict = QStringLiteral("/usr/share/edict/edict");
const QString kCompdic = QStringLiteral("/usr/share/edict/compdic");

// Writes what the import merged and opens it as the program opens a dictionary: without a
// message, with the categories a large dictionary has.
void WriteAndOpen(DictdImport& import, const QString& path) {
    QString error;
    ASSERT_TRUE(WriteDictionary(import.Build(), path, &error, [](qint64, qint64) {}))
        << qPrintable(error);
    MessageRecorder recorder;
    RecordingList categories;
    ASSERT_GE(OpenForTest(path, &categories), 10);
    EXPECT_TRUE(recorder.boxes.isEmpty());
}

// Reads the two dictd packages into the import, as tessarine-dictd does first.
void ReadVeraAndFoldoc(DictdImport& import) {
    QString error;
    auto vera = DictdDatabase::Open(kVera, &error);
    ASSERT_TRUE(vera) << qPrintable(error);
    auto foldoc = DictdDatabase::Open(kFoldoc, &error);
    ASSERT_TRUE(foldoc) << qPrintable(error);
    EXPECT_EQ(vera->DatabaseKind(), DictdDatabase::Kind::Vera);
    EXPECT_EQ(foldoc->DatabaseKind(), DictdDatabase::Kind::Foldoc);
    const auto quiet = [](qint64, qint64) {};
    ASSERT_TRUE(import.ReadVera(*vera, quiet, &error)) << qPrintable(error);
    ASSERT_TRUE(import.ReadFoldoc(*foldoc, quiet, &error)) << qPrintable(error);
}

TEST(RealPackagesTest, BuildsALargeDictionaryThatFindsCpu) {
    if (!QFile::exists(kVera) || !QFile::exists(kFoldoc))
        GTEST_SKIP() << "dict-vera and dict-foldoc are not installed";
    DictdImport import;
    ASSERT_NO_FATAL_FAILURE(ReadVeraAndFoldoc(import));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ABBR.MDB"));
    ASSERT_NO_FATAL_FAILURE(WriteAndOpen(import, path));
    auto rs = Recordset::Open(TestDb().Db(), QStringLiteral("SELECT count(*) AS n FROM AbbrTB"));
    ASSERT_TRUE(rs && !rs->Eof());
    EXPECT_GE(rs->Integer("n"), 10000);
    EXPECT_GT(import.Stats().withArticle, 1000);
    EXPECT_GT(import.Stats().relatedWords, 1000);

    RecordingList results;
    ASSERT_GE(TestDb().SearchEntries(QStringLiteral("cpu"), QString(), 0, results), 1);
    qint32 cpu = 0;
    for (const auto& item : results.items) {
        if (item.text == QStringLiteral("CPU\tCentral Processing Unit"))
            cpu = item.data;
    }
    ASSERT_GT(cpu, 0) << qPrintable(results.Texts().join(QLatin1Char('|')));
    QString abbr;
    QString url;
    const QString shown = ShownEntryText(cpu, abbr, url);
    EXPECT_TRUE(shown.startsWith(QLatin1String("\\HCentral Processing Unit [HW]\\h")))
        << qPrintable(shown.left(200));
    EXPECT_TRUE(shown.contains(QLatin1String("\\J"))) << "the article's references are links";
    TestDb().Close();
}

TEST(RealPackagesTest, TheWordListsGiveJapaneseTerms) {
    for (const QString& path : {kVera, kFoldoc, kEdict, kCompdic}) {
        if (!QFile::exists(path))
            GTEST_SKIP() << "dict-vera, dict-foldoc and edict are not all installed";
    }
    ASSERT_TRUE(EdictFile::IsEdictForm(kEdict));
    ASSERT_TRUE(EdictFile::IsEdictForm(kCompdic));
    QString error;
    auto edict = EdictFile::Open(kEdict, &error);
    auto compdic = EdictFile::Open(kCompdic, &error);
    ASSERT_TRUE(edict && compdic) << qPrintable(error);
    EXPECT_EQ(edict->FileKind(), EdictFile::Kind::Edict);
    EXPECT_EQ(compdic->FileKind(), EdictFile::Kind::Compdic);

    DictdImport import;
    ASSERT_NO_FATAL_FAILURE(ReadVeraAndFoldoc(import));
    const auto quiet = [](qint64, qint64) {};
    import.ReadWordList(*compdic, quiet);
    import.ReadWordList(*edict, quiet);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ABBR.MDB"));
    ASSERT_NO_FATAL_FAILURE(WriteAndOpen(import, path));
    const ImportStats& s = import.Stats();
    EXPECT_GT(s.wordListEntries, 250000);
    EXPECT_GE(s.japaneseEntries, 600);
    EXPECT_GT(s.headwordEntries, 0);
    // The packaged lists are sound: hardly a line is left out.
    for (const auto& [list, skipped] : s.wordListSkips)
        EXPECT_LT(skipped.notAnEntry + skipped.notEucJp + skipped.tooLong, 10) << qPrintable(list);
    auto rs =
        Recordset::Open(TestDb().Db(), QStringLiteral("SELECT count(*) AS n FROM AbbrTB WHERE "
                                                      "substr(HyperText, 1, 2) = '\\B'"));
    ASSERT_TRUE(rs && !rs->Eof());
    EXPECT_GE(rs->Integer("n"), 600);

    RecordingList results;
    ASSERT_GE(TestDb().SearchEntries(QStringLiteral("cpu"),
                                     QStringLiteral("central processing unit"), 0, results),
              1);
    QString abbr;
    QString url;
    const QString shown = ShownEntryText(results.items.first().data, abbr, url);
    EXPECT_TRUE(shown.startsWith(QStringLiteral(
        "\\HCentral Processing Unit [HW]\\h\\B中央処理装置\\b（ちゅうおうしょりそうち）")))
        << qPrintable(shown.left(200));
    TestDb().Close();
}

} // namespace
