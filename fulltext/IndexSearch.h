#pragma once

#include <QString>
#include <QStringList>
#include <chrono>
#include <functional>
#include <sqlite3.h>

// Runs a parsed query (folded terms, see FullTextQuery) on an open full-text index. Terms of three
// characters or more go to the trigram index, which answers in listing order; what it cannot
// vouch for (shorter terms, and that a longer term's trigrams stand together) is checked in the
// text of each candidate, or of every entry in listing order when no term is long enough for
// the index. Should that take more than a moment, a short term is rare: the trigrams that begin
// it, from the index's vocabulary, narrow the remaining candidates down to the entries that hold
// it. Either way results come in listing order and
// the search stops at the limit, so the first results are there at once and only a rare short term
// takes a whole scan.
namespace IndexSearch {

struct Hit {
    qint64 rank = 0;  // place in listing order, from 1
    qint32 entry = 0; // AbbrID
};

enum class Outcome { Finished, Cancelled, Failed };

struct Result {
    Outcome outcome = Outcome::Finished;
    int hits = 0;
    int errorCode = SQLITE_OK; // on Failed
    QString error;
};

struct Tuning {
    // How long candidates are checked for a short term before the index's vocabulary is asked
    // for the trigrams it begins (see IndexFiles: the vocabulary comes with an opened index).
    std::chrono::milliseconds scanBeforeIndex{50};
};

// Hands each hit to onHit as soon as it is found. `cancelled` is asked between rows and while
// SQLite works; true ends the search as Cancelled.
Result Run(sqlite3* index, const QStringList& terms, int limit,
           const std::function<bool()>& cancelled, const std::function<void(const Hit&)>& onHit,
           const Tuning& tuning = {});

// Whether a failure means that the index itself is damaged (and should be built again) rather
// than that the machine is short of something for the moment.
bool IsDamage(int errorCode);

} // namespace IndexSearch
