#include "tools/EucJpDecoder.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_err.h>

void EucJpDecoder::Close::operator()(UConverter* converter) const {
    ucnv_close(converter);
}

EucJpDecoder::EucJpDecoder() {
    UErrorCode status = U_ZERO_ERROR;
    converter_.reset(ucnv_open("EUC-JP", &status));
    if (U_FAILURE(status)) {
        converter_.reset();
        return;
    }
    // Stop at the first byte that is not EUC-JP instead of substituting a replacement character.
    ucnv_setToUCallBack(converter_.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                        &status);
    if (U_FAILURE(status))
        converter_.reset();
}

EucJpDecoder::~EucJpDecoder() = default;

bool EucJpDecoder::Decode(QByteArrayView bytes, QString* text) {
    text->clear();
    if (!converter_)
        return false;
    if (bytes.isEmpty())
        return true;
    // EUC-JP never gives more UTF-16 units than it has bytes; one more keeps ICU from having to
    // report an unterminated result.
    text->resize(bytes.size() + 1);
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length =
        ucnv_toUChars(converter_.get(), reinterpret_cast<UChar*>(text->data()),
                      int32_t(text->size()), bytes.data(), int32_t(bytes.size()), &status);
    if (U_FAILURE(status)) {
        text->clear();
        return false;
    }
    text->resize(length);
    return true;
}
