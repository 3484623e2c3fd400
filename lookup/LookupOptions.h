#pragma once

#include <QByteArrayList>
#include <QString>
#include <QStringList>

// The command line of tessarine-lookup:
//   tessarine-lookup [OPTIONS] KEY [LETTER]
//   tessarine-lookup [OPTIONS] --full-text TERMS...
//   tessarine-lookup [OPTIONS] --annotate [FILE...]
//   tessarine-lookup [-d FILE] --categories
namespace LookupOptions {

// The exit statuses.
inline constexpr int kFound = 0;
inline constexpr int kNothingFound = 1;
inline constexpr int kUsageError = 2;
inline constexpr int kDictionaryUnusable = 3;

// The longest KEY and LETTER taken, in characters: an abbreviation or its spelled-out form is a
// line, not a page.
inline constexpr qsizetype kMaxSearchText = 1000;

enum class Mode { Search, FullText, Annotate, Categories, Help, Version, Error };
enum class Format { Entries, List, Json };

struct Options {
    Mode mode = Mode::Search;
    Format format = Format::Entries;
    QString dictionary; // as named with -d; empty for the installed one
    QString category;   // as named with -c; empty for all
    QString key;
    QString letter;
    QStringList terms; // --full-text
    QStringList files; // --annotate; empty for stdin
    QString error;     // for Mode::Error: one line saying what is wrong
};

// `arguments` are the words after the program's name, as the system passed them.
Options Parse(const QByteArrayList& arguments);

// The text of --help, and the usage that follows an error on stderr.
QString HelpText();
QString UsageText();
// The line of --version.
QString VersionLine();

} // namespace LookupOptions
