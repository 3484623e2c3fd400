#pragma once

#include "data/SqliteHandles.h"

#include <QHash>
#include <QString>
#include <memory>
#include <vector>

// The dictionary being exported, opened read-only as the program opens it (a Jet file through the
// isolated reader) and never written. Entries are read one at a time in the order of the result
// list, so that memory does not grow with the dictionary.
class SourceDictionary {
public:
    struct RelatedWord {
        QString word;
        qint32 refId = 0;
    };
    struct Entry {
        qint32 id = 0;
        QString key;
        QString abbr;
        QString letter;
        qint32 categoryId = 0;
        QString hyperText;
        QString description;
        QString url;
        std::vector<RelatedWord> related; // in the order of the related-words list
    };

    // Null with *error set when the file is missing, not a dictionary, damaged or has no table
    // of entries.
    static std::unique_ptr<SourceDictionary> Open(const QString& path, QString* error);
    ~SourceDictionary();
    SourceDictionary(const SourceDictionary&) = delete;
    SourceDictionary& operator=(const SourceDictionary&) = delete;

    qint64 EntryCount() const { return entryCount_; }
    // What the entry view shows after the spelled-out form: the category's short name, or where
    // it has none its name; empty for an entry without a category.
    QString CategoryLabel(qint32 categoryId) const { return categoryLabels_.value(categoryId); }
    // The abbreviation of the entry with this id, which references lead to; empty for none.
    QString AbbrOf(qint32 id) const;

    // The next entry; false at the end or when reading fails (then Failed() is true).
    bool Next(Entry& entry);
    bool Failed() const { return !error_.isEmpty(); }
    QString ErrorText() const { return error_; }

private:
    SourceDictionary() = default;
    bool Prepare(QString* error);
    bool ReadCategories();
    bool ReadAbbreviations();
    void ReadRelated(Entry& entry);

    SqliteDb db_;
    SqliteStmt entries_;
    SqliteStmt related_;
    int relatedWord_ = -1, relatedRefId_ = -1;
    struct Columns {
        int id = -1, key = -1, abbr = -1, letter = -1, category = -1, hyperText = -1,
            description = -1, url = -1;
    } columns_;
    qint64 entryCount_ = 0;
    QHash<qint32, QString> categoryLabels_;
    // Abbreviations by id, kept compactly: a million entries take some megabytes, not a hundred.
    struct AbbrSpan {
        qint32 id;
        quint32 start; // in abbrText_
        quint32 length;
    };
    std::vector<AbbrSpan> abbrIndex_; // by id
    QString abbrText_;
    QString error_;
};
