#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <memory>

// The text of a dictd database: a plain .dict file, or its gzip-compressed .dict.dz. A dictzip
// file keeps a table of separately compressed chunks in the gzip header ("RA" extra field), so an
// entry is read by inflating only the chunks it lies in. A gzip file without that table is
// inflated once as a whole.
class DictData {
public:
    // On failure returns null and sets *error to a message that names the file.
    static std::unique_ptr<DictData> Open(const QString& path, QString* error);
    ~DictData();
    DictData(const DictData&) = delete;
    DictData& operator=(const DictData&) = delete;

    // Length of the uncompressed text in bytes.
    qint64 Size() const { return size_; }
    bool IsDictZip() const { return mode_ == Mode::DictZip; }
    qint64 ChunkCount() const { return qint64(chunkOffsets_.size()) - 1; }

    // Reads length bytes at offset of the uncompressed text into *out.
    bool Read(qint64 offset, qint64 length, QByteArray* out, QString* error);

private:
    enum class Mode { Plain, Whole, DictZip };
    explicit DictData(const QString& path);

    bool OpenGzip(QString* error);
    // The parts of OpenGzip, in order; each sets *error on failure.
    bool CheckFixedHeader(const QByteArray& head, QString* error) const;
    bool ReadExtraField(const QByteArray& head, qsizetype* pos, QList<quint16>* chunkSizes,
                        bool* haveTable, QString* error);
    bool ReadChunkTable(const QByteArray& field, QList<quint16>* chunkSizes, QString* error);
    bool SkipNamesAndCrc(const QByteArray& head, qsizetype* pos, QString* error) const;
    bool SetUpChunks(qsizetype dataStart, const QList<quint16>& chunkSizes, QString* error);
    QString Truncated(QString* error) const;
    bool InflateWhole(QString* error);
    const QByteArray* Chunk(qint64 index, QString* error);
    QString Failed(const QString& what) const;

    QString path_;
    QFile file_;
    Mode mode_ = Mode::Plain;
    qint64 size_ = 0;
    QByteArray whole_;
    // Dictzip: uncompressed length of every chunk but the last, and where each chunk's
    // compressed data starts (one more element than there are chunks: the end of the last).
    qint64 chunkLength_ = 0;
    QList<qint64> chunkOffsets_;
    // The chunks inflated most recently, newest last; entries are read in roughly file order,
    // so a few suffice.
    struct CachedChunk {
        qint64 index;
        QByteArray data;
    };
    QList<CachedChunk> cache_;
};
