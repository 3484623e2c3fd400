#pragma once

#include "data/SqliteHandles.h"

#include <QString>

// Opening the dictionary file: recognising its format, opening it read-only and holding it
// against writers for as long as the connection lives.
namespace DictionaryFile {

enum class Format { Missing, Unknown, Sqlite, Truncated, Jet };

// Looks at the file's header only.
Format Detect(const QString& path);

// Why a file that Detect did not find usable cannot be opened, in a few words ("no such file",
// "is a directory", "permission denied", "file is empty", "file is not a database", ...).
QString Problem(const QString& path, Format format);

// Opens a dictionary in our format. Read-only; the connection keeps a read transaction open,
// which holds SQLite's shared lock on the file: no other connection, in this process or
// another, can commit a change to it until the connection is closed. Returns null on failure,
// with SQLite's words for it in `why` when given.
SqliteDb OpenSqlite(const QString& path, QString* why = nullptr);

// Table names as the file's catalogue lists them, in its order (for a dictionary read from a Jet
// file, that file's catalogue).
QStringList TableNames(sqlite3* db);
// Column names of a table in their order.
QStringList ColumnNames(sqlite3* db, const QString& table);

} // namespace DictionaryFile
