#include "export/DictZipWriter.h"

#include <QDateTime>

namespace {

constexpr qsizetype kWriteBlock = 1 << 20;
// Chunks that may wait for the compressing thread: enough to ride out an uneven pace, few
// enough to keep memory flat.
constexpr std::size_t kWaitingChunks = 8;

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
    StopCompressing();
    if (streamOpen_)
        deflateEnd(&stream_);
    if (body_.isOpen())
        body_.close();
    QFile::remove(bodyPath_);
}

bool DictZipWriter::Fail(const QString& what) {
    {
        std::lock_guard lock(errorMutex_);
        if (error_.isEmpty())
            error_ = what;
    }
    failed_ = true;
    queueChanged_.notify_all();
    return false;
}

QString DictZipWriter::ErrorText() const {
    std::lock_guard lock(errorMutex_);
    return error_;
}

bool DictZipWriter::Begin() {
    if (!body_.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return Fail(QStringLiteral("%1: %2").arg(bodyPath_, body_.errorString()));
    // Raw deflate: the gzip header and trailer are written here, the chunk table among them.
    // zlib's default level: a few per cent larger than the strongest, in half the time, which a
    // million entries need.
    if (deflateInit2(&stream_, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 9,
                     Z_DEFAULT_STRATEGY) != Z_OK)
        return Fail(QStringLiteral("cannot start compressing"));
    streamOpen_ = true;
    crc_ = quint32(crc32(0, nullptr, 0));
    chunk_.reserve(kChunkLength);
    worker_ = std::thread([this] { Compressing(); });
    return true;
}

bool DictZipWriter::Write(QByteArrayView text) {
    while (!text.isEmpty() && !failed_) {
        const qsizetype take = qMin(text.size(), qsizetype(kChunkLength) - chunk_.size());
        chunk_.append(text.first(take));
        text = text.sliced(take);
        if (chunk_.size() == kChunkLength) {
            if (chunksHanded_ >= kMostChunks)
                return Fail(QStringLiteral("the text is larger than a dictzip file can hold "
                                           "(%1 MB)")
                                .arg(qint64(kMostChunks) * kChunkLength / 1000000));
            QByteArray full;
            full.reserve(kChunkLength);
            full.swap(chunk_);
            Hand(std::move(full));
        }
    }
    return !failed_;
}

// Gives a full chunk to the compressing thread, waiting while it is too far behind.
void DictZipWriter::Hand(QByteArray chunk) {
    handed_ += chunk.size();
    ++chunksHanded_;
    std::unique_lock lock(queueMutex_);
    queueChanged_.wait(lock, [this] { return queue_.size() < kWaitingChunks || failed_; });
    queue_.push_back(std::move(chunk));
    lock.unlock();
    queueChanged_.notify_all();
}

// The compressing thread: every chunk in turn, then the end of the deflate stream, which lies
// outside every chunk.
void DictZipWriter::Compressing() {
    for (;;) {
        QByteArray chunk;
        {
            std::unique_lock lock(queueMutex_);
            queueChanged_.wait(lock, [this] { return !queue_.empty() || closing_; });
            if (queue_.empty())
                break;
            chunk = std::move(queue_.front());
            queue_.pop_front();
        }
        queueChanged_.notify_all();
        if (!failed_)
            CompressChunk(chunk, Z_FULL_FLUSH);
    }
    if (!failed_ && CompressChunk(QByteArray(), Z_FINISH))
        WriteBody(true);
}

void DictZipWriter::StopCompressing() {
    if (!worker_.joinable())
        return;
    {
        std::lock_guard lock(queueMutex_);
        closing_ = true;
    }
    queueChanged_.notify_all();
    worker_.join();
}

// Compresses one chunk. A full flush ends it on a byte boundary with the history cleared, so
// that inflating can begin at its first byte.
bool DictZipWriter::CompressChunk(const QByteArray& chunk, int flush) {
    crc_ =
        quint32(crc32(crc_, reinterpret_cast<const Bytef*>(chunk.constData()), uInt(chunk.size())));
    stream_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(chunk.constData()));
    stream_.avail_in = uInt(chunk.size());
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
    header += char(0); // neither the fastest nor the strongest compression
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
    // The last chunk, however short; then the thread ends the stream and stops.
    if (!chunk_.isEmpty() && !failed_)
        Hand(std::exchange(chunk_, QByteArray()));
    StopCompressing();
    if (failed_)
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
    PutLe32(trailer, quint32(handed_ & 0xFFFFFFFF));
    if (out.write(trailer) != trailer.size() || !out.flush())
        return Fail(QStringLiteral("%1: %2").arg(path, out.errorString()));
    out.close();
    QFile::remove(bodyPath_);
    return true;
}
