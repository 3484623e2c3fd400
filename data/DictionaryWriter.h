#pragma once

#include "data/SqliteHandles.h"

#include <QList>
#include <QString>
#include <functional>

// Writes a new dictionary in our format. Only the build tools use it: the program itself never
// writes a dictionary. The file appears under its name only when Finish succeeds, so a failed
// build never leaves half a dictionary behind.
class DictionaryWriter {
public:
    struct Entry {
        qint32 id = 0;
        QString key;
        QString abbr;
        QString letter;
        bool letterIsNull = false;
        qint32 categoryId = 0;
        QString hyperText;
        QString description;
        QString url; // empty means none
    };

    explicit DictionaryWriter(QString path);
    ~DictionaryWriter();
    DictionaryWriter(const DictionaryWriter&) = delete;
    DictionaryWriter& operator=(const DictionaryWriter&) = delete;

    bool Begin();
    bool AddCategory(qint32 id, const QString& name, const QString& shortName);
    bool AddEntry(const Entry& entry);
    bool AddLink(qint32 abbrId, const QString& word, qint32 refId);
    bool Finish();

    QString ErrorText() const { return error_; }

private:
    bool Fail(const QString& what);
    bool Run(const char* sql);

    QString path_;
    QString tempPath_;
    SqliteDb db_;
    SqliteStmt insertCategory_;
    SqliteStmt insertEntry_;
    SqliteStmt insertLink_;
    QString error_;
};

// A whole dictionary held in memory, as the build tools assemble it before writing.
struct DictionaryContent {
    struct Category {
        qint32 id = 0;
        QString name;
        QString shortName;
    };
    struct Link {
        qint32 abbrId = 0;
        QString word;
        qint32 refId = 0;
    };

    QList<Category> categories;
    QList<DictionaryWriter::Entry> entries;
    QList<Link> links;
};

// Writes the content through DictionaryWriter, so the file appears only when complete.
// progress, when given, is called now and then with the rows written and the rows in all.
bool WriteDictionary(const DictionaryContent& content, const QString& path, QString* error,
                     const std::function<void(qint64 done, qint64 total)>& progress = {});
