#include "data/DictionaryWriter.h"

#include "data/Schema.h"
#include "data/TextCollation.h"

#include <QFile>
#include <QFileInfo>
#include <filesystem>
#include <system_error>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

void BindText(sqlite3_stmt* stmt, int index, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text(stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

void BindOptionalText(sqlite3_stmt* stmt, int index, const QString& text, bool isNull) {
    if (isNull)
        sqlite3_bind_null(stmt, index);
    else
        BindText(stmt, index, text);
}

// Writes what the system still holds of a file (or a directory's names) to the disk. The file is
// written without syncing while it is filled; it must be whole on the disk before its new name is.
bool SyncToDisk(const QString& path) {
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
#else
    Q_UNUSED(path);
    return true;
#endif
}

} // namespace

DictionaryWriter::DictionaryWriter(QString path)
    : path_(std::move(path)), tempPath_(path_ + QStringLiteral(".part")) {}

DictionaryWriter::~DictionaryWriter() {
    insertCategory_.reset();
    insertEntry_.reset();
    insertLink_.reset();
    if (db_) {
        db_.reset();
        QFile::remove(tempPath_);
    }
}

bool DictionaryWriter::Fail(const QString& what) {
    error_ = what;
    if (db_)
        error_ += QStringLiteral(": ") + QString::fromUtf8(sqlite3_errmsg(db_.get()));
    return false;
}

bool DictionaryWriter::Run(const char* sql) {
    return sqlite3_exec(db_.get(), sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

bool DictionaryWriter::Begin() {
    QFile::remove(tempPath_);
    sqlite3* raw = nullptr;
    const QByteArray name = tempPath_.toUtf8();
    const int rc = sqlite3_open_v2(name.constData(), &raw,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    db_.reset(raw);
    if (rc != SQLITE_OK)
        return Fail(QStringLiteral("cannot create %1").arg(tempPath_));
    if (TextCollation::Register(db_.get()) != SQLITE_OK)
        return Fail(QStringLiteral("cannot register the collation"));
    // Bulk load: the file is renamed into place only after it is complete, so no journal is
    // needed to protect it.
    if (!Run("PRAGMA page_size = 4096; PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF") ||
        !Run(Schema::kCreateTables) || !Run("BEGIN"))
        return Fail(QStringLiteral("cannot create the tables"));
    auto prepare = [this](const char* sql, SqliteStmt& out) {
        sqlite3_stmt* stmt = nullptr;
        const bool ok = sqlite3_prepare_v2(db_.get(), sql, -1, &stmt, nullptr) == SQLITE_OK;
        out.reset(stmt);
        return ok;
    };
    if (!prepare("INSERT INTO CategoryTB (CategoryID, Category, ShortName) VALUES (?1, ?2, ?3)",
                 insertCategory_) ||
        !prepare("INSERT INTO AbbrTB (AbbrID, AbbrKey, Abbr, Letter, CategoryID, HyperText, "
                 "Description, URL) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)",
                 insertEntry_) ||
        !prepare("INSERT INTO LinkTB (AbbrID, Word, RefID) VALUES (?1, ?2, ?3)", insertLink_))
        return Fail(QStringLiteral("cannot prepare the inserts"));
    return true;
}

bool DictionaryWriter::AddCategory(qint32 id, const QString& name, const QString& shortName) {
    sqlite3_stmt* s = insertCategory_.get();
    sqlite3_reset(s);
    sqlite3_bind_int(s, 1, id);
    BindText(s, 2, name);
    BindText(s, 3, shortName);
    if (sqlite3_step(s) != SQLITE_DONE)
        return Fail(QStringLiteral("cannot add category %1").arg(name));
    return true;
}

bool DictionaryWriter::AddEntry(const Entry& e) {
    sqlite3_stmt* s = insertEntry_.get();
    sqlite3_reset(s);
    sqlite3_bind_int(s, 1, e.id);
    BindText(s, 2, e.key);
    BindText(s, 3, e.abbr);
    BindOptionalText(s, 4, e.letter, e.letterIsNull);
    sqlite3_bind_int(s, 5, e.categoryId);
    BindText(s, 6, e.hyperText);
    BindOptionalText(s, 7, e.description, e.description.isEmpty());
    BindOptionalText(s, 8, e.url, e.url.isEmpty());
    if (sqlite3_step(s) != SQLITE_DONE)
        return Fail(QStringLiteral("cannot add entry %1").arg(e.abbr));
    return true;
}

bool DictionaryWriter::AddLink(qint32 abbrId, const QString& word, qint32 refId) {
    sqlite3_stmt* s = insertLink_.get();
    sqlite3_reset(s);
    sqlite3_bind_int(s, 1, abbrId);
    BindText(s, 2, word);
    sqlite3_bind_int(s, 3, refId);
    if (sqlite3_step(s) != SQLITE_DONE)
        return Fail(QStringLiteral("cannot add related word %1").arg(word));
    return true;
}

bool DictionaryWriter::Finish() {
    insertCategory_.reset();
    insertEntry_.reset();
    insertLink_.reset();
    if (!Run(Schema::kCreateIndexes) || !Run("COMMIT") || !Run("ANALYZE") ||
        !Run("PRAGMA journal_mode = DELETE"))
        return Fail(QStringLiteral("cannot finish the dictionary"));
    db_.reset();
    if (!SyncToDisk(tempPath_)) {
        QFile::remove(tempPath_);
        return Fail(QStringLiteral("cannot write %1 to the disk").arg(tempPath_));
    }
    // Renamed over the old dictionary in one step: a program or script that looks meanwhile
    // finds the old file or the new one, never none; a reader of the old one keeps it.
    std::error_code ec;
    std::filesystem::rename(std::filesystem::path(tempPath_.toStdU16String()),
                            std::filesystem::path(path_.toStdU16String()), ec);
    if (ec) {
        QFile::remove(tempPath_);
        error_ = QStringLiteral("cannot move the dictionary to %1: %2")
                     .arg(path_, QString::fromLocal8Bit(ec.message().c_str()));
        return false;
    }
    // The new name itself lasts once the directory is on the disk; an old dictionary was already
    // replaced whole either way, so a failure here loses nothing.
    SyncToDisk(QFileInfo(path_).absolutePath());
    return true;
}

bool WriteDictionary(const DictionaryContent& content, const QString& path, QString* error,
                     const std::function<void(qint64 done, qint64 total)>& progress) {
    DictionaryWriter writer(path);
    const qint64 total = content.entries.size() + content.links.size();
    qint64 done = 0;
    auto step = [&] {
        if ((++done & 255) == 0 && progress)
            progress(done, total);
    };
    bool ok = writer.Begin();
    for (const auto& c : content.categories)
        ok = ok && writer.AddCategory(c.id, c.name, c.shortName);
    for (const auto& e : content.entries) {
        ok = ok && writer.AddEntry(e);
        step();
    }
    for (const auto& l : content.links) {
        ok = ok && writer.AddLink(l.abbrId, l.word, l.refId);
        step();
    }
    ok = ok && writer.Finish();
    if (!ok) {
        *error = QStringLiteral("%1: %2").arg(path, writer.ErrorText());
        return false;
    }
    if (progress)
        progress(total, total);
    return true;
}
