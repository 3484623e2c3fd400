#include "lookup/TextPieces.h"

#include <utility>

TextPieces::Status TextPieces::Next(QString* piece) {
    while (!ended_) {
        QByteArray bytes(kChunkBytes, Qt::Uninitialized);
        const qint64 n = device_->read(bytes.data(), kChunkBytes);
        if (n < 0) {
            ended_ = true;
            return Status::ReadError;
        }
        if (n == 0) {
            ended_ = true;
            break;
        }
        bytes.truncate(n);
        if (bytes.contains('\0'))
            return Status::Binary;
        QString text = carried_ + QString(decoder_.decode(bytes));
        qsizetype cut = text.size();
        while (cut > 0 && !text.at(cut - 1).isSpace())
            --cut;
        if (cut == 0) {
            if (text.size() < kChunkBytes) {
                carried_ = text;
                continue;
            }
            cut = text.size(); // a megabyte without white space is no word: taken whole
        }
        carried_ = text.mid(cut);
        *piece = text.left(cut);
        return Status::Piece;
    }
    if (carried_.isEmpty())
        return Status::End;
    *piece = std::exchange(carried_, QString());
    return Status::Piece;
}
