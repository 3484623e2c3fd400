#pragma once

#include "data/DictionaryWriter.h"
#include "tools/FoldocArticle.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class DictdDatabase;

// A dictionary in our format, ready to be written.
using ImportedDictionary = DictionaryContent;

struct ImportStats {
    int veraEntries = 0;     // entries from the acronym list
    int foldocEntries = 0;   // entries from abbreviations that only the encyclopaedia knows
    int withArticle = 0;     // entries described by an encyclopaedia article
    int articlesCut = 0;     // of those, descriptions cut to what the program shows
    int textLinks = 0;       // references in descriptions that became links
    int plainReferences = 0; // references to no entry, left as text
    int relatedWords = 0;    // related-word rows
    int categories = 0;      // categories used
    // Left out, by reason:
    int veraRepeated = 0;       // same abbreviation and expansion as an earlier record (merged)
    int veraNoExpansion = 0;    // records without an expansion
    int veraNoAbbreviation = 0; // records whose abbreviation has no letters or digits
    int foldocUnrelated = 0;    // articles on neither an abbreviation nor an entry's expansion
    int foldocSecond = 0;       // a further article on an entry that already has one
};

// Merges the acronym list and the computing encyclopaedia into one dictionary: one entry per
// abbreviation and expansion of the acronym list, described by the encyclopaedia's article on
// the expansion or the abbreviation where there is one; further entries for the abbreviations
// that only the encyclopaedia names.
class DictdImport {
public:
    // Called with the records done and the records in all.
    using Progress = std::function<void(qint64, qint64)>;

    bool ReadVera(DictdDatabase& db, const Progress& progress, QString* error);
    bool ReadFoldoc(DictdDatabase& db, const Progress& progress, QString* error);

    ImportedDictionary Build();
    const ImportStats& Stats() const { return stats_; }

    // The largest description written, as the program counts; it shows no more.
    static constexpr int kDescriptionBytes = 4096;

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
    };

    void AttachArticles();
    void AddFoldocOnlyEntries();
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
    ImportStats stats_;
};

// Writes the dictionary through DictionaryWriter: the file appears only when complete.
bool WriteDictionary(const ImportedDictionary& dictionary, const QString& path,
                     const DictdImport::Progress& progress, QString* error);
