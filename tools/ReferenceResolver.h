#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// Which entry a reference leads to: a link in a description (FOLDOC's "{ATM}") or a related word
// (VERA's "(ATM, CBR)"). The rules, in order:
//
// 1. The form as written. The senses are the entries whose abbreviation equals the reference
//    ignoring case, and of those the ones spelt exactly as written, unless all of these are
//    slang, old terms or obsolete ("PERL" in capitals is a slang sense of Perl). Only where no
//    abbreviation is written that way does the key decide ("SO-DIMM" finds "SODIMM"), and only
//    for a reference without small letters: a word of running text is no abbreviation. So "SSL"
//    never leads to "S/SL".
// 2. A reference that names the referring entry itself, or one of whose senses it is, leads
//    nowhere.
// 3. The entry that the encyclopaedia's own link names (`named`: "{CPUs}" names the article on
//    the central processing unit) wins among the senses, and is the answer where no entry is
//    written like the reference.
// 4. Otherwise the senses are weighed. Evidence: the words that the referring entry's expansion,
//    tags and text share with a sense's expansion, tags and text (rare words count for more, a
//    shared expansion word most, a remark in brackets like a tag); the referring entry's
//    category; the sense whose expansion is the title of the article `named`. Besides evidence:
//    how often the rest of the dictionary refers to the sense (CountReferenceTo), and a penalty
//    for slang, old terms and obsolete senses. A sense that leads clearly, and has more
//    evidence than the next, wins on evidence.
// 5. Where none does, of the senses close to the lead the one referred to most, slang and old
//    terms last; the result says it is uncertain.
class ReferenceResolver {
public:
    enum class How { None, Exact, Evidence, Uncertain };
    struct Result {
        qint32 id = 0;
        How how = How::None;
    };

    // An entry as the evidence sees it.
    struct Sense {
        QString abbr;
        QString letter; // the spelled-out form
        QStringList tags;
        QString text;         // the description as a reader sees it
        int category = -1;    // the category its subject belongs to; -1 for none
        bool demoted = false; // slang, an old term or obsolete
    };

    // Entries are numbered from 1 in the order they are added; all are added before the first
    // Resolve.
    qint32 Add(const Sense& sense);

    // named: the entry the encyclopaedia's article for the reference is, or 0.
    Result Resolve(const QString& reference, qint32 from, qint32 named = 0) const;

    // Another reference leads to id; what is referred to most wins where evidence does not.
    void CountReferenceTo(qint32 id);

    // The words evidence compares: lower case, letters and digits, without the commonest
    // English words.
    static QStringList Words(const QString& text);

private:
    struct Weighted {
        int word;
        float weight;
    };
    struct Entry {
        QString abbr;
        QString letter; // case-folded, without remarks in brackets
        int category;
        bool demoted;
        QList<Weighted> bag; // sorted by word: the sense as a candidate
        QList<int> context;  // sorted: the sense as the referring entry
        int referenceCount = 0;
    };
    struct Scored;

    int WordId(const QString& word);
    QList<qint32> FormCandidates(const QString& reference) const;
    float WordEvidence(const Entry& candidate, const Entry& referrer,
                       const QList<int>& excluded) const;
    Result Weigh(const QList<qint32>& senses, const QString& reference, qint32 from,
                 qint32 named) const;

    QList<Entry> senses_;
    QHash<QString, int> wordIds_;
    QList<int> documentFrequency_;
    QHash<QString, QList<qint32>> byFoldedAbbr_;
    QHash<QString, QList<qint32>> byKey_;
};
