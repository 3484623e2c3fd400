#pragma once

#include "data/SqliteHandles.h"

#include <QString>

// Reads entries of a dictionary connection for the full-text search. Statements select every
// column and read them by name, as the rest of the program does, so a dictionary with other or
// further columns reads the same; a column it lacks reads as empty.
class DictionaryRows {
public:
    struct Entry {
        qint32 id = 0;
        QString abbr;
        QString letter;
        QString hyperText;
        QString description;
    };

    // Every entry in the order the result list uses, or one entry by its id.
    enum class Mode { AllInListingOrder, ById };

    DictionaryRows(sqlite3* db, Mode mode);
    bool IsValid() const { return stmt_ != nullptr; }
    QString ErrorText() const { return error_; }

    // AllInListingOrder: the next entry; false at the end or on an error (see Failed).
    bool Next(Entry& entry);
    bool Failed() const { return failed_; }
    // ById: the entry, or false when there is none.
    bool Read(qint32 id, Entry& entry);

private:
    void ReadRow(Entry& entry) const;
    QString Text(int column) const;

    SqliteStmt stmt_;
    int id_ = -1, abbr_ = -1, letter_ = -1, hyperText_ = -1, description_ = -1;
    QString error_;
    bool failed_ = false;
};
