#include "export/HeadwordText.h"

namespace HeadwordText {
namespace {

int AsciiLower(uchar c) {
    return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
}

} // namespace

QString Clean(const QString& word, bool* cleaned) {
    QString out;
    out.reserve(word.size());
    bool pendingSpace = false;
    bool dropped = false;
    // Surrogates are neither white space nor controls: a pair passes unit by unit.
    for (const QChar c : word) {
        if (c.isSpace()) {
            pendingSpace = !out.isEmpty();
            continue;
        }
        if (IsStrayControl(c.unicode())) {
            dropped = true;
            continue;
        }
        if (pendingSpace)
            out += QLatin1Char(' ');
        pendingSpace = false;
        out += c;
    }
    if (cleaned)
        *cleaned = dropped;
    return out;
}

bool IsStrayControl(char32_t c) {
    return (c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') || c == 0x7F ||
           (c >= 0x80 && c < 0xA0);
}

QString DropStrayControls(const QString& text, bool* cleaned) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (IsStrayControl(c.unicode()))
            *cleaned = true;
        else
            out += c;
    }
    return out;
}

int StarDictCompare(QByteArrayView a, QByteArrayView b) {
    const qsizetype n = qMin(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const int d = AsciiLower(uchar(a[i])) - AsciiLower(uchar(b[i]));
        if (d != 0)
            return d;
    }
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    for (qsizetype i = 0; i < n; ++i) {
        const int d = int(uchar(a[i])) - int(uchar(b[i]));
        if (d != 0)
            return d;
    }
    return 0;
}

bool StarDictSame(QByteArrayView a, QByteArrayView b) {
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (AsciiLower(uchar(a[i])) != AsciiLower(uchar(b[i])))
            return false;
    }
    return true;
}

QByteArray DictdHeadword(const QString& cleanWord) {
    // Each character by its simple lower case, as towlower gives it; never one that grows.
    QString lower(cleanWord.size(), Qt::Uninitialized);
    QChar* out = lower.data();
    const qsizetype n = cleanWord.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = cleanWord[i];
        if (c.isHighSurrogate() && i + 1 < n && cleanWord[i + 1].isLowSurrogate()) {
            const char32_t folded = QChar::toLower(QChar::surrogateToUcs4(c, cleanWord[i + 1]));
            *out++ = QChar(QChar::highSurrogate(folded));
            *out++ = QChar(QChar::lowSurrogate(folded));
            ++i;
        } else {
            *out++ = c.toLower();
        }
    }
    return lower.toUtf8();
}

QByteArray DictdNumber(quint64 value) {
    static constexpr char kDigits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    char buffer[12];
    int at = int(sizeof buffer);
    do {
        buffer[--at] = kDigits[value % 64];
        value /= 64;
    } while (value > 0);
    return QByteArray(buffer + at, int(sizeof buffer) - at);
}

} // namespace HeadwordText
