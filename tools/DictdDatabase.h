#pragma once

#include "tools/DictData.h"
#include "tools/DictdIndex.h"

#include <QList>
#include <QString>
#include <memory>

// A dictd database: its index and the data file beside it (NAME.index with NAME.dict.dz or
// NAME.dict). Opening checks every index line against the data, so that a bad database is
// refused before anything is built from it.
class DictdDatabase {
public:
    enum class Kind { Unknown, Vera, Foldoc };

    static std::unique_ptr<DictdDatabase> Open(const QString& indexPath, QString* error);

    QString IndexPath() const { return indexPath_; }
    QString DataPath() const { return dataPath_; }
    // What the database says it is ("00-database-short"), and which of ours it is.
    QString ShortName() const { return shortName_; }
    Kind DatabaseKind() const { return kind_; }

    // The entries without the database's own header entries ("00-database-...").
    const QList<DictdIndexEntry>& Entries() const { return entries_; }
    // The text of an entry; UTF-8, or Latin-1 where a text is not valid UTF-8.
    bool Text(const DictdIndexEntry& entry, QString* text, QString* error);

private:
    DictdDatabase() = default;
    // The text of a header entry without its first line (which repeats the headword).
    bool HeaderText(const DictdIndexEntry& entry, QString* text, QString* error);

    QString indexPath_;
    QString dataPath_;
    std::unique_ptr<DictData> data_;
    QList<DictdIndexEntry> entries_;
    QString shortName_;
    Kind kind_ = Kind::Unknown;
};

// Which of the databases we build from a header describes, from its short name and its
// information text.
DictdDatabase::Kind IdentifyDictdDatabase(const QString& shortName, const QString& info);
