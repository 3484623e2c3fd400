#pragma once

#include "data/DictionaryWriter.h"
#include "tools/EdictFile.h"
#include "tools/FoldocArticle.h"
#include "tools/FoldocLayout.h"
#include "tools/JapaneseGlossary.h"
#include "tools/ReferenceResolver.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>

class DictdDatabase;

struct ImportStats {
    int veraEntries = 0;     // entries from the acronym list
    int foldocEntries = 0;   // entries from abbreviations that only the encyclopaedia knows
    int withArticle = 0;     // entries described by an encyclopaedia article
    int articlesCut = 0;     // of those, descriptions cut to what the program shows
    int termEntries = 0;     // entries made from articles that the others refer to
    int textLinks = 0;       // references in descriptions that became links
    int plainReferences = 0; // references to no entry, left as text
    int relatedWords = 0;    // related-word rows
    int categories = 0;      // categories used
    // How the links and related words found their entries (ReferenceResolver::How).
    int resolvedExactly = 0;
    int resolvedByEvidence = 0;
    int resolvedUncertain = 0;
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

// A link whose sense no evidence decided: the referring entry, the reference as written and the
// entry it was given, each entry as its abbreviation and expansion.
struct UncertainLink {
    QString fromAbbr;
    QString fromLetter;
    QString reference;
    QString toAbbr;
    QString toLetter;
};

// Merges the acronym list and the computing encyclopaedia into one dictionary: one entry per
// abbreviation and expansion of the acronym list, described by the encyclopaedia's article on
// the expansion or the abbreviation where there is one; further entries for the abbreviations
// that only the encyclopaedia names. The Japanese-English word lists, where given, add the
// Japanese terms for the expansions, the readings of the abbreviations, and entries for the
// abbreviations they have as headwords that no entry has. Every article the others refer to,
// and that no entry is, becomes an entry of its own in the category of terms, so that each
// reference leads somewhere.
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
    const QList<UncertainLink>& UncertainLinks() const { return uncertain_; }

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
        bool term = false;   // an article no other entry is, as an entry of its own
    };
    // What one entry's description and related words became.
    struct Described {
        QString hyperText;
        QList<QPair<qint32, QString>> related; // entry and the word as written
    };

    // An abbreviation's key with its expansion folded: one entry per such sense.
    static QString SenseKey(const QString& key, const QString& letter);
    void IndexArticleName(const QString& name, int article);
    void AttachArticles(qsizetype from = 0);
    void AddFoldocOnlyEntries();
    void AddHeadwordEntries();
    void AddNoticeEntry();
    void AddTermEntries();
    struct EntriesByTitle {
        QSet<QString> keys;
        QHash<QString, QList<int>> abbreviations; // case-folded
    };
    bool PlaceReferencedArticle(int article, const EntriesByTitle& byTitle);
    bool NeedsTermEntry(int article, const QSet<QString>& keys);
    // The Japanese lines that begin the entry's description, joined by line breaks.
    QString JapaneseLead(const Candidate& c, qint32 noticeId);

    int ArticleNamed(const QString& folded) const;
    // The article a reference names: by its name, or the singular of a plural.
    int ArticleReferenced(const QString& name) const;
    const QString& FoldedBody(int article);
    const QList<FoldocParagraph>& LaidOut(int article);

    // The parts of Build, in order.
    QList<int> CategoryIndexes() const;
    void RegisterSenses(const QList<int>& categoryOf);
    QString SenseText(const Candidate& c);
    void CountReferences();
    DictionaryContent Emit(const QList<int>& categoryOf);
    QList<DictionaryContent::Category> UsedCategories(const QList<int>& categoryOf,
                                                      QHash<int, qint32>* ids) const;
    Described Describe(int n, qint32 noticeId);
    QString TagLine(int n, const QStringList& tags, qint32 id);

    ReferenceResolver::Result ResolvePiece(const FoldocPiece& piece, qint32 from) const;
    ReferenceResolver::Result ResolveTag(const QString& tag, qint32 from) const;
    // Counts a link of entry `from` in the summary; the id it leads to, or 0.
    qint32 Link(const ReferenceResolver::Result& result, const QString& reference, qint32 from);

    QList<Candidate> candidates_;
    QHash<QString, int> candidateBySense_; // key and folded expansion
    QList<FoldocArticle> articles_;
    QHash<QString, int> articleByName_;      // folded name
    QHash<QString, int> articleByExactName_; // name in lower case
    QHash<QString, int> articleBySingular_;  // folded name, each word without a plural "s"
    QHash<int, QString> redirectOf_;         // articles that only refer to another
    QHash<int, QString> foldedBodies_;
    QHash<int, QList<FoldocParagraph>> laidOut_;
    QHash<int, int> ownerOfArticle_;   // the entry the article describes, by name
    QSet<int> articlesByAbbreviation_; // articles listing several senses of an abbreviation
    ReferenceResolver resolver_;
    QList<UncertainLink> uncertain_;
    JapaneseGlossary glossary_;
    QList<AbbreviationHeadword> headwords_; // those that may become entries
    ImportStats stats_;
};
