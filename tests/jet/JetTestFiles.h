#pragma once

#include "JetTestWriter.h"

#include <QByteArray>
#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>
#include <sqlite3.h>

// The real Jet files of the shared test data, when they are there.
QString JetTestDataPath(const QString& file);
#define SKIP_WITHOUT_JET_TESTDATA(path)                                                            \
    do {                                                                                           \
        if (!QFileInfo::exists(path))                                                              \
            GTEST_SKIP() << "Jet test data not found: " << qPrintable(path);                       \
    } while (0)

QByteArray ReadWholeFile(const QString& path);
bool WriteWholeFile(const QString& path, const QByteArray& bytes);

// One value of a query on the copied database (an invalid QVariant for null, or when the
// query fails: the tests ask for columns that exist).
QVariant QueryValue(sqlite3* db, const QString& sql);
QList<QVariant> QueryColumn(sqlite3* db, const QString& sql);

// Builds dictionaries with our tables in the Jet 4 format.
class JetDictionary {
public:
    struct Entry {
        qint32 id;
        QString key;
        QString abbr;
        QVariant letter; // null for none
        qint32 category;
        QString hyperText;
        QVariant description;
        QVariant url;
    };

    // urlColumn names the web address column; empty leaves it out.
    explicit JetDictionary(const QString& urlColumn = QStringLiteral("URL"),
                           JetTestWriter::Version version = JetTestWriter::Version::Jet4);

    void AddCategory(qint32 id, const QString& name, const QVariant& shortName);
    void AddEntry(const Entry& entry);
    void AddLink(qint32 abbrId, const QString& word, qint32 refId);
    // The writer itself, for further tables or catalogue objects.
    JetTestWriter& Writer() { return writer_; }

    // The same three categories and handful of entries as the standard dictionary in our own
    // format, so that both kinds of file answer the same questions the same way.
    static JetDictionary Standard();

private:
    JetTestWriter writer_;
    bool hasUrl_;
};
