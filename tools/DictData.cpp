#include "tools/DictData.h"

#include <zlib.h>

namespace {

constexpr int kCachedChunks = 4;

// gzip header flags
constexpr quint8 kFlagHeaderCrc = 0x02;
constexpr quint8 kFlagExtra = 0x04;
constexpr quint8 kFlagName = 0x08;
constexpr quint8 kFlagComment = 0x10;
constexpr quint8 kFlagsReserved = 0xE0;
constexpr int kTrailerBytes = 8; // CRC-32 and the uncompressed length

quint16 Le16(const QByteArray& b, qsizetype at) {
    return quint16(quint8(b.at(at)) | (quint8(b.at(at + 1)) << 8));
}

quint32 Le32(const QByteArray& b, qsizetype at) {
    return quint32(Le16(b, at)) | (quint32(Le16(b, at + 2)) << 16);
}

// One inflate stream, released however the caller leaves.
class Inflater {
public:
    explicit Inflater(int windowBits) { ok_ = inflateInit2(&stream_, windowBits) == Z_OK; }
    ~Inflater() {
        if (ok_)
            inflateEnd(&stream_);
    }
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;
    bool Ok() const { return ok_; }
    z_stream& Stream() { return stream_; }
    QString Message() const {
        return stream_.msg ? QString::fromLatin1(stream_.msg) : QStringLiteral("invalid data");
    }

private:
    z_stream stream_{};
    bool ok_ = false;
};

} // namespace

DictData::DictData(const QString& path) : path_(path), file_(path) {}

DictData::~DictData() = default;

QString DictData::Failed(const QString& what) const {
    return QStringLiteral("%1: %2").arg(path_, what);
}

std::unique_ptr<DictData> DictData::Open(const QString& path, QString* error) {
    std::unique_ptr<DictData> data(new DictData(path));
    if (!data->file_.open(QIODevice::ReadOnly)) {
        *error = data->Failed(QStringLiteral("cannot read: %1").arg(data->file_.errorString()));
        return nullptr;
    }
    const QByteArray magic = data->file_.peek(2);
    if (magic.size() == 2 && quint8(magic.at(0)) == 0x1f && quint8(magic.at(1)) == 0x8b) {
        if (!data->OpenGzip(error))
            return nullptr;
    } else {
        data->mode_ = Mode::Plain;
        data->size_ = data->file_.size();
    }
    return data;
}

bool DictData::OpenGzip(QString* error) {
    const qint64 fileSize = file_.size();
    // The fixed part, the extra field and the optional names are all in the first bytes; the
    // extra field is at most 64 KiB and the names are cut off well before that.
    const QByteArray head = file_.read(qMin<qint64>(fileSize, 10 + 2 + 0xFFFF + 0x20000));
    qsizetype pos = 0;
    QList<quint16> chunkSizes;
    bool haveTable = false;
    if (!CheckFixedHeader(head, error) ||
        !ReadExtraField(head, &pos, &chunkSizes, &haveTable, error) ||
        !SkipNamesAndCrc(head, &pos, error))
        return false;
    if (!haveTable) {
        file_.seek(0);
        return InflateWhole(error);
    }
    return SetUpChunks(pos, chunkSizes, error);
}

QString DictData::Truncated(QString* error) const {
    *error = Failed(QStringLiteral("truncated gzip header"));
    return *error;
}

bool DictData::CheckFixedHeader(const QByteArray& head, QString* error) const {
    if (head.size() < 10) {
        Truncated(error);
        return false;
    }
    if (quint8(head.at(2)) != 8) {
        *error =
            Failed(QStringLiteral("unknown gzip compression method %1").arg(quint8(head.at(2))));
        return false;
    }
    if (quint8(head.at(3)) & kFlagsReserved) {
        *error = Failed(QStringLiteral("corrupt gzip header (reserved flags set)"));
        return false;
    }
    return true;
}

// The extra field, where dictzip keeps its chunk table ("RA"). *pos ends after the field.
bool DictData::ReadExtraField(const QByteArray& head, qsizetype* pos, QList<quint16>* chunkSizes,
                              bool* haveTable, QString* error) {
    *pos = 10;
    if (!(quint8(head.at(3)) & kFlagExtra))
        return true;
    if (head.size() < *pos + 2) {
        Truncated(error);
        return false;
    }
    const qsizetype extraEnd = *pos + 2 + Le16(head, *pos);
    *pos += 2;
    if (head.size() < extraEnd) {
        Truncated(error);
        return false;
    }
    while (*pos + 4 <= extraEnd) {
        const qsizetype fieldLength = Le16(head, *pos + 2);
        const bool table = head.at(*pos) == 'R' && head.at(*pos + 1) == 'A' && !*haveTable;
        *pos += 4;
        if (*pos + fieldLength > extraEnd) {
            *error = Failed(QStringLiteral("corrupt gzip header (extra field overruns)"));
            return false;
        }
        if (table && !ReadChunkTable(head.mid(*pos, fieldLength), chunkSizes, error))
            return false;
        *haveTable = *haveTable || table;
        *pos += fieldLength;
    }
    *pos = extraEnd;
    return true;
}

bool DictData::ReadChunkTable(const QByteArray& field, QList<quint16>* chunkSizes, QString* error) {
    const QString corrupt = Failed(QStringLiteral("corrupt dictzip chunk table"));
    if (field.size() < 6) {
        *error = corrupt;
        return false;
    }
    const quint16 version = Le16(field, 0);
    chunkLength_ = Le16(field, 2);
    const qsizetype count = Le16(field, 4);
    if (version != 1) {
        *error = Failed(QStringLiteral("unsupported dictzip version %1").arg(version));
        return false;
    }
    if (field.size() < 6 + 2 * count || (count > 0 && chunkLength_ == 0)) {
        *error = corrupt;
        return false;
    }
    for (qsizetype i = 0; i < count; ++i)
        chunkSizes->append(Le16(field, 6 + 2 * i));
    return true;
}

// The optional file name, comment and header checksum after the extra field.
bool DictData::SkipNamesAndCrc(const QByteArray& head, qsizetype* pos, QString* error) const {
    const quint8 flags = quint8(head.at(3));
    for (const quint8 flag : {kFlagName, kFlagComment}) {
        if (!(flags & flag))
            continue;
        const qsizetype end = head.indexOf('\0', *pos);
        if (end < 0) {
            Truncated(error);
            return false;
        }
        *pos = end + 1;
    }
    if (flags & kFlagHeaderCrc)
        *pos += 2;
    if (*pos > head.size()) {
        Truncated(error);
        return false;
    }
    return true;
}

// Where each chunk's compressed data starts, checked against the file's size and the length
// of the whole text in the gzip trailer.
bool DictData::SetUpChunks(qsizetype dataStart, const QList<quint16>& chunkSizes, QString* error) {
    const qint64 fileSize = file_.size();
    mode_ = Mode::DictZip;
    chunkOffsets_.reserve(chunkSizes.size() + 1);
    qint64 offset = dataStart;
    for (const quint16 compressed : chunkSizes) {
        chunkOffsets_.append(offset);
        offset += compressed;
    }
    chunkOffsets_.append(offset);
    if (fileSize < offset + kTrailerBytes) {
        *error = Failed(QStringLiteral("truncated: the chunk table needs at least %1 bytes, the "
                                       "file has %2")
                            .arg(offset + kTrailerBytes)
                            .arg(fileSize));
        return false;
    }
    file_.seek(fileSize - 4);
    const QByteArray trailer = file_.read(4);
    if (trailer.size() != 4) {
        Truncated(error);
        return false;
    }
    size_ = Le32(trailer, 0);
    const qint64 count = chunkSizes.size();
    const bool consistent =
        count == 0 ? size_ == 0
                   : size_ > (count - 1) * chunkLength_ && size_ <= count * chunkLength_;
    if (!consistent) {
        *error = Failed(QStringLiteral("corrupt: the length in the gzip trailer (%1) does not "
                                       "fit the chunk table (%2 chunks of %3 bytes)")
                            .arg(size_)
                            .arg(count)
                            .arg(chunkLength_));
        return false;
    }
    return true;
}

bool DictData::InflateWhole(QString* error) {
    mode_ = Mode::Whole;
    const QByteArray compressed = file_.readAll();
    Inflater inflater(15 + 16); // gzip wrapper: checks the CRC and length in the trailer
    if (!inflater.Ok()) {
        *error = Failed(QStringLiteral("cannot start decompression"));
        return false;
    }
    z_stream& s = inflater.Stream();
    s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.constData()));
    s.avail_in = uInt(compressed.size());
    QByteArray out;
    char buffer[1 << 16];
    int rc = Z_OK;
    while (rc == Z_OK) {
        s.next_out = reinterpret_cast<Bytef*>(buffer);
        s.avail_out = sizeof buffer;
        rc = inflate(&s, Z_NO_FLUSH);
        out.append(buffer, qsizetype(sizeof buffer - s.avail_out));
        if (rc == Z_BUF_ERROR || (rc == Z_OK && s.avail_in == 0 && s.avail_out != 0)) {
            *error = Failed(QStringLiteral("truncated: the compressed data ends early"));
            return false;
        }
    }
    if (rc != Z_STREAM_END) {
        *error = Failed(QStringLiteral("corrupt compressed data (%1)").arg(inflater.Message()));
        return false;
    }
    whole_ = out;
    size_ = whole_.size();
    return true;
}

const QByteArray* DictData::Chunk(qint64 index, QString* error) {
    for (qsizetype i = 0; i < cache_.size(); ++i) {
        if (cache_.at(i).index == index) {
            cache_.move(i, cache_.size() - 1);
            return &cache_.last().data;
        }
    }
    const qint64 start = chunkOffsets_.at(index);
    const qint64 compressedLength = chunkOffsets_.at(index + 1) - start;
    QByteArray compressed;
    if (file_.seek(start))
        compressed = file_.read(compressedLength);
    if (compressed.size() != compressedLength) {
        *error = Failed(QStringLiteral("truncated: chunk %1 cannot be read").arg(index + 1));
        return nullptr;
    }
    const bool last = index == ChunkCount() - 1;
    const qint64 expected = last ? size_ - index * chunkLength_ : chunkLength_;

    Inflater inflater(-15); // each chunk is raw deflate data ending at a full flush
    if (!inflater.Ok()) {
        *error = Failed(QStringLiteral("cannot start decompression"));
        return nullptr;
    }
    // One byte more than the chunk should give, so that a chunk that gives too much is noticed.
    QByteArray data(expected + 1, Qt::Uninitialized);
    z_stream& s = inflater.Stream();
    s.next_in = reinterpret_cast<Bytef*>(compressed.data());
    s.avail_in = uInt(compressed.size());
    s.next_out = reinterpret_cast<Bytef*>(data.data());
    s.avail_out = uInt(data.size());
    const int rc = inflate(&s, Z_SYNC_FLUSH);
    const qint64 produced = data.size() - s.avail_out;
    if ((rc != Z_OK && rc != Z_STREAM_END) || produced != expected) {
        const QString why =
            rc == Z_OK || rc == Z_STREAM_END || rc == Z_BUF_ERROR
                ? QStringLiteral("gives %1 bytes instead of %2").arg(produced).arg(expected)
                : inflater.Message();
        *error = Failed(
            QStringLiteral("corrupt compressed data in chunk %1 (%2)").arg(index + 1).arg(why));
        return nullptr;
    }
    data.truncate(expected);
    if (cache_.size() >= kCachedChunks)
        cache_.removeFirst();
    cache_.append({index, data});
    return &cache_.last().data;
}

bool DictData::Read(qint64 offset, qint64 length, QByteArray* out, QString* error) {
    out->clear();
    if (offset < 0 || length < 0 || offset > size_ || length > size_ - offset) {
        *error = Failed(QStringLiteral("%1 bytes at offset %2 lie beyond the end of the data "
                                       "(%3 bytes)")
                            .arg(length)
                            .arg(offset)
                            .arg(size_));
        return false;
    }
    if (length == 0)
        return true;
    switch (mode_) {
    case Mode::Plain:
        if (file_.seek(offset))
            *out = file_.read(length);
        if (out->size() != length) {
            *error =
                Failed(QStringLiteral("cannot read %1 bytes at offset %2").arg(length).arg(offset));
            return false;
        }
        return true;
    case Mode::Whole:
        *out = whole_.mid(offset, length);
        return true;
    case Mode::DictZip:
        break;
    }
    // The length comes from an index line; a damaged one may claim gigabytes that the chunks will
    // never hold, so only a modest part is set aside at once.
    out->reserve(qMin<qint64>(length, qint64(1) << 20));
    const qint64 end = offset + length;
    for (qint64 index = offset / chunkLength_; index * chunkLength_ < end; ++index) {
        const QByteArray* chunk = Chunk(index, error);
        if (!chunk)
            return false;
        const qint64 chunkStart = index * chunkLength_;
        const qint64 from = qMax(offset, chunkStart) - chunkStart;
        const qint64 to = qMin(end, chunkStart + chunk->size()) - chunkStart;
        out->append(chunk->constData() + from, to - from);
    }
    return true;
}
