#pragma once

#include "data/SqliteHandles.h"

#include <QByteArray>
#include <QString>

// The open dictionary as a worker thread reaches it with a connection of its own: a dictionary in
// our format by its file, read-only like the program's own connection; a dictionary that lives in
// memory (a Jet file read at open) as a copy of that memory, taken once.
struct WorkerDictionary {
    QString path;     // the file the user opened; the index is keyed by it
    QByteArray image; // the in-memory dictionary's database image; empty for a file

    // Describes the dictionary at path that `open` is the program's connection to.
    static WorkerDictionary Of(const QString& path, sqlite3* open);

    // A new connection, for the calling thread; null when the dictionary cannot be read.
    SqliteDb Connect() const;
};
