#pragma once

#include <QIODevice>
#include <QString>
#include <QStringDecoder>

// Reads text of any length from a file or a pipe a piece at a time, so that memory stays bounded
// however much comes: UTF-8 decoded (malformed bytes become U+FFFD), and cut only at white space,
// so that no word is split between two pieces.
class TextPieces {
public:
    // Bytes read at a time.
    static constexpr qint64 kChunkBytes = 1 << 20;

    enum class Status { Piece, End, Binary, ReadError };

    explicit TextPieces(QIODevice* device) : device_(device) {}

    // The next piece of text; Binary when the input holds a NUL byte, which text never does.
    Status Next(QString* piece);

private:
    QIODevice* device_;
    QStringDecoder decoder_{QStringDecoder::Utf8};
    QString carried_; // the text after the last white space read so far
    bool ended_ = false;
};
