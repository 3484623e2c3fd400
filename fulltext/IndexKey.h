#pragma once

#include "data/FileIdentity.h"

#include <QByteArray>
#include <QString>

// What an index was built from: the dictionary file's path, its identity (device and inode, size,
// modification time) and a hash of its first 64 KiB. A dictionary that changed in any of these,
// or another file renamed into its place, gets a new index.
struct IndexKey {
    QString path; // canonical: links resolved
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = -1;
    qint64 modifiedMs = 0; // milliseconds since the epoch, UTC
    QByteArray headHash;   // SHA-256 of the first 64 KiB, hex

    bool IsValid() const { return !path.isEmpty() && size >= 0 && !headHash.isEmpty(); }
    // The file, as "device:inode", for the index's own record of it.
    QString FileNumber() const { return QStringLiteral("%1:%2").arg(device).arg(inode); }
    // True when the key describes the file of this identity.
    bool Names(const FileIdentity& file) const {
        return device == file.device && inode == file.inode && size == file.size &&
               modifiedMs == file.modifiedMs;
    }
    friend bool operator==(const IndexKey&, const IndexKey&) = default;
};

namespace IndexKeys {

inline constexpr qint64 kHeadBytes = 64 * 1024;

// The key of the dictionary file at path; invalid when the file cannot be read.
IndexKey Of(const QString& path);

// The key of a file that is no longer at path but still open, from its identity when it was
// opened and a copy of its contents.
IndexKey OfCopy(const QString& path, const FileIdentity& file, const QByteArray& contents);

// The file name of the index of a dictionary, the same for every version of that dictionary, so
// that a new index replaces the old one instead of piling up beside it.
QString FileNameFor(const IndexKey& key);

} // namespace IndexKeys
