#include "fulltext/IndexBuilder.h"

#include "data/SqliteHandles.h"
#include "fulltext/IndexSchema.h"
#include "fulltext/IndexTextReader.h"
#include "fulltext/TextFold.h"

#include <QVariant>

namespace IndexBuilder {
namespace {

// Share of the work that reading and indexing the entries takes; merging the index's segments
// into one takes the rest.
constexpr int kRowsPercent = 90;

class Build {
public:
    Build(sqlite3* index, sqlite3* dictionary, const IndexKey& key, const Control& control)
        : index_(index), dictionary_(dictionary), key_(key), control_(control) {}

    Outcome Run(QString* error);

private:
    bool Exec(const char* sql);
    bool Prepare(const char* sql, SqliteStmt& stmt);
    bool Cancelled() const { return control_.cancelled && control_.cancelled(); }
    void Report(int percent);
    Outcome Fail(const QString& what, QString* error);
    bool WriteMeta(qint64 entries);
    static int ProgressHandler(void* self);

    sqlite3* index_;
    sqlite3* dictionary_;
    const IndexKey& key_;
    const Control& control_;
    int reported_ = -1;
};

bool Build::Exec(const char* sql) {
    return sqlite3_exec(index_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

bool Build::Prepare(const char* sql, SqliteStmt& stmt) {
    sqlite3_stmt* raw = nullptr;
    const bool ok = sqlite3_prepare_v2(index_, sql, -1, &raw, nullptr) == SQLITE_OK;
    stmt.reset(raw);
    return ok;
}

void Build::Report(int percent) {
    if (percent != reported_ && control_.progress) {
        reported_ = percent;
        control_.progress(percent);
    }
}

Outcome Build::Fail(const QString& what, QString* error) {
    if (Cancelled())
        return Outcome::Cancelled;
    if (error)
        *error = what + QStringLiteral(": ") + QString::fromUtf8(sqlite3_errmsg(index_));
    return Outcome::Failed;
}

int Build::ProgressHandler(void* self) {
    return static_cast<Build*>(self)->Cancelled() ? 1 : 0;
}

bool Build::WriteMeta(qint64 entries) {
    SqliteStmt insert;
    if (!Prepare("INSERT INTO Meta (name, value) VALUES (?1, ?2)", insert))
        return false;
    auto put = [&insert](const char* name, const QVariant& value) {
        sqlite3_reset(insert.get());
        sqlite3_bind_text(insert.get(), 1, name, -1, SQLITE_STATIC);
        if (value.typeId() == QMetaType::LongLong || value.typeId() == QMetaType::Int) {
            sqlite3_bind_int64(insert.get(), 2, value.toLongLong());
        } else {
            const QByteArray text = value.toString().toUtf8();
            sqlite3_bind_text(insert.get(), 2, text.constData(), int(text.size()),
                              SQLITE_TRANSIENT);
        }
        return sqlite3_step(insert.get()) == SQLITE_DONE;
    };
    return put("format", IndexSchema::kFormat) && put("path", key_.path) &&
           put("file", key_.FileNumber()) && put("size", key_.size) &&
           put("modified", key_.modifiedMs) && put("head", QString::fromLatin1(key_.headHash)) &&
           put("fold", QString::fromLatin1(TextFold::Signature())) && put("entries", entries);
}

Outcome Build::Run(QString* error) {
    // The file is renamed into place only when complete, so it needs no journal; nothing else
    // opens it meanwhile.
    if (!Exec("PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF; "
              "PRAGMA locking_mode = EXCLUSIVE; PRAGMA cache_size = -65536") ||
        !Exec(IndexSchema::kCreateMeta) || !Exec(IndexSchema::kCreateBody) ||
        !Exec(IndexSchema::kCreateTerms) || !Exec(IndexSchema::kBuildSettings) || !Exec("BEGIN"))
        return Fail(QStringLiteral("cannot create the index"), error);

    qint64 total = 0;
    {
        sqlite3_stmt* raw = nullptr;
        if (sqlite3_prepare_v2(dictionary_, "SELECT count(*) FROM AbbrTB", -1, &raw, nullptr) ==
            SQLITE_OK) {
            SqliteStmt count(raw);
            if (sqlite3_step(raw) == SQLITE_ROW)
                total = sqlite3_column_int64(raw, 0);
        } else {
            sqlite3_finalize(raw);
        }
    }

    IndexTextReader reader(dictionary_, [this] { return Cancelled(); });
    if (reader.Failed()) {
        if (error)
            *error = QStringLiteral("cannot read the dictionary: ") + reader.ErrorText();
        return Outcome::Failed;
    }
    SqliteStmt insertBody, insertTerms;
    if (!Prepare("INSERT INTO Body (rank, entry, text) VALUES (?1, ?2, ?3)", insertBody) ||
        !Prepare("INSERT INTO Terms (rowid, text) VALUES (?1, ?2)", insertTerms))
        return Fail(QStringLiteral("cannot prepare the index"), error);

    sqlite3_progress_handler(index_, 10000, &Build::ProgressHandler, this);
    Report(0);
    qint64 rows = 0;
    std::vector<IndexTextReader::Row> batch;
    while (!Cancelled() && reader.Next(batch)) {
        for (const IndexTextReader::Row& row : batch) {
            for (sqlite3_stmt* insert : {insertBody.get(), insertTerms.get()}) {
                sqlite3_reset(insert);
                sqlite3_bind_int64(insert, 1, row.rank);
            }
            sqlite3_bind_int64(insertBody.get(), 2, row.entry);
            sqlite3_bind_text(insertBody.get(), 3, row.text.data(), int(row.text.size()),
                              SQLITE_STATIC);
            sqlite3_bind_text(insertTerms.get(), 2, row.text.data(), int(row.text.size()),
                              SQLITE_STATIC);
            if (sqlite3_step(insertBody.get()) != SQLITE_DONE ||
                sqlite3_step(insertTerms.get()) != SQLITE_DONE)
                return Fail(QStringLiteral("cannot write the index"), error);
        }
        rows += qint64(batch.size());
        if (total > 0)
            Report(int(std::min(rows, total) * kRowsPercent / total));
    }
    insertBody.reset();
    insertTerms.reset();
    if (Cancelled())
        return Outcome::Cancelled;
    if (reader.Failed()) {
        if (error)
            *error = QStringLiteral("cannot read the dictionary: ") + reader.ErrorText();
        return Outcome::Failed;
    }

    // The segments written while the rows went in become one, which answers a query with one
    // look-up per trigram.
    if (!Exec("INSERT INTO Terms (Terms) VALUES ('optimize')"))
        return Fail(QStringLiteral("cannot merge the index"), error);
    if (!WriteMeta(rows) || !Exec("COMMIT"))
        return Fail(QStringLiteral("cannot finish the index"), error);
    sqlite3_progress_handler(index_, 0, nullptr, nullptr);
    Report(100);
    return Outcome::Built;
}

} // namespace

Outcome Fill(sqlite3* index, sqlite3* dictionary, const IndexKey& key, const Control& control,
             QString* error) {
    Build build(index, dictionary, key, control);
    const Outcome outcome = build.Run(error);
    sqlite3_progress_handler(index, 0, nullptr, nullptr);
    return outcome;
}

} // namespace IndexBuilder
