#pragma once

#include "data/ListSink.h"

#include <QString>
#include <QStringList>
#include <sqlite3.h>

// The dictionary connection and every query the program sends to it. The dictionary is opened
// once, read-only, and held so that no other program can change it until it is closed.
namespace DbAccess {

// Set by start-up before OpenDictionary: the application directory followed by "ABBR.MDB".
extern QString DatabasePath;
// True when table AbbrTB has a column named exactly "URL".
extern bool HasUrlField;
// Element id is the short name of category id ("" where no category carries the id).
extern QStringList CategoryShortNames;

inline constexpr int kResultListLimit = 500;
// The length of a description that is read, counted as the dictionary's original code page
// stores text (Strings::CodePageLength); the build tools cut to it as well.
inline constexpr int kDescriptionBytes = 4096;

// Opens DatabasePath and appends one item per category to categoryList. Returns the number of
// categories read; 0 means the dictionary is unusable (a message has been shown).
qint16 OpenDictionary(ListSink& categoryList);
void CloseDictionary();
// The open connection, or null.
sqlite3* DictionaryDb();

// Builds the query for the three search inputs; empty when there is nothing to search for.
QString BuildSearchSql(const QString& key, const QString& letter, qint16 category);
qint16 SearchEntries(const QString& key, const QString& letter, qint16 category,
                     ListSink& resultList);
qint16 FillResultList(const QString& sql, ListSink& resultList);

QString GetEntryText(qint32 id, QString& abbr, QString& url);
QString GetEntryCopyText(qint32 id);
qint16 LoadLinkList(qint32 id, ListSink& linkList);

} // namespace DbAccess
