#include "data/Strings.h"

namespace Strings {

QString TrimSpaces(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == QLatin1Char(' '))
        ++first;
    while (last > first && text.at(last - 1) == QLatin1Char(' '))
        --last;
    return text.mid(first, last - first);
}

QString FoldWidth(const QString& text) {
    QString folded = text;
    for (QChar& c : folded) {
        const char16_t u = c.unicode();
        if (u >= 0xFF01 && u <= 0xFF5E)
            c = QChar(char16_t(u - 0xFEE0));
        else if (u == 0x3000)
            c = QLatin1Char(' ');
    }
    return folded;
}

QString NormalizeKey(const QString& text) {
    const QString trimmed = TrimSpaces(text);
    QString key;
    key.reserve(trimmed.size());
    for (const QChar c : trimmed) {
        const char16_t u = c.unicode();
        if (u >= u'a' && u <= u'z')
            key += QChar(u - u'a' + u'A');
        else if ((u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9') || u == u'*' || u == u'?')
            key += c;
    }
    return key;
}

QString EscapeQuotes(const QString& text) {
    QString escaped = TrimSpaces(text);
    escaped.replace(QLatin1Char('\''), QLatin1String("''"));
    return escaped;
}

SearchMatch MatchKind(const QString& text) {
    if (text.isEmpty())
        return SearchMatch::None;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('?'))
            return SearchMatch::Pattern;
        if (c == QLatin1Char('*')) {
            if (text.size() == 1)
                return SearchMatch::Pattern;
            return i == text.size() - 1 ? SearchMatch::Prefix : SearchMatch::Pattern;
        }
    }
    return SearchMatch::Exact;
}

QString Singular(QStringView word) {
    if (word.size() > 2 && word.endsWith(u"'s"))
        return word.chopped(2).toString();
    if (word.size() > 2 && word.back() == u's') {
        const char16_t before = word[word.size() - 2].unicode();
        if ((before >= u'A' && before <= u'Z') || (before >= u'0' && before <= u'9'))
            return word.chopped(1).toString();
    }
    return {};
}

namespace {

// The width of the character at i (a surrogate pair counts as one), and how many units it takes.
int CodePageWidth(QStringView text, qsizetype i, qsizetype* units) {
    const char16_t u = text.at(i).unicode();
    const bool pair = QChar::isHighSurrogate(u) && i + 1 < text.size() &&
                      QChar::isLowSurrogate(text.at(i + 1).unicode());
    *units = pair ? 2 : 1;
    return pair ? 4 : (u < 0x80 || (u >= 0xFF61 && u <= 0xFF9F)) ? 1 : 2;
}

} // namespace

int CodePageLength(QStringView text) {
    int bytes = 0;
    qsizetype units = 0;
    for (qsizetype i = 0; i < text.size(); i += units)
        bytes += CodePageWidth(text, i, &units);
    return bytes;
}

QString CutToCodePageBytes(const QString& text, int maxBytes) {
    int bytes = 0;
    qsizetype i = 0;
    qsizetype units = 0;
    while (i < text.size()) {
        const int width = CodePageWidth(text, i, &units);
        if (bytes + width > maxBytes)
            break;
        bytes += width;
        i += units;
    }
    return text.left(i);
}

} // namespace Strings
