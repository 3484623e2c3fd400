#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QList>
#include <QString>
#include <zlib.h>

// Writes a dictzip file, the random-access form of gzip that dictd and StarDict readers expect of
// .dict.dz: the text is compressed in chunks that each start afresh, and the gzip header lists
// their compressed sizes (the "RA" extra field), so a reader inflates only the chunks an article
// lies in. Any gzip reader still reads the whole file.
//
// The text streams through: compressed chunks go to a body file as they are made, and Finish
// puts the header, which needs their number, in front of them.
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
    qint64 Size() const { return size_ + chunk_.size(); }
    // Writes the whole file to `path` and removes the body file.
    bool Finish(const QString& path);
    qint64 CompressedSize() const { return compressedSize_; }
    QString ErrorText() const { return error_; }

private:
    bool CompressChunk(int flush);
    bool WriteBody(bool all);
    bool Fail(const QString& what);
    QByteArray Header() const;

    QString bodyPath_;
    QFile body_;
    z_stream stream_{};
    bool streamOpen_ = false;
    QByteArray chunk_;
    QByteArray pending_; // compressed bytes not yet written to the body file
    QList<quint16> chunkSizes_;
    quint32 crc_ = 0;
    qint64 size_ = 0;
    qint64 compressedSize_ = 0;
    QString error_;
};
