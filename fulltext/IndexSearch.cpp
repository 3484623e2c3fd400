#include "fulltext/IndexSearch.h"

#include "data/SqliteHandles.h"
#include "fulltext/FullTextQuery.h"

#include <chrono>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace IndexSearch {
namespace {

// How many virtual-machine steps SQLite takes between two questions whether to stop.
constexpr int kStepsBetweenChecks = 2000;
// A short term that begins more trigrams than this is common; confirming candidates finds it
// sooner than the index would.
constexpr int kMaxBeginningTrigrams = 2000;

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
    Search(sqlite3* index, const std::function<bool()>& cancelled, const Tuning& tuning)
        : index_(index), cancelled_(cancelled), cancellation_{&cancelled_}, tuning_(tuning) {
        sqlite3_progress_handler(index_, kStepsBetweenChecks, &Cancellation::Handler,
                                 &cancellation_);
    }
    ~Search() { sqlite3_progress_handler(index_, 0, nullptr, nullptr); }

    Result Run(const QStringList& terms, int limit, const std::function<void(const Hit&)>& onHit);

private:
    // Hands on a hit; true once the limit is reached.
    bool Found(qint64 rank, qint64 entry);
    // Confirms the candidates after afterRank in listing order (see the definition).
    Result Walk(const QString& match, qint64 afterRank, bool mayNarrow);
    // The index's query for the trigrams that begin the rarest of the short terms: an empty
    // query when no trigram begins with it, nothing when the index cannot tell.
    std::optional<QString> TrigramsBeginning(const QStringList& terms);
    bool Cancelled() const { return cancelled_ && cancelled_(); }
    bool Prepare(const char* sql, SqliteStmt& stmt);
    // Whether the text in the column holds every term the index cannot vouch for.
    bool TextConfirms(sqlite3_stmt* stmt, int column) const;
    Result Finish(int rc);

    sqlite3* index_;
    const std::function<bool()>& cancelled_;
    Cancellation cancellation_;
    Tuning tuning_;
    int limit_ = 0;
    int hits_ = 0;
    const std::function<void(const Hit&)>* onHit_ = nullptr;
    QStringList shortTerms_;
    std::vector<std::string> toConfirm_; // short terms, and long ones beyond one trigram
    std::chrono::steady_clock::time_point narrowFrom_;
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

Result Search::Finish(int rc) {
    Result result;
    result.hits = hits_;
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
    limit_ = limit;
    onHit_ = &onHit;
    for (const QString& term : terms) {
        if (!FullTextQuery::IsIndexed(term))
            shortTerms_.append(term);
        if (!FullTextQuery::IsIndexed(term) || FullTextQuery::NeedsConfirmation(term))
            toConfirm_.push_back(term.toStdString());
    }
    if (terms.isEmpty() || limit <= 0)
        return Finish(SQLITE_DONE);
    narrowFrom_ = std::chrono::steady_clock::now() + tuning_.scanBeforeIndex;
    return Walk(FullTextQuery::IndexMatchExpression(terms), 0, !shortTerms_.isEmpty());
}

bool Search::Found(qint64 rank, qint64 entry) {
    (*onHit_)({rank, qint32(entry)});
    return ++hits_ >= limit_;
}

Result Search::Walk(const QString& match, qint64 afterRank, bool mayNarrow) {
    // The candidates in listing order: every entry when no term is long enough for the index,
    // else the index's answers, which come in rowid order. The query is bound, never spliced
    // into the statement, and every trigram in it is a quoted string.
    SqliteStmt candidates, body;
    const bool everyEntry = match.isEmpty();
    if (!Prepare(everyEntry ? "SELECT rank, entry, text FROM Body WHERE rank > ?2 ORDER BY rank"
                            : "SELECT rowid FROM Terms WHERE Terms MATCH ?1 AND rowid > ?2 "
                              "ORDER BY rowid",
                 candidates) ||
        !Prepare("SELECT entry, text FROM Body WHERE rank = ?1", body))
        return Finish(SQLITE_ERROR);
    const QByteArray expression = match.toUtf8();
    if (!everyEntry)
        sqlite3_bind_text(candidates.get(), 1, expression.constData(), int(expression.size()),
                          SQLITE_STATIC);
    sqlite3_bind_int64(candidates.get(), 2, afterRank);

    qint64 lastRank = afterRank;
    unsigned walked = 0;
    int rc;
    while ((rc = sqlite3_step(candidates.get())) == SQLITE_ROW) {
        if (Cancelled())
            return Finish(SQLITE_INTERRUPT);
        lastRank = sqlite3_column_int64(candidates.get(), 0);
        sqlite3_stmt* row = candidates.get();
        int textColumn = 2;
        if (!everyEntry) {
            sqlite3_reset(body.get());
            sqlite3_bind_int64(body.get(), 1, lastRank);
            const int found = sqlite3_step(body.get());
            if (found != SQLITE_ROW)
                return Finish(found == SQLITE_DONE ? SQLITE_CORRUPT : found);
            row = body.get();
            textColumn = 1;
        }
        if (TextConfirms(row, textColumn) &&
            Found(lastRank, sqlite3_column_int64(row, textColumn - 1)))
            return Finish(SQLITE_DONE);

        // Still checking candidates after a moment: a short term is rare among them. The trigrams
        // it begins, from the index's vocabulary, lead straight to the rest.
        if (mayNarrow && (walked++ & 255) == 0 && std::chrono::steady_clock::now() >= narrowFrom_) {
            mayNarrow = false;
            const std::optional<QString> beginnings = TrigramsBeginning(shortTerms_);
            if (beginnings && beginnings->isEmpty())
                return Finish(SQLITE_DONE); // no entry holds the rarest short term
            if (beginnings) {
                const QString narrower =
                    everyEntry ? *beginnings
                               : u'(' + match + QStringLiteral(") AND (") + *beginnings + u')';
                candidates.reset();
                return Walk(narrower, lastRank, false);
            }
        }
    }
    return Finish(rc);
}

std::optional<QString> Search::TrigramsBeginning(const QStringList& terms) {
    SqliteStmt vocabulary;
    if (!Prepare("SELECT term, doc FROM temp.TermsVocab WHERE term >= ?1 AND term < ?2 LIMIT ?3",
                 vocabulary))
        return std::nullopt; // an index opened without its vocabulary is read to the end
    std::optional<QStringList> best;
    qint64 bestDocuments = 0;
    for (const QString& term : terms) {
        // Every character of the text begins a trigram, the last two included (the text ends in
        // two line feeds), so the trigrams that begin with the term are where it stands.
        const QByteArray from = term.toUtf8();
        QByteArray to = from;
        to.back() = char(to.back() + 1); // no UTF-8 byte is 0xFF
        sqlite3_reset(vocabulary.get());
        sqlite3_bind_text(vocabulary.get(), 1, from.constData(), int(from.size()), SQLITE_STATIC);
        sqlite3_bind_text(vocabulary.get(), 2, to.constData(), int(to.size()), SQLITE_STATIC);
        sqlite3_bind_int(vocabulary.get(), 3, kMaxBeginningTrigrams + 1);
        QStringList trigrams;
        qint64 documents = 0;
        while (sqlite3_step(vocabulary.get()) == SQLITE_ROW) {
            trigrams << QString::fromUtf8(
                reinterpret_cast<const char*>(sqlite3_column_text(vocabulary.get(), 0)),
                sqlite3_column_bytes(vocabulary.get(), 0));
            documents += sqlite3_column_int64(vocabulary.get(), 1);
        }
        if (Cancelled())
            return std::nullopt;
        if (trigrams.size() > kMaxBeginningTrigrams)
            continue; // far too common to be worth it
        if (!best || documents < bestDocuments) {
            best = trigrams;
            bestDocuments = documents;
        }
    }
    if (!best)
        return std::nullopt;
    for (QString& trigram : *best)
        trigram = u'"' + trigram.replace(u'"', QStringLiteral("\"\"")) + u'"';
    return best->join(QStringLiteral(" OR "));
}

} // namespace

Result Run(sqlite3* index, const QStringList& terms, int limit,
           const std::function<bool()>& cancelled, const std::function<void(const Hit&)>& onHit,
           const Tuning& tuning) {
    Search search(index, cancelled, tuning);
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
