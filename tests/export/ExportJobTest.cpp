#include "export/ExportJob.h"
#include "ExportFixtures.h"
#include "JetTestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QStringList FilesIn(const QString& dir) {
    return QDir(dir).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

ExportJob Job(ExportFormat format, const QString& dictionary, const QString& out) {
    ExportJob job;
    job.format = format;
    job.dictionaryPath = dictionary;
    job.name = QStringLiteral("tessarine");
    job.outputDirectory = out;
    return job;
}

TEST(ExportJobTest, AnInterruptedExportLeavesTheEarlierOneWhole) {
    // Enough entries for the export to look for an interruption while it reads.
    TestDictionary big;
    big.AddCategory(1, QStringLiteral("一般"), QStringLiteral("GEN"));
    for (int i = 0; i < 3000; ++i)
        big.AddEntry(QStringLiteral("A%1").arg(i), QStringLiteral("Entry %1").arg(i), 1);
    big.Finish();
    QTemporaryDir out;
    for (const ExportFormat format : {ExportFormat::StarDict, ExportFormat::Dictd}) {
        ExportStats stats;
        QString error;
        ExportJob job = Job(format, big.Path(), out.path());
        job.force = true;
        ASSERT_TRUE(RunExport(job, &stats, &error)) << qPrintable(error);
        const QStringList written = FilesIn(out.path());
        QList<QByteArray> digests;
        for (const QString& file : written)
            digests << FileDigest(out.filePath(file));

        int asked = 0;
        job.interrupted = [&asked] { return ++asked >= 2; };
        EXPECT_FALSE(RunExport(job, &stats, &error));
        EXPECT_EQ(error, QStringLiteral("interrupted"));
        EXPECT_EQ(FilesIn(out.path()), written) << "no temporary file is left";
        for (qsizetype i = 0; i < written.size(); ++i)
            EXPECT_EQ(FileDigest(out.filePath(written[i])), digests[i]) << qPrintable(written[i]);
    }
}

TEST(ExportJobTest, AJetDictionaryIsReadThroughTheIsolatedReader) {
    QTemporaryDir dir;
    const QString jet = dir.filePath(QStringLiteral("ABBR.MDB"));
    ASSERT_TRUE(JetDictionary::Standard().Writer().WriteTo(jet));
    const QByteArray before = FileDigest(jet);
    const QString out = dir.filePath(QStringLiteral("out"));
    ExportStats stats;
    QString error;
    ASSERT_TRUE(RunExport(Job(ExportFormat::StarDict, jet, out), &stats, &error))
        << qPrintable(error);
    EXPECT_EQ(stats.entriesWritten, 7);
    const StarDictFiles f = StarDictFiles::Read(out, QStringLiteral("tessarine"), &error);
    ASSERT_TRUE(error.isEmpty()) << qPrintable(error);
    const QList<int> cdrom = f.Lookup(QStringLiteral("CDROM"));
    ASSERT_EQ(cdrom.size(), 1);
    EXPECT_TRUE(f.Article(cdrom[0]).contains(QStringLiteral("Compact Disc Read Only Memory")));
    EXPECT_EQ(FileDigest(jet), before) << "the dictionary is never written";
}

// The dictionary that comes with the program, exported as a user would without naming it.
TEST(ExportJobTest, TheBundledDictionaryRoundTrips) {
    QTemporaryDir out;
    const ProcessResult r = RunExport(
        {QStringLiteral("--format"), QStringLiteral("stardict"), QStringLiteral("-o"), out.path()});
    ASSERT_EQ(r.exitCode, 0) << qPrintable(r.err);
    QString error;
    const StarDictFiles f = StarDictFiles::Read(out.path(), QStringLiteral("tessarine"), &error);
    ASSERT_TRUE(error.isEmpty()) << qPrintable(error);
    EXPECT_TRUE(f.ifo.value(QStringLiteral("description")).contains(QStringLiteral("Corvantis")))
        << "the program's own dictionary says whose it is";
    const QList<std::pair<QString, QString>> words =
        DictionaryWords(QStringLiteral(TESSARINE_BIN_DIR "/ABBR.MDB"));
    ASSERT_GT(words.size(), 100);
    for (const auto& [abbr, letter] : words) {
        EXPECT_FALSE(f.Lookup(abbr).isEmpty()) << qPrintable(abbr);
        if (!letter.isEmpty()) {
            EXPECT_FALSE(f.Lookup(letter).isEmpty()) << qPrintable(letter);
        }
    }
}

} // namespace
