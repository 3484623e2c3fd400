#include "export/HeadwordText.h"

#include <QList>

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
    for (const char32_t c : word.toUcs4()) {
        if (QChar::isSpace(c)) {
            pendingSpace = !out.isEmpty();
            continue;
        }
        if (IsStrayControl(c)) {
            dropped = true;
            continue;
        }
        if (pendingSpace)
            out += QLatin1Char(' ');
        pendingSpace = false;
        out += QString::fromUcs4(&c, 1);
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
    QList<uint> lower = cleanWord.toUcs4();
    for (uint& c : lower)
        c = QChar::toLower(c);
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(lower.constData()), lower.size())
        .toUtf8();
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
