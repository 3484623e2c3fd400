#include "export/ExportCommand.h"

#include "base/AppInfo.h"
#include "export/ExportJob.h"
#include "tools/ProgressLine.h"

#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <tuple>

namespace {

constexpr const char* kProgram = "tessarine-export";
constexpr const char* kSynopsis =
    "tessarine-export --format stardict|dictd [-d DICTIONARY] [--name NAME] -o DIRECTORY "
    "[--force]";

void Print(std::FILE* stream, const QString& text) {
    std::fputs(text.toUtf8().constData(), stream);
    std::fflush(stream);
}

struct Options {
    QCommandLineOption format{{QStringLiteral("f"), QStringLiteral("format")},
                              QStringLiteral("stardict (GoldenDict, sdcv, KOReader) or dictd."),
                              QStringLiteral("FORMAT")};
    QCommandLineOption dictionary{
        {QStringLiteral("d"), QStringLiteral("dictionary")},
        QStringLiteral("The dictionary to export (default: the one installed with the program)."),
        QStringLiteral("DICTIONARY")};
    QCommandLineOption name{QStringLiteral("name"),
                            QStringLiteral("Base name of the files and the dictd database "
                                           "(default: tessarine)."),
                            QStringLiteral("NAME"), QStringLiteral("tessarine")};
    QCommandLineOption output{{QStringLiteral("o"), QStringLiteral("output")},
                              QStringLiteral("The directory to write into; made if needed."),
                              QStringLiteral("DIRECTORY")};
    QCommandLineOption force{QStringLiteral("force"),
                             QStringLiteral("Replace the files of an earlier export.")};
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                            QStringLiteral("Show this help and exit.")};
    QCommandLineOption version{QStringLiteral("version"),
                               QStringLiteral("Show the version and exit.")};
};

QString HelpText(QCommandLineParser& parser) {
    QString text = parser.helpText();
    // The parser names the program from the running application; the synopsis says it fully.
    const qsizetype optionsAt = text.indexOf(QLatin1String("Options:"));
    return QStringLiteral("usage: %1\n\n").arg(QLatin1String(kSynopsis)) +
           parser.applicationDescription() + QLatin1String("\n\n") +
           (optionsAt >= 0 ? text.mid(optionsAt) : text);
}

// The job the command line asks for; an empty error means it is complete.
ExportJob JobFrom(QCommandLineParser& parser, const Options& o, const QString& executableDir,
                  QString* error) {
    ExportJob job;
    const QString format = parser.value(o.format);
    if (format == QLatin1String("stardict"))
        job.format = ExportFormat::StarDict;
    else if (format == QLatin1String("dictd"))
        job.format = ExportFormat::Dictd;
    else
        *error = format.isEmpty()
                     ? QStringLiteral("no format given (--format stardict|dictd)")
                     : QStringLiteral("unknown format \"%1\" (stardict or dictd)").arg(format);
    job.name = parser.value(o.name);
    static const QRegularExpression kName(QStringLiteral("^[A-Za-z0-9][A-Za-z0-9._-]{0,63}$"));
    if (error->isEmpty() && !kName.match(job.name).hasMatch())
        *error = QStringLiteral("the name \"%1\" is not usable as a file name: letters, digits, "
                                "\".\", \"_\" and \"-\", at most 64, the first a letter or digit")
                     .arg(job.name);
    job.outputDirectory = parser.value(o.output);
    if (error->isEmpty() && job.outputDirectory.isEmpty())
        *error = QStringLiteral("no output directory given (-o DIRECTORY)");
    if (error->isEmpty() && !parser.positionalArguments().isEmpty())
        *error = QStringLiteral("unexpected argument \"%1\"")
                     .arg(parser.positionalArguments().constFirst());
    const QString installed = AppInfo::InstalledDictionaryPath(executableDir);
    job.dictionaryPath = parser.isSet(o.dictionary) ? parser.value(o.dictionary) : installed;
    const QString canonical = QFileInfo(job.dictionaryPath).canonicalFilePath();
    job.programDictionary =
        !canonical.isEmpty() && canonical == QFileInfo(installed).canonicalFilePath();
    job.force = parser.isSet(o.force);
    return job;
}

// "1 entry", "2 entries".
QString Counted(qint64 count, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? one : many));
}

QString Size(qint64 bytes) {
    return QLocale::c().formattedDataSize(bytes, 1, QLocale::DataSizeTraditionalFormat);
}

QString Summary(const ExportJob& job, const ExportStats& s, qint64 milliseconds) {
    const bool stardict = job.format == ExportFormat::StarDict;
    QString text = QStringLiteral("%1: %2 dictionary \"%3\" written to %4\n")
                       .arg(QLatin1String(kProgram),
                            stardict ? QStringLiteral("StarDict") : QStringLiteral("dictd"),
                            job.name, job.outputDirectory);
    text += QStringLiteral("  %1 in %2; %3 and %4 lead to them\n")
                .arg(Counted(s.entriesWritten, "entry", "entries"),
                     Counted(s.articles, "article", "articles"),
                     Counted(s.headwords, "headword", "headwords"),
                     Counted(s.synonyms, "synonym", "synonyms"));
    const std::tuple<qint64, const char*, const char*> skipped[] = {
        {s.withoutAbbreviation, "entry without an abbreviation", "entries without an abbreviation"},
        {s.empty, "entry with neither a spelled-out form nor a description",
         "entries with neither a spelled-out form nor a description"},
        {s.headwordTooLong, "entry whose abbreviation is longer than StarDict's 255 bytes",
         "entries whose abbreviation is longer than StarDict's 255 bytes"},
        {s.synonymsTooLong, "synonym longer than StarDict's 255 bytes",
         "synonyms longer than StarDict's 255 bytes"},
    };
    QString lines;
    for (const auto& [count, one, many] : skipped) {
        if (count > 0)
            lines += QStringLiteral("    %1\n").arg(Counted(count, one, many));
    }
    text += lines.isEmpty() ? QStringLiteral("  skipped: nothing\n")
                            : QStringLiteral("  skipped:\n") + lines;
    if (s.withoutDescription > 0)
        text += QStringLiteral("  %1 without a description, written with the spelled-out form\n")
                    .arg(Counted(s.withoutDescription, "entry", "entries"));
    if (s.cleaned > 0)
        text += QStringLiteral("  %1 control characters, which were left out\n")
                    .arg(Counted(s.cleaned, "entry held", "entries held"));
    QStringList files;
    for (const auto& [name, size] : s.files)
        files << QStringLiteral("%1 %2").arg(name, Size(size));
    text += QStringLiteral("  files: %1 (%2 of text)\n")
                .arg(files.join(QLatin1String(", ")), Size(s.textBytes));
    text += QStringLiteral("  time: %1 s\n").arg(double(milliseconds) / 1000.0, 0, 'f', 1);
    return text;
}

} // namespace

int RunExportCommand(const QStringList& arguments, const QString& executableDir, std::FILE* out,
                     std::FILE* err, const std::function<bool()>& interrupted) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes a Tessarine dictionary as StarDict files (NAME.ifo, .idx, .syn, "
                       ".dict.dz) or as a dictd database (NAME.index, NAME.dict.dz)."));
    const Options o;
    parser.addOptions({o.format, o.dictionary, o.name, o.output, o.force, o.help, o.version});
    auto usageError = [&](const QString& message) {
        Print(err, QStringLiteral("%1: %2\nusage: %3\n")
                       .arg(QLatin1String(kProgram), message, QLatin1String(kSynopsis)));
        return 2;
    };
    if (!parser.parse(arguments)) {
        // The option as it was typed, which the parser's own message leaves out.
        const QStringList unknown = parser.unknownOptionNames();
        if (unknown.isEmpty())
            return usageError(parser.errorText());
        const QString name = unknown.constFirst();
        return usageError(
            QStringLiteral("unknown option %1%2")
                .arg(name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--"), name));
    }
    if (parser.isSet(o.help)) {
        Print(out, HelpText(parser));
        return 0;
    }
    if (parser.isSet(o.version)) {
        Print(out, QStringLiteral("%1 %2.%3.%4\n")
                       .arg(QLatin1String(kProgram))
                       .arg(AppInfo::VersionMajor())
                       .arg(AppInfo::VersionMinor())
                       .arg(AppInfo::VersionPatch()));
        return 0;
    }
    QString error;
    ExportJob job = JobFrom(parser, o, executableDir, &error);
    if (!error.isEmpty())
        return usageError(error);

    ProgressLine progress(err);
    job.progress = [&progress](qint64 done, qint64 total) {
        progress.Show(QStringLiteral("exporting"), done, total);
    };
    job.interrupted = interrupted;
    QElapsedTimer timer;
    timer.start();
    ExportStats stats;
    const bool written = RunExport(job, &stats, &error);
    progress.Finish();
    if (!written) {
        Print(err,
              QStringLiteral("%1: %2\n%1: nothing written\n").arg(QLatin1String(kProgram), error));
        return 1;
    }
    Print(out, Summary(job, stats, timer.elapsed()));
    return 0;
}
