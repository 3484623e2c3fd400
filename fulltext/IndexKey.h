#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

// What an index was built from: the dictionary file's path, size, modification time and a hash
// of its first 64 KiB. A dictionary that changed in any of these gets a new index.
struct IndexKey {
    QString path; // canonical: links resolved
    qint64 size = -1;
    qint64 modifiedMs = 0; // milliseconds since the epoch, UTC
    QByteArray headHash;   // SHA-256 of the first 64 KiB, hex

    bool IsValid() const { return !path.isEmpty() && size >= 0 && !headHash.isEmpty(); }
    friend bool operator==(const IndexKey&, const IndexKey&) = default;
};

namespace IndexKeys {

inline constexpr qint64 kHeadBytes = 64 * 1024;

// The key of the dictionary file at path; invalid when the file cannot be read.
IndexKey Of(const QString& path);

// The file name of the index of a dictionary, the same for every version of that dictionary, so
// that a new index replaces the old one instead of piling up beside it.
QString FileNameFor(const IndexKey& key);

} // namespace IndexKeys
