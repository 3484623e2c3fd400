#include "fulltext/IndexFiles.h"

#include "data/DictionaryFile.h"
#include "data/SqliteValue.h"
#include "fulltext/IndexSchema.h"
#include "fulltext/TextFold.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <filesystem>
#include <system_error>

namespace IndexFiles {
namespace {

// Indexes of small dictionaries are checked page by page before use; a large one would take
// seconds, so it is checked by its structure only and rebuilt should a query meet damage.
constexpr qint64 kFullCheckBytes = 64 * 1024 * 1024;
const QString kTemporarySuffix = QStringLiteral(".tmp");

SqliteDb OpenFile(const QString& path, int flags) {
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &raw, flags, nullptr);
    SqliteDb db(raw);
    if (rc != SQLITE_OK)
        return nullptr;
    return db;
}

bool Check(bool ok, const char* reason, QString* why) {
    if (!ok && why)
        *why = QString::fromLatin1(reason);
    return ok;
}

bool Verify(sqlite3* db, const QString& path, const IndexKey& key, QString* why) {
    auto meta = [db](const char* name) {
        return QueryTextValue(db, "SELECT value FROM Meta WHERE name = ?1",
                              QString::fromLatin1(name));
    };
    auto schema = [db](const char* name) {
        return QueryTextValue(db, "SELECT sql FROM sqlite_master WHERE name = ?1",
                              QString::fromLatin1(name));
    };
    if (!Check(schema("Meta") == QLatin1String(IndexSchema::kCreateMeta) &&
                   schema("Body") == QLatin1String(IndexSchema::kCreateBody) &&
                   schema("Terms") == QLatin1String(IndexSchema::kCreateTerms),
               "not an index of this program", why))
        return false;
    if (!Check(meta("format") == QString::number(IndexSchema::kFormat), "another format", why) ||
        !Check(meta("path") == key.path && meta("file") == key.FileNumber() &&
                   meta("size") == QString::number(key.size) &&
                   meta("modified") == QString::number(key.modifiedMs) &&
                   meta("head") == QString::fromLatin1(key.headHash),
               "made from another dictionary", why) ||
        !Check(meta("fold") == QString::fromLatin1(TextFold::Signature()),
               "made with another folding", why))
        return false;
    // Body is numbered 1 to entries without gaps: its largest rank says whether it is whole.
    const QString entries = meta("entries");
    if (!Check(!entries.isEmpty() &&
                   QueryTextValue(db, "SELECT coalesce(max(rank), 0) FROM Body") == entries &&
                   (entries == QLatin1String("0") ||
                    QueryTextValue(db, "SELECT count(*) FROM Body WHERE rank = 1") ==
                        QLatin1String("1")),
               "incomplete", why))
        return false;
    // The index's own structure must read.
    if (!Check(
            !QueryTextValue(db, "SELECT count(*) FROM Terms WHERE Terms MATCH '\"zzz\"'").isEmpty(),
            "damaged", why))
        return false;
    if (QFileInfo(path).size() <= kFullCheckBytes)
        return Check(QueryTextValue(db, "PRAGMA quick_check") == QLatin1String("ok") &&
                         QueryTextValue(db, "SELECT count(*) FROM Body") == entries,
                     "damaged", why);
    return true;
}

// An index about to be searched: its vocabulary of trigrams, which leads from a rare short term
// to the entries that hold it, and no more writing.
void ReadyForSearch(sqlite3* db) {
    sqlite3_exec(db, "CREATE VIRTUAL TABLE temp.TermsVocab USING fts5vocab(main, 'Terms', 'row')",
                 nullptr, nullptr, nullptr);
    sqlite3_exec(db, "PRAGMA query_only = 1", nullptr, nullptr, nullptr);
}

} // namespace

QString UserCacheDirectory() {
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    return cache.isEmpty() ? QString() : QDir(cache).filePath(QStringLiteral("fulltext"));
}

QString PathFor(const QString& dir, const IndexKey& key) {
    return QDir(dir).filePath(IndexKeys::FileNameFor(key));
}

SqliteDb OpenValid(const QString& path, const IndexKey& key, QString* why) {
    // A file that has lost its end is refused before SQLite reads anything of it.
    if (!Check(DictionaryFile::Detect(path) == DictionaryFile::Format::Sqlite,
               "missing or not a complete database", why))
        return nullptr;
    SqliteDb db = OpenFile(path, SQLITE_OPEN_READONLY);
    if (!Check(db != nullptr, "cannot be opened", why))
        return nullptr;
    if (!Verify(db.get(), path, key, why))
        return nullptr;
    ReadyForSearch(db.get());
    return db;
}

BuildResult Build(const QString& dir, const IndexKey& key, sqlite3* dictionary,
                  const IndexBuilder::Control& control) {
    BuildResult result;
    const QString finalPath = PathFor(dir, key);

    // A file of this build's own, created exclusively, so that no other build can write to it.
    QTemporaryFile temporary(finalPath + QStringLiteral(".XXXXXX") + kTemporarySuffix);
    const bool onDisk = !dir.isEmpty() && QDir().mkpath(dir) && temporary.open();
    SqliteDb db =
        onDisk ? OpenFile(temporary.fileName(), SQLITE_OPEN_READWRITE)
               : OpenFile(QStringLiteral(":memory:"), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    if (onDisk)
        temporary.close(); // SQLite has its own descriptor; the file stays until removed
    if (!db) {
        result.error = QStringLiteral("cannot create the index");
        return result;
    }
    result.inMemory = !onDisk;

    const IndexBuilder::Outcome outcome =
        IndexBuilder::Fill(db.get(), dictionary, key, control, &result.error);
    if (outcome != IndexBuilder::Outcome::Built) {
        result.outcome =
            outcome == IndexBuilder::Outcome::Cancelled ? Outcome::Cancelled : Outcome::Failed;
        return result; // the temporary file goes with `temporary`
    }
    if (!onDisk) {
        ReadyForSearch(db.get());
        result.db = std::move(db);
        result.outcome = Outcome::Ready;
        return result;
    }

    db.reset();
    // Renaming replaces whatever is there, in one step: readers of the old file keep it.
    std::error_code renameError;
    std::filesystem::rename(std::filesystem::path(temporary.fileName().toStdU16String()),
                            std::filesystem::path(finalPath.toStdU16String()), renameError);
    if (renameError) {
        result.error = QStringLiteral("cannot move the index into place: ") +
                       QString::fromStdString(renameError.message());
        return result;
    }
    temporary.setAutoRemove(false);
    result.db = OpenValid(finalPath, key, &result.error);
    result.outcome = result.db ? Outcome::Ready : Outcome::Failed;
    return result;
}

void Remove(const QString& dir, const IndexKey& key) {
    QFile::remove(PathFor(dir, key));
}

void RemoveAbandoned(const QString& dir) {
    const QDateTime dayAgo = QDateTime::currentDateTimeUtc().addDays(-1);
    const QFileInfoList files = QDir(dir).entryInfoList(
        {QStringLiteral("*.fts.*") + kTemporarySuffix}, QDir::Files | QDir::Hidden);
    for (const QFileInfo& file : files) {
        if (file.lastModified().toUTC() < dayAgo)
            QFile::remove(file.filePath());
    }
}

} // namespace IndexFiles
