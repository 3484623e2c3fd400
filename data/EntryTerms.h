#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The Japanese terms that a description carries in its first line, as dictionaries built from the
// Japanese word lists write them: each term bold, its readings in full-width parentheses, the
// terms joined by "、", then after an ideographic space how the abbreviation itself is read:
//   \B中央処理装置\b（ちゅうおうしょりそうち）、\B中央演算処理装置\b（…）　読み：シーピーユー
// Other programs look an entry up by these words, so they are read here, once, for all of them.
namespace EntryTerms {

struct Term {
    QString word;
    QStringList readings;
};

struct Terms {
    QList<Term> terms;
    QStringList abbreviationReadings;

    bool IsEmpty() const { return terms.isEmpty() && abbreviationReadings.isEmpty(); }
    // Every term, each followed by its readings, then the abbreviation's readings; each word once.
    QStringList Words() const;
};

// The terms of a description (its stored markup). A first line that is not wholly such a line
// (a bold heading followed by text, say, or a term without a Japanese character) gives none:
// a description is never mistaken for terms.
Terms Read(const QString& hyperText);

} // namespace EntryTerms
