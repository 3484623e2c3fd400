// What a later start hands over to the running copy: any bytes a foreign program can write to its
// socket, in any pieces. The first byte of the input says how many bytes each piece has.
//
// However the bytes come, the reader settles once and stays settled, never holds more text than
// the limit, never asks a selection to be read with a text, and a request it read is read again
// the same from the bytes the program itself writes for it.

#include "FuzzCheck.h"
#include "app/HandOver.h"
#include "search/LookupText.h"

#include <QUrl>

namespace {

using HandOver::LookupRequest;
using State = HandOver::RequestReader::State;

HandOver::RequestReader Read(const QByteArray& bytes, qsizetype piece) {
    HandOver::RequestReader reader;
    State settled = State::Incomplete;
    for (qsizetype at = 0; at < bytes.size(); at += piece) {
        const State now = reader.Feed(bytes.mid(at, piece));
        FUZZ_CHECK(settled == State::Incomplete || now == settled);
        settled = now;
    }
    return reader;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    const qsizetype piece = qsizetype(data[0] % 64) + 1;
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    const HandOver::RequestReader reader = Read(bytes, piece);
    // The pieces do not matter.
    FUZZ_CHECK(Read(bytes, bytes.size() + 1).Current() == reader.Current());
    if (reader.Current() != State::Lookup)
        return 0;

    const LookupRequest& request = reader.Lookup();
    FUZZ_CHECK(request.text.toUtf8().size() <= 3 * LookupText::kMostBytes);
    FUZZ_CHECK(!request.readSelection || request.text.isEmpty());
    FUZZ_CHECK(!(request.readSelection && request.cut));
    LookupRequest sent = request;
    if (QUrl::toPercentEncoding(sent.activationToken, {}, "-").size() > HandOver::kLongestToken)
        sent.activationToken.clear(); // a token too long to be one is not sent
    // A text that is not valid UTF-8 arrives with replacement characters, which may take more
    // bytes than the limit; the program never sends such a text.
    if (sent.text.toUtf8().size() > LookupText::kMostBytes)
        return 0;
    const HandOver::RequestReader again = Read(HandOver::Encode(sent), piece);
    FUZZ_CHECK(again.Current() == State::Lookup);
    FUZZ_CHECK(again.Lookup() == sent);
    return 0;
}
