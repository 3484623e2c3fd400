// The public face of the Jet import: open a Jet file, copy it through the child, keep it locked.
#include "data/JetImport.h"

#include "data/jet/ChildImport.h"
#include "data/jet/ImageRegistry.h"
#include "data/jet/JetFile.h"

#include <sys/mman.h>

namespace JetImport {
namespace {

// The clock is the last guard, for loops that read nothing: 5 s for every 64 MB begun.
std::chrono::milliseconds TimeLimitFor(qint64 fileSize) {
    return std::chrono::milliseconds(5000) * (1 + fileSize / (qint64(64) << 20));
}

ImportedDatabase ImportLocked(const LockedFile& file, const QStringList& tables,
                              const Options& options) {
    UniqueFd image(::memfd_create("tessarine-jet-copy", MFD_CLOEXEC));
    if (image.Get() < 0)
        return {};
    ChildJob job;
    job.path = file.Name();
    job.device = file.Device();
    job.inode = file.Inode();
    job.imageFd = image.Get();
    for (const QString& table : tables)
        job.tables.push_back(table.toStdString());
    job.maxPageReads = options.maxPageReads;
    // A table's values come from the file's pages; Jet 3 text can grow threefold as UTF-8.
    job.maxTableBytes = 4 * (unsigned long long)file.Size() + (1 << 20);
    // The copy is about the size of the file (Jet 4 text is UTF-16, ours UTF-8, plus indexes);
    // far more means the child has run away. The limit holds for the shared memory as well.
    const qint64 maxOutput = (qint64(64) << 20) + 16 * file.Size();
    const auto timeLimit =
        options.timeLimit.count() > 0 ? options.timeLimit : TimeLimitFor(file.Size());
    const Isolation::Result result =
        Isolation::Run([&job](int out) { return ImportInChild(job, out); }, timeLimit, maxOutput,
                       options.progress);
    ImportedDatabase imported;
    if (result.outcome == Isolation::Outcome::Finished) {
        if (std::optional<ImportedDatabase> loaded = LoadChildOutput(result.output, image.Get()))
            imported = std::move(*loaded);
    }
    imported.outcome = result.outcome;
    return imported;
}

// What went wrong in the reading child, for a user who wants to know why the file did not open.
QString ReadingFailure(Isolation::Outcome outcome) {
    switch (outcome) {
    case Isolation::Outcome::Crashed:
        return QStringLiteral("libmdb crashed reading the Jet file");
    case Isolation::Outcome::TimedOut:
    case Isolation::Outcome::TooMuchWork:
        return QStringLiteral("libmdb did not finish reading the Jet file (damaged?)");
    case Isolation::Outcome::TooMuchOutput:
        return QStringLiteral("libmdb read far more than the Jet file holds (damaged?)");
    case Isolation::Outcome::Finished:
    case Isolation::Outcome::Failed:
        break;
    }
    return QStringLiteral("libmdb cannot read the Jet file, or it has no dictionary tables");
}

} // namespace

bool HasJetSignature(const QByteArray& header) {
    if (header.size() < 20 || !header.startsWith(QByteArrayLiteral("\x00\x01\x00\x00")))
        return false;
    const QByteArray name = header.mid(4, 16);
    return name == QByteArrayLiteral("Standard Jet DB\0") ||
           name == QByteArrayLiteral("Standard ACE DB\0");
}

ImportedDatabase ImportTables(const QString& path, const QStringList& tables,
                              const Options& options) {
    std::optional<LockedFile> file = LockedFile::Open(path);
    if (!file)
        return {};
    return ImportLocked(*file, tables, options);
}

SqliteDb OpenDictionaryCopy(const QString& path, const Options& options, QString* why) {
    QString ignored;
    QString& reason = why ? *why : ignored;
    std::optional<LockedFile> file = LockedFile::Open(path);
    if (!file) {
        reason = QStringLiteral("cannot be opened, or a program that writes it holds its lock");
        return nullptr;
    }
    ImportedDatabase imported = ImportLocked(*file, kDictionaryTables, options);
    if (!imported.db) {
        reason = ReadingFailure(imported.outcome);
        return nullptr;
    }
    HoldFileWhileOpen(imported.db.get(), std::move(*file));
    return std::move(imported.db);
}

std::shared_ptr<const Catalogue> CatalogueOf(sqlite3* db) {
    return RegisteredCatalogue(db);
}

} // namespace JetImport
