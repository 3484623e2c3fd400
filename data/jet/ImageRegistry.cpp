// Mapping the child's image and tying it, its catalogue and the file lock to the connection.
#include "data/jet/ImageRegistry.h"

#include "data/TextCollation.h"
#include "data/jet/WireFormat.h"

#include <cstdint>
#include <limits>
#include <mutex>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unordered_map>
#include <utility>

namespace JetImport {
namespace {

// The copy as the child left it in shared memory, mapped read-only: SQLite reads it in place,
// so a large dictionary is not copied once more on its way in.
class MappedImage {
public:
    static std::optional<MappedImage> Map(int fd, std::uint64_t size) {
        struct stat st {};
        if (size == 0 || ::fstat(fd, &st) != 0 || std::uint64_t(st.st_size) != size ||
            size > std::uint64_t(std::numeric_limits<sqlite3_int64>::max()))
            return std::nullopt;
        void* data = ::mmap(nullptr, size_t(size), PROT_READ, MAP_PRIVATE, fd, 0);
        if (data == MAP_FAILED)
            return std::nullopt;
        MappedImage image;
        image.data_ = static_cast<unsigned char*>(data);
        image.size_ = size_t(size);
        return image;
    }
    MappedImage(MappedImage&& other) noexcept
        : data_(std::exchange(other.data_, nullptr)), size_(other.size_) {}
    MappedImage& operator=(MappedImage&& other) noexcept {
        std::swap(data_, other.data_);
        std::swap(size_, other.size_);
        return *this;
    }
    MappedImage(const MappedImage&) = delete;
    ~MappedImage() {
        if (data_)
            ::munmap(data_, size_);
    }
    unsigned char* Data() const { return data_; }
    size_t Size() const { return size_; }

private:
    MappedImage() = default;
    unsigned char* data_ = nullptr;
    size_t size_ = 0;
};

// What a connection made from a Jet file needs for as long as it lives: the memory it reads,
// its catalogue, and for a dictionary the locked file.
struct JetSource {
    sqlite3* db = nullptr;
    std::shared_ptr<const Catalogue> catalogue;
    std::optional<MappedImage> image;
    std::optional<LockedFile> file;
};

std::mutex& RegistryMutex() {
    static std::mutex mutex;
    return mutex;
}
// The sources of the open connections, owned by the connections (see AttachSource).
std::unordered_map<sqlite3*, JetSource*>& Registry() {
    static std::unordered_map<sqlite3*, JetSource*> registry;
    return registry;
}

void ReleaseSource(void* data) {
    std::unique_ptr<JetSource> source(static_cast<JetSource*>(data));
    std::lock_guard lock(RegistryMutex());
    Registry().erase(source->db);
}

void NoValue(sqlite3_context* context, int, sqlite3_value**) {
    sqlite3_result_null(context);
}

// SQLite calls the destructor of a function's data when the connection closes, after it has
// closed its databases: registering the source as such data ties the memory, the catalogue and
// the file lock to the connection's life, so the caller holds one handle as for any other
// dictionary.
bool AttachSource(sqlite3* db, std::unique_ptr<JetSource> source) {
    source->db = db;
    {
        std::lock_guard lock(RegistryMutex());
        Registry()[db] = source.get();
    }
    // On failure SQLite has already called ReleaseSource, which also forgot the source.
    return sqlite3_create_function_v2(db, "tessarine_jet_source", 0, SQLITE_UTF8, source.release(),
                                      NoValue, nullptr, nullptr, ReleaseSource) == SQLITE_OK;
}

} // namespace

std::optional<ImportedDatabase> LoadChildOutput(const QByteArray& output, int imageFd) {
    std::optional<Frame> frame = DecodeFrame(output);
    if (!frame)
        return std::nullopt;
    const std::uint64_t size = frame->imageSize;
    std::shared_ptr<const Catalogue> catalogue = std::move(frame->catalogue);

    auto source = std::make_unique<JetSource>();
    source->catalogue = catalogue;
    if (size > 0) {
        source->image = MappedImage::Map(imageFd, size);
        if (!source->image)
            return std::nullopt;
    }
    unsigned char* image = source->image ? source->image->Data() : nullptr;

    sqlite3* raw = nullptr;
    const int rc =
        sqlite3_open_v2(":memory:", &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    SqliteDb db(raw);
    // The source goes first, so that the memory outlives the database read from it.
    if (rc != SQLITE_OK || !AttachSource(db.get(), std::move(source)))
        return std::nullopt;
    if (image && sqlite3_deserialize(db.get(), "main", image, sqlite3_int64(size),
                                     sqlite3_int64(size), SQLITE_DESERIALIZE_READONLY) != SQLITE_OK)
        return std::nullopt;
    if (TextCollation::Register(db.get()) != SQLITE_OK ||
        sqlite3_exec(db.get(), "PRAGMA query_only = 1", nullptr, nullptr, nullptr) != SQLITE_OK ||
        sqlite3_exec(db.get(), "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) !=
            SQLITE_OK)
        return std::nullopt;
    return ImportedDatabase{std::move(db), std::move(catalogue)};
}

void HoldFileWhileOpen(sqlite3* db, LockedFile file) {
    std::lock_guard lock(RegistryMutex());
    Registry().at(db)->file = std::move(file);
}

std::shared_ptr<const Catalogue> RegisteredCatalogue(sqlite3* db) {
    std::lock_guard lock(RegistryMutex());
    const auto it = Registry().find(db);
    return it == Registry().end() ? nullptr : it->second->catalogue;
}

} // namespace JetImport
