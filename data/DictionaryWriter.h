#pragma once

#include "data/SqliteHandles.h"

#include <QString>

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
