#include "fulltext/IndexSearch.h"

#include "data/SqliteHandles.h"
#include "fulltext/FullTextQuery.h"

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace IndexSearch {
namespace {

// How many virtual-machine steps SQLite takes between two questions whether to stop.
constexpr int kStepsBetweenChecks = 2000;

// glibc's memmem is several times faster on Japanese text than a search that looks for the
// needle's first byte, which in UTF-8 is nearly always the same lead byte: a rare short term
// then takes a scan of the whole table in under a second rather than two.
bool Contains(std::string_view haystack, const std::string& needle) {
#if defined(__GLIBC__)
    return memmem(haystack.data(), haystack.size(), needle.data(), needle.size()) != nullptr;
#else
    return haystack.find(needle) != std::string_view::npos;
#endif
}

struct Cancellation {
    const std::function<bool()>* cancelled;
    static int Handler(void* self) {
        const auto* c = static_cast<Cancellation*>(self);
        return *c->cancelled && (*c->cancelled)() ? 1 : 0;
    }
};

class Search {
public:
    Search(sqlite3* index, const std::function<bool()>& cancelled)
        : index_(index), cancelled_(cancelled), cancellation_{&cancelled_} {
        sqlite3_progress_handler(index_, kStepsBetweenChecks, &Cancellation::Handler,
                                 &cancellation_);
    }
    ~Search() { sqlite3_progress_handler(index_, 0, nullptr, nullptr); }

    Result Run(const QStringList& terms, int limit, const std::function<void(const Hit&)>& onHit);

private:
    bool Cancelled() const { return cancelled_ && cancelled_(); }
    bool Prepare(const char* sql, SqliteStmt& stmt);
    // Whether the text in the column holds every term the index cannot vouch for.
    bool TextConfirms(sqlite3_stmt* stmt, int column) const;
    Result Finish(int rc, int hits);

    sqlite3* index_;
    const std::function<bool()>& cancelled_;
    Cancellation cancellation_;
    std::vector<std::string> toConfirm_; // short terms, and long ones beyond one trigram
};

bool Search::Prepare(const char* sql, SqliteStmt& stmt) {
    sqlite3_stmt* raw = nullptr;
    const bool ok = sqlite3_prepare_v2(index_, sql, -1, &raw, nullptr) == SQLITE_OK;
    stmt.reset(raw);
    return ok;
}

bool Search::TextConfirms(sqlite3_stmt* stmt, int column) const {
    if (toConfirm_.empty())
        return true;
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
    const std::string_view haystack(text ? text : "", size_t(sqlite3_column_bytes(stmt, column)));
    for (const std::string& term : toConfirm_) {
        if (!Contains(haystack, term))
            return false;
    }
    return true;
}

Result Search::Finish(int rc, int hits) {
    Result result;
    result.hits = hits;
    if (Cancelled()) {
        result.outcome = Outcome::Cancelled;
    } else if (rc != SQLITE_DONE && rc != SQLITE_OK && rc != SQLITE_ROW) {
        result.outcome = Outcome::Failed;
        result.errorCode = sqlite3_extended_errcode(index_);
        result.error = QString::fromUtf8(sqlite3_errmsg(index_));
        if (rc == SQLITE_CORRUPT && (result.errorCode & 0xFF) != SQLITE_CORRUPT) {
            result.errorCode = SQLITE_CORRUPT; // found by us, not by SQLite
            result.error = QStringLiteral("the index lists an entry it does not hold");
        }
    }
    return result;
}

Result Search::Run(const QStringList& terms, int limit,
                   const std::function<void(const Hit&)>& onHit) {
    for (const QString& term : terms) {
        if (!FullTextQuery::IsIndexed(term) || FullTextQuery::NeedsConfirmation(term))
            toConfirm_.push_back(term.toStdString());
    }
    const QString match = FullTextQuery::IndexMatchExpression(terms);
    int hits = 0;
    if (terms.isEmpty() || limit <= 0)
        return Finish(SQLITE_DONE, 0);

    if (match.isEmpty()) {
        // Every term is short: read the texts in listing order.
        SqliteStmt scan;
        if (!Prepare("SELECT rank, entry, text FROM Body ORDER BY rank", scan))
            return Finish(SQLITE_ERROR, 0);
        int rc;
        while ((rc = sqlite3_step(scan.get())) == SQLITE_ROW) {
            if (Cancelled())
                return Finish(SQLITE_INTERRUPT, hits);
            if (!TextConfirms(scan.get(), 2))
                continue;
            onHit(
                {sqlite3_column_int64(scan.get(), 0), qint32(sqlite3_column_int64(scan.get(), 1))});
            if (++hits >= limit)
                return Finish(SQLITE_DONE, hits);
        }
        return Finish(rc, hits);
    }

    // The index answers in rowid order, which is listing order; the query is bound, never
    // spliced into the statement, and every trigram in it is a quoted string.
    SqliteStmt candidates, body;
    if (!Prepare("SELECT rowid FROM Terms WHERE Terms MATCH ?1 ORDER BY rowid", candidates) ||
        !Prepare("SELECT entry, text FROM Body WHERE rank = ?1", body))
        return Finish(SQLITE_ERROR, 0);
    const QByteArray expression = match.toUtf8();
    sqlite3_bind_text(candidates.get(), 1, expression.constData(), int(expression.size()),
                      SQLITE_STATIC);
    int rc;
    while ((rc = sqlite3_step(candidates.get())) == SQLITE_ROW) {
        if (Cancelled())
            return Finish(SQLITE_INTERRUPT, hits);
        const qint64 rank = sqlite3_column_int64(candidates.get(), 0);
        sqlite3_reset(body.get());
        sqlite3_bind_int64(body.get(), 1, rank);
        const int found = sqlite3_step(body.get());
        if (found != SQLITE_ROW)
            return Finish(found == SQLITE_DONE ? SQLITE_CORRUPT : found, hits);
        if (!TextConfirms(body.get(), 1))
            continue;
        onHit({rank, qint32(sqlite3_column_int64(body.get(), 0))});
        if (++hits >= limit)
            return Finish(SQLITE_DONE, hits);
    }
    return Finish(rc, hits);
}

} // namespace

Result Run(sqlite3* index, const QStringList& terms, int limit,
           const std::function<bool()>& cancelled, const std::function<void(const Hit&)>& onHit) {
    Search search(index, cancelled);
    return search.Run(terms, limit, onHit);
}

bool IsDamage(int errorCode) {
    switch (errorCode & 0xFF) {
    case SQLITE_INTERRUPT:
    case SQLITE_NOMEM:
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return false;
    default:
        return errorCode != SQLITE_OK;
    }
}

} // namespace IndexSearch
