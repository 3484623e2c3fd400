#pragma once

#include <QString>
#include <QStringList>

// A query of the full-text search: terms separated by white space (half- or full-width), each of
// which must occur in the entry. Every character is an ordinary character: quotes, "*", "?",
// operators of the index's own query language and the like are searched for as they stand.
namespace FullTextQuery {

// The longest query taken, in characters; a longer one is refused with a message.
inline constexpr qsizetype kMaxLength = 1000;
// Terms shorter than this (after folding, in characters) are too short for the trigram index
// and are checked against the text itself.
inline constexpr qsizetype kIndexedTermLength = 3;

struct Parsed {
    // Folded terms (see TextFold), without repeats and without a term that another term
    // contains, in the order typed. Empty for an empty query.
    QStringList terms;
    // Why the query cannot be searched, for the user; empty when it can.
    QString error;
};

Parsed Parse(const QString& query);

// Characters (code points) in a folded term.
qsizetype CharacterCount(const QString& term);
bool IsIndexed(const QString& term);
// A term longer than one trigram: the index finds the entries that hold its trigrams, and the
// text must confirm that they stand together.
bool NeedsConfirmation(const QString& term);

// At most this many trigrams of one term are asked of the index: enough to leave few entries to
// confirm, few enough that a long term costs no more than a short one.
inline constexpr int kMaxTrigramsPerTerm = 6;

// The index's query for the indexed terms: trigrams of each term spread over its length
// (overlapping none where it can), each a quoted string with its quotes doubled, all of them
// required. Empty when no term is long enough for the index.
QString IndexMatchExpression(const QStringList& terms);

} // namespace FullTextQuery
