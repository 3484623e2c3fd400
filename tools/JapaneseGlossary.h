#pragma once

#include "tools/AbbreviationHeadwords.h"
#include "tools/EdictEntry.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

// A Japanese word for an entry, with its readings (none when it is written in kana).
struct JapaneseTerm {
    QString word;
    QStringList readings;
};

// What the word lists give for one entry: the Japanese terms for its spelled-out form, and how
// the abbreviation itself is read, where the lists have it as a headword.
struct JapaneseTerms {
    QList<JapaneseTerm> terms;
    QStringList abbreviationReadings;
    bool IsEmpty() const { return terms.isEmpty() && abbreviationReadings.isEmpty(); }
};

// The glosses of the word lists, indexed for looking up the Japanese words of an entry's
// spelled-out form.
class JapaneseGlossary {
public:
    static constexpr int kMostTerms = 3;

    // Glosses and spelled-out forms are compared in this form: lower case, without hyphens and
    // spaces ("Liquid-Crystal Display" and "liquid crystal display" are the same).
    static QString Folded(QStringView text);
    // A headword in Latin letters is an abbreviation, not a Japanese term: it goes to
    // Abbreviations().
    void Add(const EdictEntry& entry, EdictSource source);
    bool IsEmpty() const { return words_.isEmpty(); }

    // The terms for an entry with this key and spelled-out form: at most kMostTerms, COMPDIC's
    // first, computing senses before others, then words whose sense also has the abbreviation as
    // a gloss, common words, words whose first gloss it is, and shorter words; one of each set
    // of words that differ only by a middle dot or a long vowel mark. Forms of the expansion
    // without its bracketed remarks, and glosses without their parenthesised ones, match computing
    // senses only. With them, how the abbreviation is read.
    JapaneseTerms TermsFor(const QString& key, const QString& expansion) const;

    const AbbreviationHeadwords& Abbreviations() const { return abbreviations_; }

private:
    struct Word {
        QString headword;
        QString reading;
        EdictSource source;
    };
    struct Occurrence {
        int word;
        bool computing;
        bool loose;           // through the gloss without its parenthesised remarks
        bool first;           // the sense's first gloss, its main meaning
        int abbreviationKeys; // the keys of the sense's abbreviation glosses in
                              // abbreviationKeys_, or -1
    };
    struct Ranked;

    QList<Word> words_;
    QHash<QString, QList<Occurrence>> byGloss_;
    QList<QStringList> abbreviationKeys_;
    QSet<QString> common_; // headwords that EDICT marks as common words
    AbbreviationHeadwords abbreviations_;
};
