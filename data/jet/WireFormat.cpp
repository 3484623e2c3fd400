// The child-to-parent frame, written and read byte by byte in little-endian order.
#include "data/jet/WireFormat.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace JetImport {
namespace {

constexpr char kMagic[4] = {'T', 'J', 'I', '1'};
constexpr char kTrailer[4] = {'D', 'O', 'N', 'E'};

void PutU32(std::string& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out.push_back(char((value >> (8 * i)) & 0xFF));
}

void PutU64(std::string& out, std::uint64_t value) {
    for (int i = 0; i < 8; ++i)
        out.push_back(char((value >> (8 * i)) & 0xFF));
}

void PutString(std::string& out, const std::string& text) {
    PutU32(out, std::uint32_t(text.size()));
    out += text;
}

class FrameReader {
public:
    explicit FrameReader(const QByteArray& data)
        : p_(data.constData()), end_(data.constData() + data.size()) {}

    bool Take(std::uint64_t size, const char** bytes) {
        if (std::uint64_t(end_ - p_) < size)
            return false;
        *bytes = p_;
        p_ += size;
        return true;
    }
    bool U32(std::uint32_t& value) {
        const char* b = nullptr;
        if (!Take(4, &b))
            return false;
        value = 0;
        for (int i = 3; i >= 0; --i)
            value = (value << 8) | std::uint8_t(b[i]);
        return true;
    }
    bool U64(std::uint64_t& value) {
        const char* b = nullptr;
        if (!Take(8, &b))
            return false;
        value = 0;
        for (int i = 7; i >= 0; --i)
            value = (value << 8) | std::uint8_t(b[i]);
        return true;
    }
    bool String(QString& text) {
        std::uint32_t size = 0;
        const char* b = nullptr;
        if (!U32(size) || !Take(size, &b))
            return false;
        text = QString::fromUtf8(b, qsizetype(size));
        return true;
    }
    bool Expect(const char (&word)[4]) {
        const char* b = nullptr;
        return Take(4, &b) && std::memcmp(b, word, 4) == 0;
    }
    bool AtEnd() const { return p_ == end_; }

private:
    const char* p_;
    const char* end_;
};

} // namespace

std::string EncodeFrame(const std::vector<TableNames>& tables, std::uint64_t imageSize) {
    std::string out(kMagic, sizeof kMagic);
    PutU32(out, std::uint32_t(tables.size()));
    for (const TableNames& table : tables) {
        PutString(out, table.name);
        PutU32(out, std::uint32_t(table.columns.size()));
        for (const std::string& column : table.columns)
            PutString(out, column);
    }
    PutU64(out, imageSize);
    out.append(kTrailer, sizeof kTrailer);
    return out;
}

std::optional<Frame> DecodeFrame(const QByteArray& data) {
    FrameReader reader(data);
    auto catalogue = std::make_shared<Catalogue>();
    std::uint32_t tableCount = 0;
    if (!reader.Expect(kMagic) || !reader.U32(tableCount))
        return std::nullopt;
    for (std::uint32_t t = 0; t < tableCount; ++t) {
        QString table;
        std::uint32_t columnCount = 0;
        if (!reader.String(table) || !reader.U32(columnCount))
            return std::nullopt;
        QStringList columns;
        for (std::uint32_t c = 0; c < columnCount; ++c) {
            QString column;
            if (!reader.String(column))
                return std::nullopt;
            columns << column;
        }
        catalogue->tables << table;
        catalogue->columns.insert(table, columns);
    }
    std::uint64_t size = 0;
    if (!reader.U64(size) || !reader.Expect(kTrailer) || !reader.AtEnd())
        return std::nullopt;
    return Frame{std::move(catalogue), size};
}

bool WriteAll(int fd, const void* data, size_t size) {
    const auto* p = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd, p, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        size -= size_t(n);
    }
    return true;
}

} // namespace JetImport
