#pragma once

#include <QString>
#include <QtGlobal>

// Which file a path names at one moment: a file renamed into the place of another has another
// device and inode, one rewritten in place another size or modification time. What is built from
// an open file (the full-text index) is keyed by this, so that it never mixes two files.
struct FileIdentity {
    quint64 device = 0;
    quint64 inode = 0; // 0 where the system has no such number
    qint64 size = -1;
    qint64 modifiedMs = 0; // milliseconds since the epoch, UTC

    bool IsValid() const { return size >= 0; }
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;

    // The identity of the file at path now; invalid when there is none.
    static FileIdentity Of(const QString& path);
};
