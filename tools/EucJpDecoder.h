#pragma once

#include <QByteArrayView>
#include <QString>
#include <memory>

struct UConverter;

// Decodes EUC-JP text (JIS X 0208 and 0212, half-width katakana) through ICU. A byte sequence
// that is not EUC-JP is refused rather than replaced, so that a damaged line can be left out
// instead of showing as garbage.
class EucJpDecoder {
public:
    EucJpDecoder();
    ~EucJpDecoder();
    EucJpDecoder(const EucJpDecoder&) = delete;
    EucJpDecoder& operator=(const EucJpDecoder&) = delete;

    // False when ICU has no EUC-JP converter.
    bool Ok() const { return converter_ != nullptr; }
    // False, with *text empty, when bytes are not EUC-JP.
    bool Decode(QByteArrayView bytes, QString* text);

private:
    struct Close {
        void operator()(UConverter* converter) const;
    };
    std::unique_ptr<UConverter, Close> converter_;
};
