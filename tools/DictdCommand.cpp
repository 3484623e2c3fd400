#include "tools/DictdCommand.h"

#include "data/DbAccess.h"
#include "tools/DictdDatabase.h"
#include "tools/DictdImport.h"
#include "tools/EdictFile.h"
#include "tools/ProgressLine.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <memory>
#include <vector>

namespace {

constexpr const char* kProgram = "tessarine-dictd";

void Print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
}

void Usage(std::FILE* stream) {
    Print(stream, QStringLiteral(
                      "usage: %1 -o OUTPUT INPUT...\n"
                      "Builds a dictionary file (ABBR.MDB) from the dictd databases of VERA and "
                      "FOLDOC,\n"
                      "with the Japanese terms of the EDICT and COMPDIC word lists where given.\n"
                      "Each INPUT is a dictd .index file with its .dict.dz or .dict beside it, or "
                      "a word list\n"
                      "in EDICT form (EUC-JP, such as /usr/share/edict/edict and "
                      "/usr/share/edict/compdic).\n")
                      .arg(QLatin1String(kProgram)));
}

QString KindName(DictdDatabase::Kind kind) {
    return kind == DictdDatabase::Kind::Vera ? QStringLiteral("VERA") : QStringLiteral("FOLDOC");
}

void Report(std::FILE* out, const QString& path, const ImportStats& s, qint64 milliseconds) {
    QString text = QStringLiteral("%1: %2 entries in %3 categories, %4 related words (%5 s)\n")
                       .arg(path)
                       .arg(s.veraEntries + s.foldocEntries + s.headwordEntries + s.noticeEntries)
                       .arg(s.categories)
                       .arg(s.relatedWords)
                       .arg(double(milliseconds) / 1000.0, 0, 'f', 1);
    text += QStringLiteral("  %1 from VERA, %2 from FOLDOC alone; %3 described by a FOLDOC "
                           "article (%4 cut to %5 bytes)\n")
                .arg(s.veraEntries)
                .arg(s.foldocEntries)
                .arg(s.withArticle)
                .arg(s.articlesCut)
                .arg(DbAccess::kDescriptionBytes);
    if (s.wordListEntries > 0)
        text +=
            QStringLiteral("  from %1 words of EDICT and COMPDIC: Japanese terms for %2 entries, "
                           "the reading of the abbreviation for %3; %4 entries from "
                           "abbreviation headwords, and %5 naming the lists' licence\n")
                .arg(s.wordListEntries)
                .arg(s.japaneseEntries)
                .arg(s.abbreviationReadings)
                .arg(s.headwordEntries)
                .arg(s.noticeEntries);
    text += QStringLiteral("  %1 references linked to entries, %2 left as text\n")
                .arg(s.textLinks)
                .arg(s.plainReferences);
    const std::pair<int, const char*> skipped[] = {
        {s.veraRepeated, "VERA records that repeat an earlier abbreviation and expansion "
                         "(merged into it)"},
        {s.veraNoExpansion, "VERA records without an expansion"},
        {s.veraNoAbbreviation, "VERA records without letters or digits in the abbreviation"},
        {s.foldocUnrelated, "FOLDOC articles on neither an abbreviation nor an entry's expansion"},
        {s.foldocSecond, "FOLDOC articles on an entry that another article already describes"},
        {s.headwordsWithoutExpansion, "abbreviation headwords glossed only by themselves"},
        {s.headwordsOutsideComputing, "abbreviation senses of COMPDIC that EDICT has outside "
                                      "computing"},
    };
    QString lines;
    for (const auto& [count, reason] : skipped) {
        if (count > 0)
            lines += QStringLiteral("  %1 %2\n").arg(count).arg(QLatin1String(reason));
    }
    for (const auto& [list, lost] : s.wordListSkips) {
        const std::tuple<int, int, QString> reasons[] = {
            {lost.notAnEntry, lost.firstNotAnEntry,
             QStringLiteral("lines not of the form HEADWORD [READING] /GLOSS/.../")},
            {lost.notEucJp, lost.firstNotEucJp, QStringLiteral("lines that are not EUC-JP text")},
            {lost.tooLong, lost.firstTooLong,
             QStringLiteral("lines longer than %1 bytes").arg(EdictFile::kLongestLine)},
        };
        for (const auto& [count, first, reason] : reasons) {
            if (count > 0)
                lines += QStringLiteral("  %1 %2 %3 (the first is line %4)\n")
                             .arg(count)
                             .arg(list, reason)
                             .arg(first);
        }
    }
    text += lines.isEmpty() ? QStringLiteral("skipped: nothing\n")
                            : QStringLiteral("skipped:\n") + lines;
    Print(out, text);
}

} // namespace

int RunDictd(const QStringList& arguments, std::FILE* out, std::FILE* err) {
    auto usageError = [&](const QString& message) {
        Print(err, QStringLiteral("%1: %2\n").arg(QLatin1String(kProgram), message));
        Usage(err);
        return 2;
    };
    auto failure = [&](const QString& message) {
        Print(err, QStringLiteral("%1: %2\n").arg(QLatin1String(kProgram), message));
        Print(err, QStringLiteral("%1: no dictionary written\n").arg(QLatin1String(kProgram)));
        return 1;
    };

    QString output;
    bool haveOutput = false;
    QStringList inputs;
    bool options = true;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments.at(i);
        if (options && (a == QLatin1String("-h") || a == QLatin1String("--help"))) {
            Usage(out);
            return 0;
        }
        QString value;
        bool isOutput = false;
        if (options && (a == QLatin1String("-o") || a == QLatin1String("--output"))) {
            if (i + 1 >= arguments.size())
                return usageError(QStringLiteral("%1 needs a file name").arg(a));
            value = arguments.at(++i);
            isOutput = true;
        } else if (options && a.startsWith(QLatin1String("--output="))) {
            value = a.mid(9);
            isOutput = true;
        } else if (options && a.startsWith(QLatin1String("-o")) && a.size() > 2) {
            value = a.mid(2);
            isOutput = true;
        } else if (options && a == QLatin1String("--")) {
            options = false;
            continue;
        } else if (options && a.startsWith(QLatin1Char('-')) && a.size() > 1) {
            return usageError(QStringLiteral("unknown option %1").arg(a));
        } else {
            inputs.append(a);
            continue;
        }
        if (isOutput) {
            if (haveOutput)
                return usageError(QStringLiteral("only one output file can be given"));
            if (value.isEmpty())
                return usageError(QStringLiteral("the output file name is empty"));
            output = value;
            haveOutput = true;
        }
    }
    if (!haveOutput)
        return usageError(QStringLiteral("no output file given (-o OUTPUT)"));
    if (inputs.isEmpty())
        return usageError(QStringLiteral("no input given (a dictd index or a word list)"));
    if (QFileInfo(output).isDir())
        return failure(QStringLiteral("%1 is a directory; give the file to write").arg(output));

    QElapsedTimer timer;
    timer.start();
    std::vector<std::unique_ptr<DictdDatabase>> databases;
    std::vector<std::unique_ptr<EdictFile>> wordLists;
    DictdDatabase* vera = nullptr;
    DictdDatabase* foldoc = nullptr;
    EdictFile* edict = nullptr;
    EdictFile* compdic = nullptr;
    for (const QString& input : inputs) {
        QString error;
        if (EdictFile::IsEdictForm(input)) {
            std::unique_ptr<EdictFile> list = EdictFile::Open(input, &error);
            if (!list)
                return failure(error);
            const bool isEdict = list->FileKind() == EdictFile::Kind::Edict;
            EdictFile*& slot = isEdict ? edict : compdic;
            if (slot)
                return failure(QStringLiteral("%1 and %2 are both the %3 word list%4")
                                   .arg(slot->Path(), input, EdictFile::KindName(list->FileKind()),
                                        isEdict ? QString()
                                                : QStringLiteral(" (a list without EDICT's "
                                                                 "header line is taken for it)")));
            slot = list.get();
            wordLists.push_back(std::move(list));
            continue;
        }
        std::unique_ptr<DictdDatabase> db = DictdDatabase::Open(input, &error);
        if (!db)
            return failure(error);
        DictdDatabase*& slot = db->DatabaseKind() == DictdDatabase::Kind::Vera ? vera : foldoc;
        if (db->DatabaseKind() == DictdDatabase::Kind::Unknown)
            return failure(QStringLiteral("%1: neither the VERA nor the FOLDOC database (it calls "
                                          "itself \"%2\")")
                               .arg(input, db->ShortName()));
        if (slot)
            return failure(QStringLiteral("%1 and %2 are both the %3 database")
                               .arg(slot->IndexPath(), input, KindName(db->DatabaseKind())));
        slot = db.get();
        databases.push_back(std::move(db));
    }

    ProgressLine progress(err);
    auto showing = [&progress](const QString& label) {
        return [&progress, label](qint64 done, qint64 total) { progress.Show(label, done, total); };
    };
    DictdImport import;
    QString error;
    if (vera &&
        !import.ReadVera(
            *vera, showing(QStringLiteral("reading ") + QFileInfo(vera->IndexPath()).fileName()),
            &error)) {
        progress.Finish();
        return failure(error);
    }
    if (foldoc && !import.ReadFoldoc(*foldoc,
                                     showing(QStringLiteral("reading ") +
                                             QFileInfo(foldoc->IndexPath()).fileName()),
                                     &error)) {
        progress.Finish();
        return failure(error);
    }
    for (EdictFile* list : {compdic, edict}) {
        if (list)
            import.ReadWordList(
                *list, showing(QStringLiteral("reading ") + QFileInfo(list->Path()).fileName()));
    }
    const DictionaryContent dictionary = import.Build();
    // The program refuses a dictionary without entries, so such a build is a failed one.
    progress.Finish();
    if (dictionary.entries.isEmpty())
        return failure(QStringLiteral("no entries: found no abbreviation with its expansion in "
                                      "%1 (the VERA database gives most of them)")
                           .arg(inputs.join(QLatin1String(", "))));
    if (dictionary.categories.isEmpty())
        return failure(QStringLiteral("no categories: the entries of %1 belong to none")
                           .arg(inputs.join(QLatin1String(", "))));
    const bool written =
        WriteDictionary(dictionary, output, &error,
                        showing(QStringLiteral("writing ") + QFileInfo(output).fileName()));
    progress.Finish();
    if (!written)
        return failure(error);
    Report(out, output, import.Stats(), timer.elapsed());
    return 0;
}
