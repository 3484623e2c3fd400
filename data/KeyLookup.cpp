#include "data/KeyLookup.h"

namespace {

QString ColumnText(sqlite3_stmt* stmt, int column) {
    const auto* text = reinterpret_cast<const char16_t*>(sqlite3_column_text16(stmt, column));
    return text ? QString::fromUtf16(text, sqlite3_column_bytes16(stmt, column) / 2) : QString();
}

} // namespace

KeyLookup::KeyLookup(sqlite3* db) {
    if (!db)
        return;
    // The key index answers this; the order is the result list's, so that a key with several
    // entries lists them as a search for it would.
    static const char kSql[] = "SELECT AbbrID, Abbr, Letter, substr(HyperText, 1, ?2) FROM AbbrTB "
                               "WHERE AbbrKey = ?1 ORDER BY Abbr, Letter";
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v3(db, kSql, -1, SQLITE_PREPARE_PERSISTENT, &raw, nullptr) != SQLITE_OK) {
        sqlite3_finalize(raw);
        return;
    }
    stmt_.reset(raw);
    sqlite3_bind_int(raw, 2, kHeadLength);
}

QList<KeyedEntry> KeyLookup::Find(const QString& key) {
    QList<KeyedEntry> entries;
    if (!stmt_ || key.isEmpty())
        return entries;
    sqlite3_stmt* stmt = stmt_.get();
    sqlite3_bind_text16(stmt, 1, key.utf16(), int(key.size() * 2), SQLITE_TRANSIENT);
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        KeyedEntry e;
        e.id = qint32(sqlite3_column_int64(stmt, 0));
        e.abbr = ColumnText(stmt, 1);
        e.letter = ColumnText(stmt, 2);
        e.hyperTextHead = ColumnText(stmt, 3);
        entries.append(std::move(e));
    }
    sqlite3_reset(stmt);
    return entries;
}
