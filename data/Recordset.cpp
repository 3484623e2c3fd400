#include "data/Recordset.h"

#include <strings.h>

namespace {

// True when the text is "(" ... ")" with the two parentheses matching each other.
bool EnclosedInParentheses(const QString& text) {
    if (text.size() < 2 || text.front() != QLatin1Char('(') || text.back() != QLatin1Char(')'))
        return false;
    int depth = 0;
    bool inString = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (inString) {
            if (c == QLatin1Char('\''))
                inString = false; // a doubled quote simply re-enters at the next character
            continue;
        }
        if (c == QLatin1Char('\''))
            inString = true;
        else if (c == QLatin1Char('('))
            ++depth;
        else if (c == QLatin1Char(')') && --depth == 0 && i != text.size() - 1)
            return false;
    }
    return depth == 0 && !inString;
}

} // namespace

std::optional<QByteArray> TranslateSelect(const QString& sql) {
    QString text = sql.trimmed();
    if (EnclosedInParentheses(text))
        text = text.mid(1, text.size() - 2);
    if (text.contains(QChar(0)))
        return std::nullopt; // SQLite would silently stop reading at the NUL
    return text.toUtf8();
}

std::optional<Recordset> Recordset::Open(sqlite3* db, const QString& sql, int* errorCode) {
    int ignored = SQLITE_OK;
    int& rcOut = errorCode ? *errorCode : ignored;
    rcOut = SQLITE_OK;
    if (!db)
        return std::nullopt;
    const std::optional<QByteArray> translated = TranslateSelect(sql);
    if (!translated)
        return std::nullopt;
    sqlite3_stmt* raw = nullptr;
    const char* tail = nullptr;
    rcOut = sqlite3_prepare_v2(db, translated->constData(), int(translated->size()), &raw, &tail);
    if (rcOut != SQLITE_OK) {
        sqlite3_finalize(raw);
        return std::nullopt;
    }
    SqliteStmt stmt(raw);
    if (!stmt || !sqlite3_stmt_readonly(stmt.get()))
        return std::nullopt;
    // One statement only: anything after it would be a second statement.
    const char* end = translated->constData() + translated->size();
    for (const char* p = tail; p && p < end; ++p) {
        if (*p != ' ' && *p != '\t' && *p != '\r' && *p != '\n' && *p != ';')
            return std::nullopt;
    }
    Recordset rs(std::move(stmt));
    const int rc = sqlite3_step(rs.stmt_.get());
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        rcOut = rc;
        return std::nullopt;
    }
    rs.eof_ = rc != SQLITE_ROW;
    return rs;
}

Recordset::Recordset(SqliteStmt stmt) : stmt_(std::move(stmt)) {
    const int n = sqlite3_column_count(stmt_.get());
    columnNames_.reserve(size_t(n));
    for (int i = 0; i < n; ++i) {
        const char* name = sqlite3_column_name(stmt_.get(), i);
        columnNames_.emplace_back(name ? name : "");
    }
}

void Recordset::MoveNext() {
    if (eof_)
        return;
    const int rc = sqlite3_step(stmt_.get());
    eof_ = rc != SQLITE_ROW;
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        errorCode_ = rc;
}

int Recordset::ColumnIndex(const char* name) const {
    // Field names are looked up without regard to case, as the query language treats them.
    for (size_t i = 0; i < columnNames_.size(); ++i) {
        if (strcasecmp(columnNames_[i].c_str(), name) == 0)
            return int(i);
    }
    return -1;
}

bool Recordset::IsNull(const char* name) const {
    const int i = ColumnIndex(name);
    return eof_ || i < 0 || sqlite3_column_type(stmt_.get(), i) == SQLITE_NULL;
}

QString Recordset::Text(const char* name) const {
    const int i = ColumnIndex(name);
    if (eof_ || i < 0)
        return {};
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_.get(), i));
    if (!text)
        return {};
    return QString::fromUtf8(text, sqlite3_column_bytes(stmt_.get(), i));
}

qint64 Recordset::Integer(const char* name) const {
    const int i = ColumnIndex(name);
    if (eof_ || i < 0)
        return 0;
    return sqlite3_column_int64(stmt_.get(), i);
}
