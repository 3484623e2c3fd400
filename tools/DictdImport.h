#pragma once

#include "data/DictionaryWriter.h"
#include "tools/EdictFile.h"
#include "tools/FoldocArticle.h"
#include "tools/JapaneseGlossary.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class DictdDatabase;

struct ImportStats {
    int veraEntries = 0;     // entries from the acronym list
    int foldocEntries = 0;   // entries from abbreviations that only the encyclopaedia knows
    int withArticle = 0;     // entries described by an encyclopaedia article
    int articlesCut = 0;     // of those, descriptions cut to what the program shows
    int textLinks = 0;       // references in descriptions that became links
    int plainReferences = 0; // references to no entry, left as text
    int relatedWords = 0;    // related-word rows
    int categories = 0;      // categories used
    // From the Japanese-English word lists:
    int wordListEntries = 0;      // entries read
    int japaneseEntries = 0;      // entries whose description begins with Japanese terms
    int abbreviationReadings = 0; // entries given the reading of their abbreviation
    int headwordEntries = 0;      // entries made from abbreviation headwords no entry had
    int noticeEntries = 0;        // the entry naming the lists' source and licence
    // Left out, by reason:
    int veraRepeated = 0;       // same abbreviation and expansion as an earlier record (merged)
    int veraNoExpansion = 0;    // records without an expansion
    int veraNoAbbreviation = 0; // records whose abbreviation has no letters or digits
    int foldocUnrelated = 0;    // articles on neither an abbreviation nor an entry's expansion
    int foldocSecond = 0;       // a further article on an entry that already has one
    int headwordsWithoutExpansion = 0; // abbreviation headwords glossed only by themselves
    int headwordsOutsideComputing = 0; // COMPDIC's abbreviation senses EDICT has as general
    // Lines of the word lists left out, per list.
    QList<QPair<QString, EdictFile::Skipped>> wordListSkips;
};

// Merges the acronym list and the computing encyclopaedia into one dictionary: one entry per
// abbreviation and expansion of the acronym list, described by the encyclopaedia's article on
// the expansion or the abbreviation where there is one; further entries for the abbreviations
// that only the encyclopaedia names. The Japanese-English word lists, where given, add the
// Japanese terms for the expansions, the readings of the abbreviations, and entries for the
// abbreviations they have as headwords that no entry has.
class DictdImport {
public:
    // Called with the records done and the records in all.
    using Progress = std::function<void(qint64, qint64)>;

    bool ReadVera(DictdDatabase& db, const Progress& progress, QString* error);
    bool ReadFoldoc(DictdDatabase& db, const Progress& progress, QString* error);
    // A word list's faulty lines are counted in the statistics and never stop the build.
    void ReadWordList(EdictFile& file, const Progress& progress);

    DictionaryContent Build();
    const ImportStats& Stats() const { return stats_; }

private:
    struct Candidate {
        QString abbr;
        QString key;
        QString letter;
        QStringList tags;
        int article = -1;
        // Found through the article on the abbreviation, which may describe several senses.
        bool articleByAbbreviation = false;
        bool fromFoldoc = false;
        int headword = -1;   // the abbreviation headword it was made from
        bool notice = false; // the entry naming the word lists' source and licence
    };

    // An abbreviation's key with its expansion folded: one entry per such sense.
    static QString SenseKey(const QString& key, const QString& letter);
    void AttachArticles(qsizetype from = 0);
    void AddFoldocOnlyEntries();
    void AddHeadwordEntries();
    void AddNoticeEntry();
    // The Japanese lines that begin the entry's description, joined by line breaks.
    QString JapaneseLead(const Candidate& c, qint32 noticeId);
    int ArticleNamed(const QString& name) const;
    const QString& FoldedBody(int article);
    qint32 EntryForReference(const QString& text) const;
    qint32 EntryForTag(const QString& tag) const;

    QList<Candidate> candidates_;
    QHash<QString, int> candidateBySense_; // key and folded expansion
    QList<FoldocArticle> articles_;
    QHash<QString, int> articleByName_; // folded name
    QHash<int, QString> foldedBodies_;
    QHash<int, int> ownerOfArticle_;
    QHash<QString, int> preferredByKey_;
    QHash<QString, int> preferredBySpelling_;
    JapaneseGlossary glossary_;
    QList<AbbreviationHeadword> headwords_; // those that may become entries
    ImportStats stats_;
};
