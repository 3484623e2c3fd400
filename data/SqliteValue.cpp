#include "data/SqliteValue.h"

#include "data/SqliteHandles.h"

QString QueryTextValue(sqlite3* db, const char* sql, const QString& parameter) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &raw, nullptr) != SQLITE_OK) {
        sqlite3_finalize(raw);
        return {};
    }
    SqliteStmt stmt(raw);
    const QByteArray utf8 = parameter.toUtf8();
    if (!parameter.isNull())
        sqlite3_bind_text(raw, 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    if (sqlite3_step(raw) != SQLITE_ROW)
        return {};
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(raw, 0));
    return text ? QString::fromUtf8(text) : QString();
}
