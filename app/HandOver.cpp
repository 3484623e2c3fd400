#include "app/HandOver.h"

#include "search/LookupText.h"

#include <QList>
#include <QUrl>

namespace HandOver {
namespace {

constexpr const char* kLookupWord = "lookup";
constexpr const char* kTextFlag = "text";
constexpr const char* kCutFlag = "cut";
constexpr const char* kSelectionFlag = "selection";
constexpr const char* kNoToken = "-";

} // namespace

QByteArray Encode(const LookupRequest& request) {
    const QByteArray text = request.readSelection ? QByteArray() : request.text.toUtf8();
    const char* flag = request.readSelection ? kSelectionFlag : request.cut ? kCutFlag : kTextFlag;
    // The token goes percent-encoded ("-" too, which stands for none), and only when it keeps the
    // line within its limit.
    QByteArray token = QUrl::toPercentEncoding(request.activationToken, {}, kNoToken);
    if (token.isEmpty() || token.size() > kLongestToken)
        token = kNoToken;
    return QByteArray(kLookupWord) + ' ' + QByteArray::number(text.size()) + ' ' + flag + ' ' +
           token + '\n' + text;
}

RequestReader::State RequestReader::ReadLine() {
    // However the bytes come in, a line over the limit is refused.
    const qsizetype end = buffer_.indexOf('\n');
    if ((end < 0 ? buffer_.size() : end + 1) > kLongestLine)
        return State::Bad;
    if (end < 0)
        return State::Incomplete;
    const QByteArray line = buffer_.left(end + 1);
    buffer_.remove(0, end + 1);
    if (line == kActivateRequest)
        return State::Activate;
    if (line == kStatusRequest)
        return State::Status;
    const QList<QByteArray> words = line.trimmed().split(' ');
    if (words.size() != 4 || words[0] != kLookupWord)
        return State::Bad;
    bool number = false;
    const qsizetype length = words[1].toLongLong(&number);
    // The start never sends more than the limit: a longer text is not a copy of this program.
    if (!number || length < 0 || length > LookupText::kMostBytes)
        return State::Bad;
    if (words[2] == kSelectionFlag)
        lookup_.readSelection = true;
    else if (words[2] == kCutFlag)
        lookup_.cut = true;
    else if (words[2] != kTextFlag)
        return State::Bad;
    if (lookup_.readSelection && length != 0)
        return State::Bad;
    if (words[3] != kNoToken)
        lookup_.activationToken = QUrl::fromPercentEncoding(words[3]);
    bodyLength_ = length;
    return State::Incomplete;
}

RequestReader::State RequestReader::Feed(const QByteArray& bytes) {
    if (state_ != State::Incomplete)
        return state_;
    buffer_ += bytes;
    if (bodyLength_ < 0) {
        state_ = ReadLine();
        if (state_ != State::Incomplete || bodyLength_ < 0)
            return state_;
    }
    if (buffer_.size() < bodyLength_)
        return state_;
    lookup_.text = QString::fromUtf8(buffer_.left(bodyLength_));
    buffer_.clear();
    state_ = State::Lookup;
    return state_;
}

} // namespace HandOver
