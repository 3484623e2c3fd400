#pragma once

#include "search/TextAbbreviations.h"

#include <QString>
#include <QStringView>

struct sqlite3;

// What looking up a handed-over text means, decided by the text alone, with no question asked:
// - one word (as paste-and-search takes it, and no other): paste-and-search on it;
// - several words with abbreviations the dictionary has: the one entry found, shown as a search
//   for its key would show it, or, for more than one, the list of the text's abbreviations;
// - no ASCII word at all (Japanese only): the full-text search on the text;
// - nothing found in any way: paste-and-search on the first word, which finds nothing.
namespace LookupPlan {

enum class Kind { OneWord, OneEntry, SeveralEntries, FullText, NothingFound };

// The most of the text the full-text query takes, in characters.
inline constexpr qsizetype kMostQueryCharacters = 1000;

struct Plan {
    Kind kind = Kind::NothingFound;
    QString word;                          // OneWord, NothingFound: the word paste-and-search takes
    TextAbbreviations::Found entry;        // OneEntry
    QList<TextAbbreviations::Found> found; // OneEntry, SeveralEntries: every entry of the text
    QString query;                         // FullText: the query, on one line
};

Plan Decide(sqlite3* db, QStringView text);

} // namespace LookupPlan
