#include "search/LookupText.h"

namespace LookupText {
namespace {

// Tabs and line breaks belong to a paragraph copied from a page or a terminal.
bool IsTextControl(char16_t c) {
    return c == u'\t' || c == u'\n' || c == u'\r';
}

bool IsControl(char16_t c) {
    return (c < 0x20 && !IsTextControl(c)) || (c >= 0x7F && c <= 0x9F);
}

qsizetype Utf8Length(char32_t c) {
    return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
}

// A letter or digit of the words abbreviations are written in, narrow or full-width.
bool IsWordLetter(QChar c) {
    const char16_t u = c.unicode();
    const char16_t narrow = u >= 0xFF01 && u <= 0xFF5E ? char16_t(u - 0xFEE0) : u;
    return (narrow >= u'0' && narrow <= u'9') || (narrow >= u'A' && narrow <= u'Z') ||
           (narrow >= u'a' && narrow <= u'z');
}

// Where a cut at `end` keeps no half word: the start of the word it would split ("the GPU" cut
// after "the GP" would look up GP). A run of letters longer than any word is no word: it is cut
// where it stands rather than dropped.
qsizetype WordBoundaryBefore(const QString& text, qsizetype end) {
    constexpr qsizetype kLongestWord = 64;
    if (end <= 0 || end >= text.size() || !IsWordLetter(text[end]))
        return end;
    qsizetype start = end;
    while (start > 0 && end - start <= kLongestWord && IsWordLetter(text[start - 1]))
        --start;
    return start > 0 && end - start <= kLongestWord ? start : end;
}

} // namespace

Problem Check(QStringView text) {
    if (text.isEmpty())
        return Problem::Empty;
    bool onlySpaces = true;
    qsizetype bytes = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (IsControl(c.unicode()))
            return Problem::ControlCharacter;
        char32_t code = c.unicode();
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            code = QChar::surrogateToUcs4(c, text[i + 1]);
            ++i;
        } else if (c.isSurrogate()) {
            return Problem::LoneSurrogate;
        }
        onlySpaces = onlySpaces && QChar::isSpace(code);
        bytes += Utf8Length(code);
    }
    if (onlySpaces)
        return Problem::OnlySpaces;
    return bytes > kMostBytes ? Problem::TooLong : Problem::None;
}

QString CutToLimit(const QString& text, bool* cut) {
    // No character takes more than three bytes per UTF-16 unit: a short text cannot be too long.
    *cut = false;
    if (text.size() * 3 <= kMostBytes)
        return text;
    qsizetype bytes = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool pair =
            text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        const qsizetype length =
            pair ? 4 : Utf8Length(text[i].isSurrogate() ? 0xFFFD : text[i].unicode());
        if (bytes + length > kMostBytes) {
            *cut = true;
            return text.left(WordBoundaryBefore(text, i));
        }
        bytes += length;
        i += pair ? 1 : 0;
    }
    return text;
}

QString CommandLineMessage(Problem problem) {
    switch (problem) {
    case Problem::None:
        return {};
    case Problem::Empty:
        return QStringLiteral("the text to look up is empty");
    case Problem::OnlySpaces:
        return QStringLiteral("the text to look up holds only white space");
    case Problem::ControlCharacter:
        return QStringLiteral("the text to look up holds a control character");
    case Problem::LoneSurrogate:
        return QStringLiteral("the text to look up is not valid Unicode");
    case Problem::TooLong:
        return QStringLiteral("the text to look up is longer than %1 bytes").arg(kMostBytes);
    }
    return {};
}

QString StatusMessage(Problem problem) {
    switch (problem) {
    case Problem::None:
        return {};
    case Problem::Empty:
        return QStringLiteral("引く語がありません（選択範囲もクリップボードも空です）");
    case Problem::OnlySpaces:
        return QStringLiteral("引く語がありません（空白だけです）");
    case Problem::ControlCharacter:
        return QStringLiteral("制御文字を含むテキストは引けません");
    case Problem::LoneSurrogate:
        return QStringLiteral("壊れた文字を含むテキストは引けません");
    case Problem::TooLong:
        return QStringLiteral("テキストが長すぎるため引けません（%1 KiB まで）")
            .arg(kMostBytes / 1024);
    }
    return {};
}

QString OneLine(QStringView text) {
    QString line = text.toString();
    for (QChar& c : line) {
        if (IsTextControl(c.unicode()))
            c = u' ';
    }
    return line.trimmed();
}

} // namespace LookupText
