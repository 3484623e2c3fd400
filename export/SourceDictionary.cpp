#include "export/SourceDictionary.h"

#include "data/DictionaryFile.h"
#include "data/JetImport.h"

#include <algorithm>

namespace {

SqliteStmt Prepare(sqlite3* db, const char* sql) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &raw, nullptr) != SQLITE_OK) {
        sqlite3_finalize(raw);
        return nullptr;
    }
    return SqliteStmt(raw);
}

QString ColumnText(sqlite3_stmt* stmt, int column) {
    if (column < 0)
        return {};
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
    return text ? QString::fromUtf8(text, sqlite3_column_bytes(stmt, column)) : QString();
}

qint32 ColumnInt(sqlite3_stmt* stmt, int column) {
    if (column < 0)
        return 0;
    const qint64 value = sqlite3_column_int64(stmt, column);
    return value >= INT32_MIN && value <= INT32_MAX ? qint32(value) : 0;
}

// Columns are found by name, as the program reads them: further columns are ignored.
int ColumnIndex(sqlite3_stmt* stmt, const char* name) {
    for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
        if (qstrcmp(sqlite3_column_name(stmt, i), name) == 0)
            return i;
    }
    return -1;
}

SqliteDb OpenFile(const QString& path, QString* error) {
    switch (DictionaryFile::Detect(path)) {
    case DictionaryFile::Format::Missing:
        *error = QStringLiteral("%1: no such dictionary file").arg(path);
        return nullptr;
    case DictionaryFile::Format::Unknown:
        *error =
            QStringLiteral("%1: not a dictionary (neither our format nor a Jet file)").arg(path);
        return nullptr;
    case DictionaryFile::Format::Truncated:
        *error = QStringLiteral("%1: the file is damaged (shorter than its header says)").arg(path);
        return nullptr;
    case DictionaryFile::Format::Sqlite:
        if (SqliteDb db = DictionaryFile::OpenSqlite(path))
            return db;
        *error = QStringLiteral("%1: cannot open the dictionary (damaged, or locked by a program "
                                "that is writing it)")
                     .arg(path);
        return nullptr;
    case DictionaryFile::Format::Jet:
        if (SqliteDb db = JetImport::OpenDictionaryCopy(path))
            return db;
        *error = QStringLiteral("%1: cannot read the Jet file (damaged, or locked by a program "
                                "that is writing it)")
                     .arg(path);
        return nullptr;
    }
    return nullptr;
}

} // namespace

SourceDictionary::~SourceDictionary() = default;

std::unique_ptr<SourceDictionary> SourceDictionary::Open(const QString& path, QString* error) {
    std::unique_ptr<SourceDictionary> source(new SourceDictionary);
    source->db_ = OpenFile(path, error);
    if (!source->db_)
        return nullptr;
    if (!source->Prepare(error)) {
        *error = QStringLiteral("%1: not a dictionary of ours: %2").arg(path, *error);
        return nullptr;
    }
    return source;
}

bool SourceDictionary::Prepare(QString* error) {
    sqlite3* db = db_.get();
    entries_ = ::Prepare(db, "SELECT * FROM AbbrTB ORDER BY Abbr, Letter");
    if (!entries_) {
        *error = QString::fromUtf8(sqlite3_errmsg(db));
        return false;
    }
    sqlite3_stmt* s = entries_.get();
    columns_ = {ColumnIndex(s, "AbbrID"),      ColumnIndex(s, "AbbrKey"),
                ColumnIndex(s, "Abbr"),        ColumnIndex(s, "Letter"),
                ColumnIndex(s, "CategoryID"),  ColumnIndex(s, "HyperText"),
                ColumnIndex(s, "Description"), ColumnIndex(s, "URL")};
    if (columns_.id < 0 || columns_.abbr < 0) {
        *error = QStringLiteral("table AbbrTB has no column AbbrID or Abbr");
        return false;
    }
    // Related words are optional, like the table of categories.
    related_ = ::Prepare(db, "SELECT * FROM LinkTB WHERE AbbrID = ?1 ORDER BY Word");
    if (related_) {
        relatedWord_ = ColumnIndex(related_.get(), "Word");
        relatedRefId_ = ColumnIndex(related_.get(), "RefID");
    }
    if (!ReadCategories() || !ReadAbbreviations()) {
        *error = QString::fromUtf8(sqlite3_errmsg(db));
        return false;
    }
    return true;
}

bool SourceDictionary::ReadCategories() {
    SqliteStmt stmt = ::Prepare(db_.get(), "SELECT * FROM CategoryTB");
    if (!stmt)
        return true;
    const int id = ColumnIndex(stmt.get(), "CategoryID");
    const int name = ColumnIndex(stmt.get(), "Category");
    const int shortName = ColumnIndex(stmt.get(), "ShortName");
    if (id < 0)
        return true;
    int rc;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
        QString label = ColumnText(stmt.get(), shortName);
        if (label.isEmpty())
            label = ColumnText(stmt.get(), name);
        categoryLabels_.insert(ColumnInt(stmt.get(), id), label);
    }
    return rc == SQLITE_DONE;
}

bool SourceDictionary::ReadAbbreviations() {
    // The listing index holds both columns, so this reads no entry's description.
    SqliteStmt stmt = ::Prepare(db_.get(), "SELECT AbbrID, Abbr FROM AbbrTB");
    if (!stmt)
        return false;
    int rc;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
        const QString abbr = ColumnText(stmt.get(), 1);
        abbrIndex_.push_back(
            {ColumnInt(stmt.get(), 0), quint32(abbrText_.size()), quint32(abbr.size())});
        abbrText_ += abbr;
    }
    if (rc != SQLITE_DONE)
        return false;
    entryCount_ = qint64(abbrIndex_.size());
    std::sort(abbrIndex_.begin(), abbrIndex_.end(),
              [](const AbbrSpan& a, const AbbrSpan& b) { return a.id < b.id; });
    return true;
}

QString SourceDictionary::AbbrOf(qint32 id) const {
    if (abbrIndex_.empty())
        return {};
    // Ids are mostly consecutive: look where the id would stand first.
    auto it = abbrIndex_.end();
    const qint64 guess = qint64(id) - abbrIndex_.front().id;
    if (guess >= 0 && guess < qint64(abbrIndex_.size()) && abbrIndex_[std::size_t(guess)].id == id)
        it = abbrIndex_.begin() + guess;
    else
        it = std::lower_bound(abbrIndex_.begin(), abbrIndex_.end(), id,
                              [](const AbbrSpan& span, qint32 key) { return span.id < key; });
    if (it == abbrIndex_.end() || it->id != id)
        return {};
    return abbrText_.sliced(it->start, it->length);
}

bool SourceDictionary::Next(Entry& entry) {
    sqlite3_stmt* s = entries_.get();
    const int rc = sqlite3_step(s);
    if (rc != SQLITE_ROW) {
        if (rc != SQLITE_DONE)
            error_ = QString::fromUtf8(sqlite3_errmsg(db_.get()));
        return false;
    }
    entry.id = ColumnInt(s, columns_.id);
    entry.key = ColumnText(s, columns_.key);
    entry.abbr = ColumnText(s, columns_.abbr);
    entry.letter = ColumnText(s, columns_.letter);
    entry.categoryId = ColumnInt(s, columns_.category);
    entry.hyperText = ColumnText(s, columns_.hyperText);
    entry.description = ColumnText(s, columns_.description);
    entry.url = ColumnText(s, columns_.url);
    ReadRelated(entry);
    return true;
}

void SourceDictionary::ReadRelated(Entry& entry) {
    entry.related.clear();
    sqlite3_stmt* s = related_.get();
    if (!s)
        return;
    sqlite3_reset(s);
    sqlite3_bind_int64(s, 1, entry.id);
    while (sqlite3_step(s) == SQLITE_ROW)
        entry.related.push_back({ColumnText(s, relatedWord_), ColumnInt(s, relatedRefId_)});
}
