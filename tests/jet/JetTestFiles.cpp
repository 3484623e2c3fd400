#include "JetTestFiles.h"

#include "data/SqliteHandles.h"
#include "data/Strings.h"

#include <QFile>

QString JetTestDataPath(const QString& file) {
    return QStringLiteral(TESSARINE_TESTDATA_DIR "/jet/") + file;
}

QByteArray ReadWholeFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool WriteWholeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

namespace {

QVariant ColumnValue(sqlite3_stmt* stmt) {
    switch (sqlite3_column_type(stmt, 0)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(stmt, 0)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(stmt, 0));
    case SQLITE_TEXT:
        return QVariant(
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)),
                              sqlite3_column_bytes(stmt, 0)));
    case SQLITE_BLOB:
        return QVariant(QByteArray(static_cast<const char*>(sqlite3_column_blob(stmt, 0)),
                                   sqlite3_column_bytes(stmt, 0)));
    default:
        return QVariant();
    }
}

} // namespace

QList<QVariant> QueryColumn(sqlite3* db, const QString& sql) {
    QList<QVariant> values;
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &raw, nullptr) != SQLITE_OK) {
        sqlite3_finalize(raw);
        return values;
    }
    SqliteStmt stmt(raw);
    while (sqlite3_step(stmt.get()) == SQLITE_ROW)
        values.append(ColumnValue(stmt.get()));
    return values;
}

QVariant QueryValue(sqlite3* db, const QString& sql) {
    const QList<QVariant> values = QueryColumn(db, sql);
    return values.isEmpty() ? QVariant() : values.first();
}

JetDictionary::JetDictionary(const QString& urlColumn, JetTestWriter::Version version)
    : writer_(version), hasUrl_(!urlColumn.isEmpty()) {
    using T = JetTestWriter::Type;
    writer_.AddTable(QStringLiteral("CategoryTB"),
                     {{QStringLiteral("CategoryID"), T::Long},
                      {QStringLiteral("Category"), T::Text, 50},
                      {QStringLiteral("ShortName"), T::Text, 10}},
                     0);
    QList<JetTestWriter::Column> entry{
        {QStringLiteral("AbbrID"), T::Long},     {QStringLiteral("AbbrKey"), T::Text, 50},
        {QStringLiteral("Abbr"), T::Text, 50},   {QStringLiteral("Letter"), T::Text, 255},
        {QStringLiteral("CategoryID"), T::Long}, {QStringLiteral("HyperText"), T::Memo},
        {QStringLiteral("Description"), T::Memo}};
    if (hasUrl_)
        entry.append({urlColumn, T::Text, 255});
    writer_.AddTable(QStringLiteral("AbbrTB"), entry, 0);
    writer_.AddTable(QStringLiteral("LinkTB"), {{QStringLiteral("AbbrID"), T::Long},
                                                {QStringLiteral("Word"), T::Text, 100},
                                                {QStringLiteral("RefID"), T::Long}});
}

void JetDictionary::AddCategory(qint32 id, const QString& name, const QVariant& shortName) {
    writer_.AddRow(QStringLiteral("CategoryTB"), {id, name, shortName});
}

void JetDictionary::AddEntry(const Entry& e) {
    QList<QVariant> values{e.id, e.key, e.abbr, e.letter, e.category, e.hyperText, e.description};
    if (hasUrl_)
        values.append(e.url);
    writer_.AddRow(QStringLiteral("AbbrTB"), values);
}

void JetDictionary::AddLink(qint32 abbrId, const QString& word, qint32 refId) {
    writer_.AddRow(QStringLiteral("LinkTB"), {abbrId, word, refId});
}

JetDictionary JetDictionary::Standard() {
    JetDictionary d;
    d.AddCategory(1, QStringLiteral("ハードウェア"), QStringLiteral("HW"));
    d.AddCategory(2, QStringLiteral("ネットワーク"), QStringLiteral("NW"));
    d.AddCategory(3, QStringLiteral("一般"), QString(""));
    qint32 id = 1;
    auto add = [&d, &id](const QString& abbr, const QVariant& letter, qint32 category,
                         const QString& hyperText = QString(), const QVariant& url = QVariant()) {
        d.AddEntry({id, Strings::NormalizeKey(abbr), abbr, letter, category,
                    hyperText.isNull() ? QStringLiteral("%1 の解説。").arg(abbr) : hyperText,
                    QStringLiteral("%1 plain").arg(abbr), url});
        return id++;
    };
    const qint32 cpu = add(QStringLiteral("CPU"), QStringLiteral("Central Processing Unit"), 1,
                           QStringLiteral("abc"), QStringLiteral("https://cpu.example/"));
    const qint32 ram = add(QStringLiteral("RAM"), QStringLiteral("Random Access Memory"), 1);
    add(QStringLiteral("CD-ROM"), QStringLiteral("Compact Disc Read Only Memory"), 1);
    add(QStringLiteral("TCP/IP"), QStringLiteral("Transmission Control Protocol/Internet Protocol"),
        2);
    add(QStringLiteral("GPU"), QStringLiteral("Graphics Processing Unit"), 1);
    add(QStringLiteral("Wi-Fi"), QVariant(), 2);
    add(QStringLiteral("o'clock"), QStringLiteral("o'clock"), 3);
    d.AddLink(cpu, QStringLiteral("RAM"), ram);
    d.AddLink(cpu, QStringLiteral("ALU"), 99);
    return d;
}
