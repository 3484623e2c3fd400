// The public face of the Jet import: open a Jet file, copy it through the child, keep it locked.
#include "data/JetImport.h"

#include "data/jet/ChildImport.h"
#include "data/jet/ImageRegistry.h"
#include "data/jet/JetFile.h"

#include <sys/mman.h>

namespace JetImport {
namespace {

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
    // The copy is about the size of the file (Jet 4 text is UTF-16, ours UTF-8, plus indexes);
    // far more means the child has run away. The limit holds for the shared memory as well.
    const qint64 maxOutput = (qint64(64) << 20) + 16 * file.Size();
    const Isolation::Result result = Isolation::Run(
        [&job](int out) { return ImportInChild(job, out); }, options.timeLimit, maxOutput);
    if (result.outcome != Isolation::Outcome::Finished)
        return {};
    std::optional<ImportedDatabase> loaded = LoadChildOutput(result.output, image.Get());
    return loaded ? std::move(*loaded) : ImportedDatabase{};
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

SqliteDb OpenDictionaryCopy(const QString& path, const Options& options) {
    std::optional<LockedFile> file = LockedFile::Open(path);
    if (!file)
        return nullptr;
    ImportedDatabase imported = ImportLocked(*file, kDictionaryTables, options);
    if (!imported.db)
        return nullptr;
    HoldFileWhileOpen(imported.db.get(), std::move(*file));
    return std::move(imported.db);
}

std::shared_ptr<const Catalogue> CatalogueOf(sqlite3* db) {
    return RegisteredCatalogue(db);
}

} // namespace JetImport
