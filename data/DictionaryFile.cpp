#include "data/DictionaryFile.h"

#include "data/JetImport.h"
#include "data/TextCollation.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace DictionaryFile {
namespace {

quint32 BigEndian32(const uchar* p) {
    return (quint32(p[0]) << 24) | (quint32(p[1]) << 16) | (quint32(p[2]) << 8) | quint32(p[3]);
}

bool Exec(sqlite3* db, const char* sql) {
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

SqliteDb Failed(sqlite3* db, int rc, QString* why) {
    if (why)
        *why = QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
    return nullptr;
}

// Why the file cannot even be read; empty when it can.
QString WhyUnreadable(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("no such file");
    if (info.isDir())
        return QStringLiteral("is a directory");
    if (!info.isFile())
        return QStringLiteral("is not a regular file");
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        return {};
    return file.error() == QFileDevice::PermissionsError ? QStringLiteral("permission denied")
                                                         : file.errorString();
}

} // namespace

Format Detect(const QString& path) {
    QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        return Format::Missing;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Format::Missing;
    const QByteArray header = file.read(100);
    if (JetImport::HasJetSignature(header))
        return Format::Jet;
    if (header.size() < 100 || !header.startsWith(QByteArrayLiteral("SQLite format 3\0")))
        return Format::Unknown;
    const auto* h = reinterpret_cast<const uchar*>(header.constData());
    quint32 pageSize = (quint32(h[16]) << 8) | h[17];
    if (pageSize == 1)
        pageSize = 65536;
    if (pageSize < 512 || (pageSize & (pageSize - 1)) != 0)
        return Format::Unknown;
    // The page count in the header is valid when its version number matches the change
    // counter; a file shorter than that count has lost its end.
    const quint32 pages = BigEndian32(h + 28);
    if (BigEndian32(h + 92) == BigEndian32(h + 24) && pages > 0 &&
        quint64(info.size()) < quint64(pages) * pageSize)
        return Format::Truncated;
    return Format::Sqlite;
}

QString Problem(const QString& path, Format format) {
    switch (format) {
    case Format::Missing:
        return WhyUnreadable(path);
    case Format::Truncated:
        return QStringLiteral("file is truncated");
    case Format::Unknown:
        return QFileInfo(path).size() == 0 ? QStringLiteral("file is empty")
                                           : QString::fromUtf8(sqlite3_errstr(SQLITE_NOTADB));
    case Format::Sqlite:
    case Format::Jet:
        break;
    }
    return {};
}

SqliteDb OpenSqlite(const QString& path, QString* why) {
    sqlite3* raw = nullptr;
    const QByteArray utf8 = path.toUtf8();
    const int rc = sqlite3_open_v2(utf8.constData(), &raw, SQLITE_OPEN_READONLY, nullptr);
    SqliteDb db(raw);
    if (rc != SQLITE_OK)
        return Failed(db.get(), rc, why);
    if (const int registered = TextCollation::Register(db.get()); registered != SQLITE_OK)
        return Failed(db.get(), registered, why);
    // Reading the catalogue inside a transaction that stays open takes the shared lock now and
    // keeps it; it also proves that the file is a readable database.
    if (!Exec(db.get(), "PRAGMA query_only = 1") || !Exec(db.get(), "BEGIN") ||
        !Exec(db.get(), "SELECT count(*) FROM sqlite_master"))
        return Failed(db.get(), SQLITE_ERROR, why);
    return db;
}

QStringList TableNames(sqlite3* db) {
    if (const auto jet = JetImport::CatalogueOf(db))
        return jet->tables;
    QStringList names;
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY rowid",
                           -1, &raw, nullptr) != SQLITE_OK) {
        sqlite3_finalize(raw);
        return names;
    }
    SqliteStmt stmt(raw);
    while (sqlite3_step(stmt.get()) == SQLITE_ROW)
        names << QString::fromUtf8(
            reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), 0)));
    return names;
}

QStringList ColumnNames(sqlite3* db, const QString& table) {
    if (const auto jet = JetImport::CatalogueOf(db))
        return jet->columns.value(table);
    QStringList names;
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT name FROM pragma_table_info(?1) ORDER BY cid", -1, &raw,
                           nullptr) != SQLITE_OK) {
        sqlite3_finalize(raw);
        return names;
    }
    SqliteStmt stmt(raw);
    const QByteArray name = table.toUtf8();
    sqlite3_bind_text(stmt.get(), 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
    while (sqlite3_step(stmt.get()) == SQLITE_ROW)
        names << QString::fromUtf8(
            reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), 0)));
    return names;
}

} // namespace DictionaryFile
