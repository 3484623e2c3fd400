#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <utility>

enum class ExportFormat { StarDict, Dictd };

// One export of a dictionary into the files of another program's format.
struct ExportJob {
    ExportFormat format = ExportFormat::StarDict;
    QString dictionaryPath;
    QString name; // the files' base name and the dictd database's name
    QString outputDirectory;
    bool force = false;             // replace the files of an earlier export
    bool programDictionary = false; // the dictionary installed with the program
    // Told now and then how many of all entries have been read.
    std::function<void(qint64 done, qint64 total)> progress;
    // Asked now and then whether to stop; an interrupted export writes nothing.
    std::function<bool()> interrupted;
};

// What an export did, for its summary.
struct ExportStats {
    qint64 entriesRead = 0;
    qint64 entriesWritten = 0;
    qint64 articles = 0;
    qint64 headwords = 0; // the words of the index itself
    qint64 synonyms = 0;  // further words that lead to an article
    // Left out: entries without an abbreviation, with nothing to show, or (StarDict) with an
    // abbreviation longer than the format allows; words longer than that.
    qint64 withoutAbbreviation = 0;
    qint64 empty = 0;
    qint64 headwordTooLong = 0;
    qint64 synonymsTooLong = 0;
    // Written as they are: entries without a description (their spelled-out form only), and
    // entries whose texts held control characters, which were dropped.
    qint64 withoutDescription = 0;
    qint64 cleaned = 0;
    qint64 textBytes = 0;                    // the articles' text before compression
    QList<std::pair<QString, qint64>> files; // name and size, in the order written
};

// The description that every exported dictionary carries: what it is, where it comes from, and
// the sources and licences of its contents, one paragraph each.
struct DictionaryInfo {
    QString bookName; // "Tessarine 2000", then the name given with --name
    QString name;
    QStringList paragraphs;
};

// Runs an export; false with *error when it cannot be done, and then nothing is written.
bool RunExport(const ExportJob& job, ExportStats* stats, QString* error);
