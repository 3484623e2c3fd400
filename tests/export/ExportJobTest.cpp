#include "export/ExportJob.h"
#include "ExportFixtures.h"
#include "JetTestFiles.h"
#include "export/SourceNotices.h"

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

SourceDictionary::Entry Entry(const QString& abbr, const QString& letter, const QString& hyperText,
                              const QString& url = QString()) {
    SourceDictionary::Entry e;
    e.abbr = abbr;
    e.letter = letter;
    e.hyperText = hyperText;
    e.url = url;
    return e;
}

TEST(SourceNoticesTest, TheSourcesAreThoseTheEntriesShow) {
    const QString joined = QStringLiteral("\n");
    SourceNotices bundled(true);
    bundled.See(Entry(QStringLiteral("CPU"), QStringLiteral("Central Processing Unit"),
                      QStringLiteral("中央処理装置です。")));
    EXPECT_TRUE(bundled.Paragraphs().join(joined).contains(QStringLiteral("Corvantis")));

    // The installed dictionary built from the public sources names them, not the program's own.
    SourceNotices built(true);
    built.See(Entry(QStringLiteral("CPU"), QStringLiteral("Central Processing Unit"),
                    QStringLiteral("<architecture> ..."),
                    QStringLiteral("https://foldoc.org/central%20processing%20unit")));
    for (int i = 0; i < 9; ++i)
        built.See(Entry(QStringLiteral("A%1").arg(i), QStringLiteral("Acronym %1").arg(i),
                        QStringLiteral("Acronym %1 (\\J1 CPU\\j)").arg(i)));
    QString text = built.Paragraphs().join(joined);
    EXPECT_TRUE(text.contains(QStringLiteral("Free On-line Dictionary of Computing")));
    EXPECT_FALSE(text.contains(QStringLiteral("Corvantis")));
    EXPECT_FALSE(text.contains(QStringLiteral("V.E.R.A."))) << "nine such lines could be chance";
    built.See(Entry(QStringLiteral("A9"), QStringLiteral("Acronym 9"),
                    QStringLiteral("Acronym 9 (\\J1 CPU\\j)")));
    built.See(Entry(QStringLiteral("EDRDG"),
                    QStringLiteral("Electronic Dictionary Research and Development Group"),
                    QStringLiteral("\\B出典\\b\r\nEDICT と COMPDIC によるものです。\r\n"
                                   "\\FLicence: CC BY-SA 4.0")));
    text = built.Paragraphs().join(joined);
    EXPECT_TRUE(text.contains(QStringLiteral("V.E.R.A.")));
    EXPECT_TRUE(text.endsWith(QStringLiteral("出典\nEDICT と COMPDIC によるものです。\nLicence: "
                                             "CC BY-SA 4.0")))
        << qPrintable(text);

    EXPECT_TRUE(
        SourceNotices(false).Paragraphs().join(joined).contains(QStringLiteral("no source")));
}

} // namespace
