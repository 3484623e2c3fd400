#include "fulltext/WorkerDictionary.h"

#include "data/DictionaryFile.h"
#include "data/JetImport.h"
#include "data/TextCollation.h"

#include <cstring>

namespace {

QByteArray Serialize(sqlite3* db) {
    sqlite3_int64 size = 0;
    unsigned char* bytes = sqlite3_serialize(db, "main", &size, 0);
    if (!bytes)
        return {};
    QByteArray image(reinterpret_cast<const char*>(bytes), qsizetype(size));
    sqlite3_free(bytes);
    return image;
}

// What the connection reads, copied page by page into memory: the connection still reads the file
// it opened, even when the path now names another.
QByteArray CopyOf(sqlite3* open) {
    sqlite3* raw = nullptr;
    const int rc =
        sqlite3_open_v2("file:tessarine-fulltext-copy?vfs=memdb", &raw,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_URI, nullptr);
    SqliteDb copy(raw);
    if (rc != SQLITE_OK)
        return {};
    sqlite3_backup* backup = sqlite3_backup_init(raw, "main", open, "main");
    if (!backup)
        return {};
    const int stepped = sqlite3_backup_step(backup, -1);
    if (sqlite3_backup_finish(backup) != SQLITE_OK || stepped != SQLITE_DONE)
        return {};
    return Serialize(raw);
}

} // namespace

WorkerDictionary WorkerDictionary::Of(const QString& path, sqlite3* open,
                                      const FileIdentity& opened) {
    WorkerDictionary dictionary;
    dictionary.path = path;
    dictionary.opened = opened;
    if (!open)
        return dictionary;
    // Only a Jet dictionary lives in memory; ours is read from its file by every connection.
    if (JetImport::CatalogueOf(open))
        dictionary.image = Serialize(open);
    if (opened.IsValid() && !(FileIdentity::Of(path) == opened)) {
        dictionary.replaced = true;
        if (dictionary.image.isEmpty())
            dictionary.image = CopyOf(open);
    }
    return dictionary;
}

SqliteDb WorkerDictionary::Connect() const {
    if (image.isEmpty())
        return DictionaryFile::OpenSqlite(path);

    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(":memory:", &raw, SQLITE_OPEN_READWRITE, nullptr);
    SqliteDb db(raw);
    if (rc != SQLITE_OK || TextCollation::Register(raw) != SQLITE_OK)
        return nullptr;
    auto* bytes = static_cast<unsigned char*>(sqlite3_malloc64(sqlite3_uint64(image.size())));
    if (!bytes)
        return nullptr;
    std::memcpy(bytes, image.constData(), size_t(image.size()));
    if (sqlite3_deserialize(raw, "main", bytes, image.size(), image.size(),
                            SQLITE_DESERIALIZE_FREEONCLOSE | SQLITE_DESERIALIZE_READONLY) !=
        SQLITE_OK)
        return nullptr;
    sqlite3_exec(raw, "PRAGMA query_only = 1", nullptr, nullptr, nullptr);
    return db;
}
