#pragma once

#include "data/SqliteHandles.h"

#include <QString>
#include <optional>
#include <string>
#include <vector>

// Translates a SELECT of the dictionary's query language to SQLite. SQLite already reads the
// bracketed names, Between ... And, ORDER BY and (through the registered function) like; what
// remains is the pair of parentheses around the whole statement. Returns nothing for a text
// that is not one statement.
std::optional<QByteArray> TranslateSelect(const QString& sql);

// A read-only, forward-only view of a query's rows with columns read by name.
class Recordset {
public:
    // Prepares the statement and moves to the first row. Returns nothing when the statement is
    // rejected (syntax, unknown table or column, a malformed pattern, or anything that would
    // write). `errorCode`, when given, receives SQLite's result code of a failed preparation or
    // first step (SQLITE_OK otherwise).
    static std::optional<Recordset> Open(sqlite3* db, const QString& sql, int* errorCode = nullptr);

    bool Eof() const { return eof_; }
    // A failing step ends the rows, as a read error would end a scan; ErrorCode() then says why.
    void MoveNext();
    // SQLite's result code of the step that ended the rows early; SQLITE_OK when none failed.
    int ErrorCode() const { return errorCode_; }

    bool HasColumn(const char* name) const { return ColumnIndex(name) >= 0; }
    bool IsNull(const char* name) const;
    QString Text(const char* name) const; // null or missing reads as empty
    qint64 Integer(const char* name) const;

private:
    explicit Recordset(SqliteStmt stmt);
    int ColumnIndex(const char* name) const;

    SqliteStmt stmt_;
    std::vector<std::string> columnNames_;
    bool eof_ = true;
    int errorCode_ = SQLITE_OK;
};
