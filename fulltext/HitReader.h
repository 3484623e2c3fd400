#pragma once

#include "fulltext/DictionaryRows.h"
#include "fulltext/FullTextService.h"

#include <QStringList>

// Turns a hit of the index into the line the window lists: abbreviation, spelled-out form and the
// excerpt around the first match, read from the dictionary.
class HitReader {
public:
    explicit HitReader(sqlite3* dictionary) : rows_(dictionary, DictionaryRows::Mode::ById) {}

    // A hit whose entry cannot be read keeps its id and shows empty texts.
    FullTextHit Read(qint32 id, const QStringList& terms);

private:
    DictionaryRows rows_;
    DictionaryRows::Entry entry_;
};
