#include "fulltext/DictionaryRows.h"

DictionaryRows::DictionaryRows(sqlite3* db, Mode mode) {
    // Listing order as the result list sorts, with the id to settle ties the same way each time.
    const char* sql = mode == Mode::AllInListingOrder
                          ? "SELECT * FROM AbbrTB ORDER BY [Abbr],[Letter],[AbbrID]"
                          : "SELECT * FROM AbbrTB WHERE [AbbrID] = ?1";
    sqlite3_stmt* raw = nullptr;
    if (!db || sqlite3_prepare_v2(db, sql, -1, &raw, nullptr) != SQLITE_OK) {
        error_ = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("no dictionary");
        sqlite3_finalize(raw);
        return;
    }
    stmt_.reset(raw);
    for (int i = 0; i < sqlite3_column_count(raw); ++i) {
        const char* name = sqlite3_column_name(raw, i);
        if (!name)
            continue;
        // Names compare as the dictionary's query language compares them: without case.
        if (sqlite3_stricmp(name, "AbbrID") == 0)
            id_ = i;
        else if (sqlite3_stricmp(name, "Abbr") == 0)
            abbr_ = i;
        else if (sqlite3_stricmp(name, "Letter") == 0)
            letter_ = i;
        else if (sqlite3_stricmp(name, "HyperText") == 0)
            hyperText_ = i;
        else if (sqlite3_stricmp(name, "Description") == 0)
            description_ = i;
    }
    if (id_ < 0) {
        error_ = QStringLiteral("AbbrTB has no AbbrID column");
        stmt_.reset();
    }
}

QString DictionaryRows::Text(int column) const {
    if (column < 0)
        return {};
    const auto* text = static_cast<const char16_t*>(sqlite3_column_text16(stmt_.get(), column));
    if (!text)
        return {};
    return QString::fromUtf16(text, sqlite3_column_bytes16(stmt_.get(), column) / 2);
}

void DictionaryRows::ReadRow(Entry& entry) const {
    entry.id = qint32(sqlite3_column_int64(stmt_.get(), id_));
    entry.abbr = Text(abbr_);
    entry.letter = Text(letter_);
    entry.hyperText = Text(hyperText_);
    entry.description = Text(description_);
}

bool DictionaryRows::Next(Entry& entry) {
    if (!stmt_ || failed_)
        return false;
    const int rc = sqlite3_step(stmt_.get());
    if (rc == SQLITE_ROW) {
        ReadRow(entry);
        return true;
    }
    if (rc != SQLITE_DONE) {
        failed_ = true;
        error_ = QString::fromUtf8(sqlite3_errmsg(sqlite3_db_handle(stmt_.get())));
    }
    return false;
}

bool DictionaryRows::Read(qint32 id, Entry& entry) {
    if (!stmt_)
        return false;
    sqlite3_reset(stmt_.get());
    sqlite3_bind_int64(stmt_.get(), 1, id);
    if (sqlite3_step(stmt_.get()) != SQLITE_ROW)
        return false;
    ReadRow(entry);
    sqlite3_reset(stmt_.get());
    return true;
}
