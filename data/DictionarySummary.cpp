#include "data/DictionarySummary.h"

#include "data/DbAccess.h"
#include "data/DictionaryFile.h"
#include "data/JetImport.h"
#include "data/SqliteValue.h"

#include <QFileInfo>
#include <QLocale>

namespace DictionarySummary {
namespace {

qint64 CountEntries(sqlite3* db) {
    bool ok = false;
    const qint64 count = QueryTextValue(db, "SELECT count(*) FROM AbbrTB").toLongLong(&ok);
    return ok ? count : -1;
}

QString Resolved(const QString& path) {
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? path : canonical;
}

} // namespace

Summary Read(const QString& path) {
    Summary summary{Resolved(path)};
    SqliteDb db;
    switch (DictionaryFile::Detect(path)) {
    case DictionaryFile::Format::Sqlite:
        db = DictionaryFile::OpenSqlite(path);
        break;
    case DictionaryFile::Format::Jet:
        db = std::move(JetImport::ImportTables(path, {QStringLiteral("AbbrTB")}).db);
        break;
    case DictionaryFile::Format::Missing:
    case DictionaryFile::Format::Unknown:
    case DictionaryFile::Format::Truncated:
        break;
    }
    if (db)
        summary.entries = CountEntries(db.get());
    return summary;
}

Summary Of(const DbAccess::Dictionary& dictionary) {
    sqlite3* db = dictionary.Db();
    if (!db)
        return {Resolved(dictionary.Path())};
    // SQLite resolves links when it opens a file: its name for the connection is the file it
    // holds. A Jet dictionary is a copy in memory, whose name says nothing.
    const char* opened = JetImport::CatalogueOf(db) ? nullptr : sqlite3_db_filename(db, "main");
    const QString file =
        opened && *opened ? QString::fromUtf8(opened) : Resolved(dictionary.Path());
    return {file, CountEntries(db)};
}

QString VersionLine(const Summary& summary) {
    if (summary.entries < 0)
        return QStringLiteral("Dictionary: %1 (cannot be opened as a dictionary)\n")
            .arg(summary.file);
    return QStringLiteral("Dictionary: %1 (%2 %3)\n")
        .arg(summary.file)
        .arg(summary.entries)
        .arg(summary.entries == 1 ? QLatin1String("entry") : QLatin1String("entries"));
}

QString AboutLine(const Summary& summary) {
    if (summary.entries < 0)
        return QStringLiteral("辞書：%1（開けません）").arg(summary.file);
    // Our Japanese groups the digits of large counts by three (約 18,000 項目).
    return QStringLiteral("辞書：%1（%2 項目）")
        .arg(summary.file, QLocale(QLocale::Japanese, QLocale::Japan).toString(summary.entries));
}

} // namespace DictionarySummary
