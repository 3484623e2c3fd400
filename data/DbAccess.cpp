#include "data/DbAccess.h"

#include "data/DictionaryFile.h"
#include "data/JetImport.h"
#include "data/OpenProgress.h"
#include "data/Recordset.h"
#include "data/Strings.h"

namespace DbAccess {

namespace {

constexpr qint64 kMaxCategoryId = 32767;

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

SqliteDb OpenFile(const QString& path, QString* why) {
    const DictionaryFile::Format format = DictionaryFile::Detect(path);
    if (format == DictionaryFile::Format::Sqlite)
        return DictionaryFile::OpenSqlite(path, why);
    if (format != DictionaryFile::Format::Jet) {
        *why = DictionaryFile::Problem(path, format);
        return nullptr;
    }
    // Reading a Jet file can take a while; the user sees how far it has come.
    const std::unique_ptr<OpenProgress> progress = MakeOpenProgress(path);
    JetImport::Options options;
    if (progress)
        options.progress = [&progress](double fraction) { progress->Update(fraction); };
    return JetImport::OpenDictionaryCopy(path, options, why);
}

} // namespace

Dictionary::Dictionary() = default;
Dictionary::~Dictionary() = default;

QString OpenFailureMessage(OpenFailure failure) {
    switch (failure) {
    case OpenFailure::NotADictionary:
        return QStringLiteral("不正なデータベースです");
    case OpenFailure::NoCategories:
        return QStringLiteral("有効なレコードがありません");
    case OpenFailure::None:
    case OpenFailure::CannotOpen:
        break;
    }
    return QStringLiteral("データベースが開けません");
}

qint16 Dictionary::Open(const QString& path, ListSink& categoryList) {
    Close();
    path_ = path;
    damaged_ = false;
    failureDetail_.clear();
    QString why;
    db_ = OpenFile(path, &why);
    // The connection holds the file open from here on, whatever is later renamed over it.
    openedFile_ = db_ ? FileIdentity::Of(path) : FileIdentity();
    if (!db_)
        return Fail(OpenFailure::CannotOpen, why);
    hasUrlField_ = FindUrlField(db_.get());
    return ReadCategories(categoryList);
}

qint16 Dictionary::ReadCategories(ListSink& categoryList) {
    std::optional<Recordset> rs =
        Read(QStringLiteral("SELECT * FROM CategoryTB ORDER BY Category"));
    if (!rs || !rs->HasColumn("Category"))
        return Fail(OpenFailure::NotADictionary,
                    QStringLiteral("no table CategoryTB with a column Category"));
    qint16 count = 0;
    for (; !rs->Eof() && count < kMaxCategoryId; rs->MoveNext()) {
        const qint64 id = rs->Integer("CategoryID");
        // A row without a usable identifier cannot be searched for and would make the table
        // of short names absurdly large: leave it out.
        if (rs->IsNull("CategoryID") || id < 1 || id > kMaxCategoryId)
            continue;
        categoryList.AddItem(rs->Text("Category"), qint32(id));
        while (categoryShortNames_.size() <= id)
            categoryShortNames_.append(QString());
        categoryShortNames_[id] = rs->Text("ShortName");
        ++count;
    }
    NoteReadResult(rs->ErrorCode());
    if (count == 0)
        return Fail(OpenFailure::NoCategories,
                    QStringLiteral("no category with an identifier from 1 to 32767"));
    return count;
}

std::optional<Recordset> Dictionary::Read(const QString& sql) const {
    int code = SQLITE_OK;
    std::optional<Recordset> rs = Recordset::Open(db_.get(), sql, &code);
    NoteReadResult(code);
    return rs;
}

void Dictionary::NoteReadResult(int sqliteCode) const {
    const int primary = sqliteCode & 0xFF;
    if (damaged_ || (primary != SQLITE_CORRUPT && primary != SQLITE_NOTADB))
        return;
    damaged_ = true;
    if (onDamage_)
        onDamage_();
}

qint16 Dictionary::Fail(OpenFailure failure, const QString& detail) {
    failure_ = failure;
    failureDetail_ = detail;
    return 0;
}

void Dictionary::Close() {
    db_.reset();
    openedFile_ = FileIdentity();
    failure_ = OpenFailure::None;
    hasUrlField_ = false;
    categoryShortNames_ = QStringList{QString()};
}

QString BuildSearchSql(const QString& typedKey, const QString& typedLetter, qint16 category) {
    // Typed with the input method on, the fields hold full-width text; a full-width space alone
    // is as empty as an ordinary one.
    const QString key = Strings::TrimSpaces(Strings::FoldWidth(typedKey));
    const QString letter = Strings::TrimSpaces(Strings::FoldWidth(typedLetter));
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

qint16 Dictionary::SearchEntries(const QString& key, const QString& letter, qint16 category,
                                 ListSink& resultList) const {
    const QString sql = BuildSearchSql(key, letter, category);
    if (sql.isEmpty())
        return 0;
    return FillResultList(sql, resultList);
}

qint16 Dictionary::FillResultList(const QString& sql, ListSink& resultList) const {
    resultList.Clear();
    // Ask only for the columns listed and the rows that fit: the indexes then answer a search
    // without reading whole entries, and sorting keeps no more rows than the limit.
    std::optional<Recordset> rs =
        Read(QStringLiteral("SELECT [AbbrID],[Abbr],[Letter] FROM (") + sql +
             QStringLiteral(") LIMIT ") + QString::number(kResultListLimit));
    if (!rs)
        return 0;
    qint16 count = 0;
    for (; !rs->Eof() && count < kResultListLimit; rs->MoveNext()) {
        resultList.AddItem(rs->Text("Abbr") + QLatin1Char('\t') + rs->Text("Letter"),
                           qint32(rs->Integer("AbbrID")));
        ++count;
    }
    NoteReadResult(rs->ErrorCode());
    return count;
}

std::optional<Recordset> Dictionary::OpenEntry(qint32 id) const {
    return Read(QStringLiteral("SELECT * FROM AbbrTB WHERE [AbbrID] = ") + QString::number(id));
}

std::optional<EntryRecord> Dictionary::GetEntry(qint32 id) const {
    if (id <= 0)
        return std::nullopt;
    std::optional<Recordset> rs = OpenEntry(id);
    if (!rs || rs->Eof())
        return std::nullopt;
    EntryRecord entry;
    entry.abbr = rs->Text("Abbr");
    entry.letter = rs->Text("Letter");
    entry.categoryShortName = categoryShortNames_.value(rs->Integer("CategoryID"));
    entry.hyperText = Strings::CutToCodePageBytes(rs->Text("HyperText"), kDescriptionBytes);
    if (hasUrlField_)
        entry.url = rs->Text("URL");
    return entry;
}

QString Dictionary::GetEntryCopyText(qint32 id) const {
    if (id <= 0)
        return {};
    std::optional<Recordset> rs = OpenEntry(id);
    if (!rs || rs->Eof())
        return {};
    const QLatin1String crlf("\r\n");
    QString text =
        rs->Text("Abbr") + crlf + rs->Text("Letter") + crlf + rs->Text("Description") + crlf;
    if (hasUrlField_ && !rs->IsNull("URL"))
        text += rs->Text("URL") + crlf;
    return text;
}

qint16 Dictionary::LoadLinkList(qint32 id, ListSink& linkList) const {
    std::optional<Recordset> rs = Read(QStringLiteral("SELECT * FROM LinkTB WHERE [AbbrID]=") +
                                       QString::number(id) + QStringLiteral(" ORDER BY Word"));
    if (!rs)
        return 0;
    qint16 count = 0;
    for (; !rs->Eof() && count < INT16_MAX; rs->MoveNext()) {
        linkList.AddItem(rs->Text("Word"), qint32(rs->Integer("RefID")));
        ++count;
    }
    NoteReadResult(rs->ErrorCode());
    return count;
}

} // namespace DbAccess
