#include "fulltext/WorkerDictionary.h"

#include "data/DictionaryFile.h"
#include "data/JetImport.h"
#include "data/TextCollation.h"

#include <cstring>

WorkerDictionary WorkerDictionary::Of(const QString& path, sqlite3* open) {
    WorkerDictionary dictionary;
    dictionary.path = path;
    // Only a Jet dictionary lives in memory; ours is read from its file by every connection.
    if (open && JetImport::CatalogueOf(open)) {
        sqlite3_int64 size = 0;
        if (unsigned char* bytes = sqlite3_serialize(open, "main", &size, 0)) {
            dictionary.image = QByteArray(reinterpret_cast<const char*>(bytes), qsizetype(size));
            sqlite3_free(bytes);
        }
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
