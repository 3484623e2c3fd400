#pragma once

#include "data/FileIdentity.h"
#include "data/SqliteHandles.h"

#include <QByteArray>
#include <QString>

// The open dictionary as a worker thread reaches it with a connection of its own: a dictionary in
// our format by its file, read-only like the program's own connection; a dictionary that lives in
// memory (a Jet file read at open), or whose file has been replaced since it was opened, as a copy
// of what the program's connection reads, taken once.
struct WorkerDictionary {
    QString path;     // the file the user opened; the index is keyed by it
    QByteArray image; // the in-memory copy's database image; empty for a file
    // The file the program's connection read when it opened; invalid when unknown. The worker's
    // own connection must read the same file.
    FileIdentity opened;
    // Another file has been renamed into the place of the open one (or it has gone): `image` is
    // the open one's copy.
    bool replaced = false;

    // Describes the dictionary at path that `open` is the program's connection to; `opened` is
    // the file that connection read when it was opened.
    static WorkerDictionary Of(const QString& path, sqlite3* open, const FileIdentity& opened = {});

    // A new connection, for the calling thread; null when the dictionary cannot be read.
    SqliteDb Connect() const;
};
