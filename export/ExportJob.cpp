#include "export/ExportJob.h"

#include "base/AppInfo.h"
#include "export/DictdWriter.h"
#include "export/SourceDictionary.h"
#include "export/SourceNotices.h"
#include "export/StarDictWriter.h"

#include <QDate>
#include <QFileInfo>
#include <memory>

namespace {

// How often the progress is told and an interruption looked for.
constexpr qint64 kCheckEvery = 1024;

DictionaryInfo InfoFor(const ExportJob& job, const ExportStats& stats,
                       const SourceNotices& notices) {
    DictionaryInfo info;
    info.name = job.name;
    info.bookName = AppInfo::ProductName();
    if (job.name != QLatin1String("tessarine"))
        info.bookName += QLatin1Char(' ') + job.name;
    info.paragraphs << QStringLiteral("%1: a dictionary of computer and technical abbreviations "
                                      "for Japanese readers, exported from %2 by tessarine-export "
                                      "%3.%4.%5 on %6 (%7 entries).")
                           .arg(info.bookName, QFileInfo(job.dictionaryPath).fileName())
                           .arg(AppInfo::VersionMajor())
                           .arg(AppInfo::VersionMinor())
                           .arg(AppInfo::VersionPatch())
                           .arg(QDate::currentDate().toString(Qt::ISODate))
                           .arg(stats.entriesWritten);
    info.paragraphs << QStringLiteral("Sources and licences:");
    info.paragraphs << notices.Paragraphs();
    return info;
}

std::unique_ptr<FormatWriter> WriterFor(const ExportJob& job, StagedFiles& files,
                                        ExportStats& stats) {
    if (job.format == ExportFormat::StarDict)
        return std::make_unique<StarDictWriter>(files, job.name, stats);
    return std::make_unique<DictdWriter>(files, job.name, stats);
}

// Reads every entry into the writer; false with *error when reading or writing fails.
bool ExportEntries(const ExportJob& job, SourceDictionary& source, FormatWriter& writer,
                   SourceNotices& notices, ExportStats& stats, QString* error) {
    SourceDictionary::Entry raw;
    while (source.Next(raw)) {
        if (++stats.entriesRead % kCheckEvery == 0) {
            if (job.progress)
                job.progress(stats.entriesRead, source.EntryCount());
            if (job.interrupted && job.interrupted()) {
                *error = QStringLiteral("interrupted");
                return false;
            }
        }
        notices.See(raw);
        ExportEntry entry = ExportEntry::From(raw, source);
        if (entry.abbr.isEmpty()) {
            ++stats.withoutAbbreviation;
            continue;
        }
        if (!entry.hasDescription) {
            if (entry.letter.isEmpty()) {
                ++stats.empty;
                continue;
            }
            ++stats.withoutDescription;
        }
        if (entry.cleaned)
            ++stats.cleaned;
        if (!writer.Add(std::move(entry))) {
            *error = writer.ErrorText();
            return false;
        }
    }
    if (source.Failed()) {
        *error = QStringLiteral("%1: reading the entries failed: %2")
                     .arg(job.dictionaryPath, source.ErrorText());
        return false;
    }
    if (job.progress)
        job.progress(stats.entriesRead, source.EntryCount());
    return true;
}

} // namespace

bool RunExport(const ExportJob& job, ExportStats* stats, QString* error) {
    *stats = ExportStats();
    std::unique_ptr<SourceDictionary> source = SourceDictionary::Open(job.dictionaryPath, error);
    if (!source)
        return false;
    const bool stardict = job.format == ExportFormat::StarDict;
    std::unique_ptr<StagedFiles> files = StagedFiles::Prepare(
        job.outputDirectory,
        stardict ? StarDictWriter::FileNames(job.name) : DictdWriter::FileNames(job.name),
        stardict ? StarDictWriter::StaleNames(job.name) : DictdWriter::StaleNames(job.name),
        job.force, error);
    if (!files)
        return false;
    std::unique_ptr<FormatWriter> writer = WriterFor(job, *files, *stats);
    SourceNotices notices(job.programDictionary);
    if (!writer->Begin()) {
        *error = writer->ErrorText();
        return false;
    }
    if (!ExportEntries(job, *source, *writer, notices, *stats, error))
        return false;
    if (!writer->EndEntries()) {
        *error = writer->ErrorText();
        return false;
    }
    // A dictionary without a single article is no use to any reader.
    if (stats->entriesWritten == 0) {
        *error = stats->entriesRead == 0
                     ? QStringLiteral("%1: the dictionary has no entries").arg(job.dictionaryPath)
                     : QStringLiteral("%1: none of its %2 entries can be exported")
                           .arg(job.dictionaryPath)
                           .arg(stats->entriesRead);
        return false;
    }
    if (!writer->Finish(InfoFor(job, *stats, notices))) {
        *error = writer->ErrorText();
        return false;
    }
    return files->Commit(error);
}
