#pragma once

#include "data/SqliteHandles.h"

#include <QList>
#include <QString>

// The entries whose key is exactly a given normal form, asked many times in a row (every word of
// a text that may be an abbreviation): the statement is prepared once and reused.
struct KeyedEntry {
    qint32 id = 0; // AbbrID
    QString abbr;
    QString letter;
    QString hyperTextHead; // the first characters of the description's markup
};

class KeyLookup {
public:
    // Characters of the description's markup read into hyperTextHead.
    static constexpr int kHeadLength = 256;

    // db must outlive the lookup.
    explicit KeyLookup(sqlite3* db);

    // False when the dictionary cannot be asked (no AbbrTB with the columns read).
    bool IsUsable() const { return stmt_ != nullptr; }

    // The entries whose AbbrKey equals key, in the order the result list shows them.
    QList<KeyedEntry> Find(const QString& key);

private:
    SqliteStmt stmt_;
};
