#pragma once

#include "data/SqliteHandles.h"
#include "fulltext/IndexBuilder.h"
#include "fulltext/IndexKey.h"

#include <QString>

// Where the full-text indexes live: one file per dictionary in a cache directory, never beside
// or inside the dictionary. A file there is used only when everything about it checks out;
// anything else (another version of the dictionary, an unfinished, damaged or foreign file) is
// built anew. A build writes a file of its own under a temporary name and renames it into place
// when complete, so two builds of the same index, by two processes or two users sharing a
// directory, can only replace one complete index by another.
namespace IndexFiles {

// The folder of its own in the user's cache where every program of ours keeps the indexes, so
// that the window and the command line share them; empty when there is no cache. The programs
// set the same application name, which the cache's location is made from.
QString UserCacheDirectory();

// The path of the index of key in dir.
QString PathFor(const QString& dir, const IndexKey& key);

// Opens the index at path read-only when it is a complete index of key made with this
// program's folding; otherwise returns null and says why.
SqliteDb OpenValid(const QString& path, const IndexKey& key, QString* why = nullptr);

enum class Outcome { Ready, Cancelled, Failed };

struct BuildResult {
    Outcome outcome = Outcome::Failed;
    SqliteDb db;           // the finished index, opened read-only; null unless Ready
    bool inMemory = false; // built in memory because dir could not be written
    QString error;
};

// Builds the index of the dictionary into dir. Where dir cannot be written (or is empty), the
// index is built in memory and lives as long as the returned connection.
BuildResult Build(const QString& dir, const IndexKey& key, sqlite3* dictionary,
                  const IndexBuilder::Control& control);

// Removes the index of key from dir, after it turned out damaged.
void Remove(const QString& dir, const IndexKey& key);

// Removes temporary files of builds that never finished (a crash, a power cut) and are older
// than a day; a build in progress keeps its file fresh.
void RemoveAbandoned(const QString& dir);

} // namespace IndexFiles
