#pragma once

#include "support/DataFixtures.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <memory>

// A small dictionary with what an export must handle: Japanese terms and readings, two senses of
// one abbreviation, keys that differ from the abbreviation, references and related words that lead
// to entries or nowhere, markup that overlaps, text to escape, control characters, an abbreviation
// too long for StarDict, an entry without a description and one without anything at all.
namespace ExportFixture {

enum Id : qint32 {
    kCpu = 1,
    kAlu,
    kRam,
    kDmaAccess,
    kDmaAlliance,
    kCdRom,
    kTcpIp,
    kTooLong,
    kNothing,
    kNoDescription,
    kControls,
    kPlain,
};

std::unique_ptr<TestDictionary> Write();

// The abbreviation of kTooLong: 300 bytes.
QString TooLongAbbr();

} // namespace ExportFixture

struct ProcessResult {
    int exitCode = -1;
    bool finished = false;
    QString out;
    QString err;
    QByteArray outBytes; // stdout as it came
};

// Runs a program to its end (two minutes at most) with `environment`, or the test's own.
ProcessResult RunProcess(const QString& program, const QStringList& arguments,
                         const QProcessEnvironment& environment = QProcessEnvironment(),
                         const QByteArray& input = QByteArray());

// The built tessarine-export.
QString ExportProgram();
// Runs tessarine-export with these arguments.
ProcessResult RunExport(const QStringList& arguments);

// A peer tool on the PATH (or in /usr/sbin for dictd), or empty when it is not installed.
QString PeerTool(const QString& name);
#define SKIP_WITHOUT_TOOL(var, name)                                                               \
    const QString var = PeerTool(QStringLiteral(name));                                            \
    if (var.isEmpty())                                                                             \
    GTEST_SKIP() << name << " is not installed (scripts/setup installs it)"

// A StarDict dictionary read back as its files say, with the checks of its own structure done.
struct StarDictFiles {
    struct Word {
        QByteArray word;
        quint32 first = 0;  // .idx: offset; .syn: index into idx
        quint32 second = 0; // .idx: size
    };
    QHash<QString, QString> ifo;
    QList<Word> idx;
    QList<Word> syn;
    QByteArray text; // the whole .dict, uncompressed
    qint64 idxFileSize = 0;

    // Reads DIR/NAME.*; *error names what is wrong with them.
    static StarDictFiles Read(const QString& dir, const QString& name, QString* error);
    // The article of idx entry `index`.
    QString Article(int index) const;
    // Indexes into idx of the articles that `word` leads to, through the index or a synonym.
    QList<int> Lookup(const QString& word) const;
};

// The entries of a dictionary file: abbreviation and spelled-out form, in AbbrID order.
QList<std::pair<QString, QString>> DictionaryWords(const QString& path);
