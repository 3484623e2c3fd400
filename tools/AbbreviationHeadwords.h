#pragma once

#include "tools/EdictEntry.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

// A sense of an abbreviation headword ("ＤＯＳ [ドス] /(n) (comp) disk operating system/DOS/")
// that may become an entry of its own.
struct AbbreviationHeadword {
    QString abbr;        // half-width: "DOS/V"
    QString key;         // its search key
    QString expansion;   // the first gloss that is neither the abbreviation itself nor another
                         // one ("JPG"), or the expansion it gives in parentheses
    QStringList glosses; // all glosses of the sense, in order
};

// The word lists' headwords in Latin letters ("ＣＰＵ", "ＤＯＳ／Ｖ"): abbreviations, which tell
// how an abbreviation is read, and which may be entries the other sources lack. The candidates for
// entries are the senses of COMPDIC and the computing senses of EDICT. COMPDIC has EDICT's
// lines for its terms with the field tags taken off, so where EDICT is given too, a sense of
// COMPDIC that EDICT has without "(comp)" ("ＣＡ": cabin attendant) is none.
class AbbreviationHeadwords {
public:
    static constexpr int kMostReadings = 3;

    // A headword of Latin letters (mostly full-width), digits and signs, with at least one letter.
    static bool IsAbbreviationHeadword(QStringView headword);
    // The half-width form of such a headword: "ＣＤ−ＲＯＭ" is "CD-ROM".
    static QString HalfWidth(QStringView text);
    // The forms in which an abbreviation's expansion and a gloss are taken to be the same: in
    // lower case, letters and digits only, each word without a plural "s" ("Small Computer
    // Systems Interface" and "small computer system interface"); also without remarks in
    // brackets or parentheses.
    static QStringList SameExpansionForms(const QString& text);

    // Takes an entry whose headword is an abbreviation.
    void Add(const EdictEntry& entry, EdictSource source);

    // How the abbreviation with this key is read where it stands for this expansion; common
    // readings first, then COMPDIC's.
    QStringList ReadingsFor(const QString& key, const QString& expansion) const;

    // The senses that may become entries, one per abbreviation and expansion.
    QList<AbbreviationHeadword> Candidates() const;
    int WithoutExpansion() const { return int(withoutExpansion_.size()); }
    // COMPDIC's senses left out because EDICT has them outside computing.
    int OutsideComputing() const;

private:
    struct Reading {
        QString reading;
        bool common;
        EdictSource source;
    };
    struct Candidate {
        AbbreviationHeadword headword;
        QString sense; // key and expansion, compared forms
        bool computingInEdict = false;
    };

    bool IsOutsideComputing(const Candidate& c) const;

    QHash<QString, QList<Reading>> readingsBySense_; // key, tab, a gloss's compared form
    QList<Candidate> candidates_;
    QHash<QString, int> candidateBySense_;
    QSet<QString> generalInEdict_; // senses EDICT has without "(comp)"
    QSet<QString> withoutExpansion_;
};
