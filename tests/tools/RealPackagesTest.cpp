#include "data/DbAccess.h"
#include "data/Recordset.h"
#include "support/DataFixtures.h"
#include "tools/DictdDatabase.h"
#include "tools/DictdImport.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Debian's dict-vera and dict-foldoc, where they are installed (scripts/run-large installs them).
const QString kVera = QStringLiteral("/usr/share/dictd/vera.index");
const QString kFoldoc = QStringLiteral("/usr/share/dictd/foldoc.index");

TEST(RealPackagesTest, BuildsALargeDictionaryThatFindsCpu) {
    if (!QFile::exists(kVera) || !QFile::exists(kFoldoc))
        GTEST_SKIP() << "dict-vera and dict-foldoc are not installed";
    QString error;
    auto vera = DictdDatabase::Open(kVera, &error);
    ASSERT_TRUE(vera) << qPrintable(error);
    auto foldoc = DictdDatabase::Open(kFoldoc, &error);
    ASSERT_TRUE(foldoc) << qPrintable(error);
    EXPECT_EQ(vera->DatabaseKind(), DictdDatabase::Kind::Vera);
    EXPECT_EQ(foldoc->DatabaseKind(), DictdDatabase::Kind::Foldoc);

    DictdImport import;
    const auto quiet = [](qint64, qint64) {};
    ASSERT_TRUE(import.ReadVera(*vera, quiet, &error)) << qPrintable(error);
    ASSERT_TRUE(import.ReadFoldoc(*foldoc, quiet, &error)) << qPrintable(error);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ABBR.MDB"));
    ASSERT_TRUE(WriteDictionary(import.Build(), path, quiet, &error)) << qPrintable(error);

    MessageRecorder recorder;
    RecordingList categories;
    ASSERT_GE(OpenForTest(path, &categories), 10);
    EXPECT_TRUE(recorder.boxes.isEmpty());
    auto rs = Recordset::Open(DbAccess::DictionaryDb(),
                              QStringLiteral("SELECT count(*) AS n FROM AbbrTB"));
    ASSERT_TRUE(rs && !rs->Eof());
    EXPECT_GE(rs->Integer("n"), 10000);
    EXPECT_GT(import.Stats().withArticle, 1000);
    EXPECT_GT(import.Stats().relatedWords, 1000);

    RecordingList results;
    ASSERT_GE(DbAccess::SearchEntries(QStringLiteral("cpu"), QString(), 0, results), 1);
    qint32 cpu = 0;
    for (const auto& item : results.items) {
        if (item.text == QStringLiteral("CPU\tCentral Processing Unit"))
            cpu = item.data;
    }
    ASSERT_GT(cpu, 0) << qPrintable(results.Texts().join(QLatin1Char('|')));
    QString abbr;
    QString url;
    const QString shown = DbAccess::GetEntryText(cpu, abbr, url);
    EXPECT_TRUE(shown.startsWith(QLatin1String("\\HCentral Processing Unit [HW]\\h")))
        << qPrintable(shown.left(200));
    EXPECT_TRUE(shown.contains(QLatin1String("\\J"))) << "the article's references are links";
    DbAccess::CloseDictionary();
}

} // namespace
