#include "data/DbAccess.h"

#include "base/AppInfo.h"
#include "base/MessageBox.h"
#include "data/DictionaryFile.h"
#include "data/JetImport.h"
#include "data/OpenProgress.h"
#include "data/Recordset.h"
#include "data/Strings.h"

namespace DbAccess {

QString DatabasePath;
bool HasUrlField = false;
QStringList CategoryShortNames{QString()};

namespace {

SqliteDb& Connection() {
    static SqliteDb connection;
    return connection;
}

constexpr qint64 kMaxCategoryId = 32767;

void ShowOpenFailure(const char* text) {
    ShowMessage(QString::fromUtf8(text), AppInfo::ProductName(), MessageButtons::Ok,
                MessageIcon::Critical);
}

bool FindUrlField(sqlite3* db) {
    // Names compare exactly here: a column "url" is not the web address column.
    for (const QString& table : DictionaryFile::TableNames(db)) {
        if (table != QLatin1String("AbbrTB"))
            continue;
        return DictionaryFile::ColumnNames(db, table).contains(QLatin1String("URL"));
    }
    return false;
}

// One condition of the search: exact, prefix range or pattern on a column.
QString Condition(const char* column, const QString& value, Strings::SearchMatch kind) {
    const QString name = QLatin1String("[") + QLatin1String(column) + QLatin1String("]");
    switch (kind) {
    case Strings::SearchMatch::Exact:
        return QStringLiteral("(%1 = '%2') ").arg(name, value);
    case Strings::SearchMatch::Prefix: {
        const QString prefix = value.left(value.size() - 1);
        return QStringLiteral("(%1 Between '%2' And '%2\uFF9D') ").arg(name, prefix);
    }
    case Strings::SearchMatch::Pattern:
        return QStringLiteral("(%1 like '%2') ").arg(name, value);
    case Strings::SearchMatch::None:
        break;
    }
    return {};
}

std::optional<Recordset> OpenEntry(qint32 id) {
    return Recordset::Open(DictionaryDb(),
                           QStringLiteral("SELECT * FROM AbbrTB WHERE [AbbrID] = ") +
                               QString::number(id));
}

} // namespace

sqlite3* DictionaryDb() {
    return Connection().get();
}

qint16 OpenDictionary(ListSink& categoryList) {
    CategoryShortNames = QStringList{QString()};
    HasUrlField = false;
    CloseDictionary();

    const DictionaryFile::Format format = DictionaryFile::Detect(DatabasePath);
    if (format == DictionaryFile::Format::Sqlite)
        Connection() = DictionaryFile::OpenSqlite(DatabasePath);
    else if (format == DictionaryFile::Format::Jet) {
        // Reading a Jet file can take a while; the user sees how far it has come.
        const std::unique_ptr<OpenProgress> progress = MakeOpenProgress(DatabasePath);
        JetImport::Options options;
        if (progress)
            options.progress = [&progress](double fraction) { progress->Update(fraction); };
        Connection() = JetImport::OpenDictionaryCopy(DatabasePath, options);
    }
    if (!Connection()) {
        ShowOpenFailure("データベースが開けません");
        return 0;
    }
    HasUrlField = FindUrlField(DictionaryDb());

    std::optional<Recordset> rs = Recordset::Open(
        DictionaryDb(), QStringLiteral("SELECT * FROM CategoryTB ORDER BY Category"));
    if (!rs || !rs->HasColumn("Category")) {
        ShowOpenFailure("不正なデータベースです");
        return 0;
    }
    qint16 count = 0;
    for (; !rs->Eof() && count < kMaxCategoryId; rs->MoveNext()) {
        const qint64 id = rs->Integer("CategoryID");
        // A row without a usable identifier cannot be searched for and would make the table
        // of short names absurdly large: leave it out.
        if (rs->IsNull("CategoryID") || id < 1 || id > kMaxCategoryId)
            continue;
        categoryList.AddItem(rs->Text("Category"), qint32(id));
        while (CategoryShortNames.size() <= id)
            CategoryShortNames.append(QString());
        CategoryShortNames[id] = rs->Text("ShortName");
        ++count;
    }
    if (count == 0) {
        ShowOpenFailure("有効なレコードがありません");
        return 0;
    }
    return count;
}

void CloseDictionary() {
    Connection().reset();
}

QString BuildSearchSql(const QString& key, const QString& letter, qint16 category) {
    if (letter.isEmpty() && key.isEmpty() && category <= 0)
        return {};
    QString sql = QStringLiteral("(SELECT * FROM AbbrTB WHERE ");
    bool written = false;

    const QString k = Strings::NormalizeKey(key);
    const Strings::SearchMatch keyKind = Strings::MatchKind(k);
    if (keyKind != Strings::SearchMatch::None) {
        sql += Condition("AbbrKey", k, keyKind);
        written = true;
    }
    const QString l = Strings::EscapeQuotes(letter);
    const Strings::SearchMatch letterKind = Strings::MatchKind(l);
    if (letterKind != Strings::SearchMatch::None) {
        if (written)
            sql += QLatin1String("AND ");
        sql += Condition("Letter", l, letterKind);
        written = true;
    }
    if (category > 0) {
        if (written)
            sql += QLatin1String("AND ");
        sql += QStringLiteral("([CategoryID] = %1)").arg(category);
    }
    sql += QLatin1String(" ORDER BY [Abbr],[Letter])");
    return sql;
}

qint16 SearchEntries(const QString& key, const QString& letter, qint16 category,
                     ListSink& resultList) {
    const QString sql = BuildSearchSql(key, letter, category);
    if (sql.isEmpty())
        return 0;
    return FillResultList(sql, resultList);
}

qint16 FillResultList(const QString& sql, ListSink& resultList) {
    resultList.Clear();
    // Ask only for the columns listed and the rows that fit: the indexes then answer a search
    // without reading whole entries, and sorting keeps no more rows than the limit.
    std::optional<Recordset> rs = Recordset::Open(
        DictionaryDb(), QStringLiteral("SELECT [AbbrID],[Abbr],[Letter] FROM (") + sql +
                            QStringLiteral(") LIMIT ") + QString::number(kResultListLimit));
    if (!rs)
        return 0;
    qint16 count = 0;
    for (; !rs->Eof() && count < kResultListLimit; rs->MoveNext()) {
        resultList.AddItem(rs->Text("Abbr") + QLatin1Char('\t') + rs->Text("Letter"),
                           qint32(rs->Integer("AbbrID")));
        ++count;
    }
    return count;
}

QString GetEntryText(qint32 id, QString& abbr, QString& url) {
    if (id <= 0)
        return {};
    std::optional<Recordset> rs = OpenEntry(id);
    if (!rs || rs->Eof())
        return {};
    abbr = rs->Text("Abbr");
    const qint64 category = rs->Integer("CategoryID");
    QString label;
    if (category >= 0 && category < CategoryShortNames.size() &&
        !CategoryShortNames.at(category).isEmpty())
        label = QLatin1String(" [") + CategoryShortNames.at(category) + QLatin1String("]");
    const QString text = QLatin1String("\\H") + rs->Text("Letter") + label + QLatin1String("\\h") +
                         Strings::CutToCodePageBytes(rs->Text("HyperText"), kDescriptionBytes);
    if (HasUrlField)
        url = rs->Text("URL");
    return text;
}

QString GetEntryCopyText(qint32 id) {
    if (id <= 0)
        return {};
    std::optional<Recordset> rs = OpenEntry(id);
    if (!rs || rs->Eof())
        return {};
    const QLatin1String crlf("\r\n");
    QString text =
        rs->Text("Abbr") + crlf + rs->Text("Letter") + crlf + rs->Text("Description") + crlf;
    if (HasUrlField && !rs->IsNull("URL"))
        text += rs->Text("URL") + crlf;
    return text;
}

qint16 LoadLinkList(qint32 id, ListSink& linkList) {
    std::optional<Recordset> rs =
        Recordset::Open(DictionaryDb(), QStringLiteral("SELECT * FROM LinkTB WHERE [AbbrID]=") +
                                            QString::number(id) + QStringLiteral(" ORDER BY Word"));
    if (!rs)
        return 0;
    qint16 count = 0;
    for (; !rs->Eof() && count < INT16_MAX; rs->MoveNext()) {
        linkList.AddItem(rs->Text("Word"), qint32(rs->Integer("RefID")));
        ++count;
    }
    return count;
}

} // namespace DbAccess
