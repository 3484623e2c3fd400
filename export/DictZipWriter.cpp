#include "export/DictZipWriter.h"

#include <QDateTime>

namespace {

constexpr qsizetype kWriteBlock = 1 << 20;

void PutLe16(QByteArray& out, quint32 value) {
    out += char(value & 0xFF);
    out += char((value >> 8) & 0xFF);
}

void PutLe32(QByteArray& out, quint32 value) {
    PutLe16(out, value & 0xFFFF);
    PutLe16(out, value >> 16);
}

} // namespace

DictZipWriter::DictZipWriter(QString bodyPath) : bodyPath_(std::move(bodyPath)), body_(bodyPath_) {}

DictZipWriter::~DictZipWriter() {
    if (streamOpen_)
        deflateEnd(&stream_);
    if (body_.isOpen())
        body_.close();
    QFile::remove(bodyPath_);
}

bool DictZipWriter::Fail(const QString& what) {
    if (error_.isEmpty())
        error_ = what;
    return false;
}

bool DictZipWriter::Begin() {
    if (!body_.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return Fail(QStringLiteral("%1: %2").arg(bodyPath_, body_.errorString()));
    // Raw deflate: the gzip header and trailer are written here, the chunk table among them.
    if (deflateInit2(&stream_, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 9, Z_DEFAULT_STRATEGY) !=
        Z_OK)
        return Fail(QStringLiteral("cannot start compressing"));
    streamOpen_ = true;
    crc_ = quint32(crc32(0, nullptr, 0));
    chunk_.reserve(kChunkLength);
    return true;
}

bool DictZipWriter::Write(QByteArrayView text) {
    while (!text.isEmpty()) {
        const qsizetype take = qMin(text.size(), qsizetype(kChunkLength) - chunk_.size());
        chunk_.append(text.first(take));
        text = text.sliced(take);
        if (chunk_.size() == kChunkLength && !CompressChunk(Z_FULL_FLUSH))
            return false;
    }
    return true;
}

// Compresses the gathered chunk. A full flush ends it on a byte boundary with the history
// cleared, so that inflating can begin at its first byte.
bool DictZipWriter::CompressChunk(int flush) {
    if (flush == Z_FULL_FLUSH && chunkSizes_.size() >= kMostChunks)
        return Fail(QStringLiteral("the text is larger than a dictzip file can hold (%1 MB)")
                        .arg(qint64(kMostChunks) * kChunkLength / 1000000));
    crc_ = quint32(
        crc32(crc_, reinterpret_cast<const Bytef*>(chunk_.constData()), uInt(chunk_.size())));
    size_ += chunk_.size();
    stream_.next_in = reinterpret_cast<Bytef*>(chunk_.data());
    stream_.avail_in = uInt(chunk_.size());
    const qsizetype before = pending_.size();
    int rc;
    do {
        const qsizetype at = pending_.size();
        pending_.resize(at + kChunkLength + 1024);
        stream_.next_out = reinterpret_cast<Bytef*>(pending_.data() + at);
        stream_.avail_out = uInt(kChunkLength + 1024);
        rc = deflate(&stream_, flush);
        pending_.resize(pending_.size() - stream_.avail_out);
    } while (rc == Z_OK && stream_.avail_out == 0);
    chunk_.clear();
    if (rc != Z_OK && !(flush == Z_FINISH && rc == Z_STREAM_END))
        return Fail(QStringLiteral("compressing failed"));
    const qsizetype produced = pending_.size() - before;
    if (flush == Z_FULL_FLUSH) {
        if (produced > 0xFFFF) // cannot happen with chunks of this length, but must never wrap
            return Fail(QStringLiteral("a compressed chunk outgrew the dictzip table"));
        chunkSizes_.append(quint16(produced));
    }
    compressedSize_ += produced;
    return WriteBody(false);
}

bool DictZipWriter::WriteBody(bool all) {
    if (pending_.size() < kWriteBlock && !all)
        return true;
    if (body_.write(pending_) != pending_.size())
        return Fail(QStringLiteral("%1: %2").arg(bodyPath_, body_.errorString()));
    pending_.clear();
    return true;
}

QByteArray DictZipWriter::Header() const {
    QByteArray header;
    header += char(0x1F);
    header += char(0x8B);
    header += char(8);    // deflate
    header += char(0x04); // FEXTRA
    PutLe32(header, quint32(QDateTime::currentSecsSinceEpoch()));
    header += char(2); // the slowest, strongest compression
    header += char(3); // Unix
    const int count = int(chunkSizes_.size());
    PutLe16(header, 4 + 6 + 2 * count); // XLEN
    header += 'R';
    header += 'A';
    PutLe16(header, 6 + 2 * count);
    PutLe16(header, 1); // version
    PutLe16(header, kChunkLength);
    PutLe16(header, count);
    for (const quint16 size : chunkSizes_)
        PutLe16(header, size);
    return header;
}

bool DictZipWriter::Finish(const QString& path) {
    // The last chunk, however short, then the deflate stream's end outside every chunk.
    if (!chunk_.isEmpty() && !CompressChunk(Z_FULL_FLUSH))
        return false;
    if (!CompressChunk(Z_FINISH) || !WriteBody(true))
        return false;
    body_.close();
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(Header()) < 0)
        return Fail(QStringLiteral("%1: %2").arg(path, out.errorString()));
    if (!body_.open(QIODevice::ReadOnly))
        return Fail(QStringLiteral("%1: %2").arg(bodyPath_, body_.errorString()));
    while (!body_.atEnd()) {
        const QByteArray block = body_.read(kWriteBlock);
        if (block.isEmpty() || out.write(block) != block.size())
            return Fail(QStringLiteral("%1: %2").arg(path, out.errorString()));
    }
    body_.close();
    QByteArray trailer;
    PutLe32(trailer, crc_);
    PutLe32(trailer, quint32(size_ & 0xFFFFFFFF));
    if (out.write(trailer) != trailer.size() || !out.flush())
        return Fail(QStringLiteral("%1: %2").arg(path, out.errorString()));
    out.close();
    QFile::remove(bodyPath_);
    return true;
}
