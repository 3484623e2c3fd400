#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QList>
#include <QString>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <zlib.h>

// Writes a dictzip file, the random-access form of gzip that dictd and StarDict readers expect of
// .dict.dz: the text is compressed in chunks that each start afresh, and the gzip header lists
// their compressed sizes (the "RA" extra field), so a reader inflates only the chunks an article
// lies in. Any gzip reader still reads the whole file.
//
// The text streams through: a thread of its own compresses each chunk as it fills, while the
// caller goes on making text, and writes it to a body file; Finish puts the header, which needs
// the number of chunks, in front of them.
class DictZipWriter {
public:
    // As dictzip: even text that does not compress stays under 64 KiB per chunk.
    static constexpr int kChunkLength = 58315;
    // The chunk table must fit the 64 KiB extra field: about 1.9 GB of text.
    static constexpr int kMostChunks = (0xFFFF - 10) / 2;

    explicit DictZipWriter(QString bodyPath);
    ~DictZipWriter();
    DictZipWriter(const DictZipWriter&) = delete;
    DictZipWriter& operator=(const DictZipWriter&) = delete;

    bool Begin();
    bool Write(QByteArrayView text);
    // Bytes of text written so far: the offset of the next article.
    qint64 Size() const { return handed_ + chunk_.size(); }
    // Writes the whole file to `path` and removes the body file.
    bool Finish(const QString& path);
    qint64 CompressedSize() const { return compressedSize_; }
    QString ErrorText() const;

private:
    void Hand(QByteArray chunk);
    void Compressing();
    bool CompressChunk(const QByteArray& chunk, int flush);
    bool WriteBody(bool all);
    bool Fail(const QString& what);
    void StopCompressing();
    QByteArray Header() const;

    QString bodyPath_;
    QByteArray chunk_;  // the chunk being filled
    qint64 handed_ = 0; // bytes of text handed to the compressing thread
    int chunksHanded_ = 0;

    // Between the two threads: full chunks waiting, and whether more will come.
    std::thread worker_;
    std::mutex queueMutex_;
    std::condition_variable queueChanged_;
    std::deque<QByteArray> queue_;
    bool closing_ = false;
    std::atomic<bool> failed_{false};
    mutable std::mutex errorMutex_;
    QString error_;

    // The compressing thread's own, read by the caller once it has ended.
    QFile body_;
    z_stream stream_{};
    bool streamOpen_ = false;
    QByteArray pending_; // compressed bytes not yet written to the body file
    QList<quint16> chunkSizes_;
    quint32 crc_ = 0;
    qint64 compressedSize_ = 0;
};
