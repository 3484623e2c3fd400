#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// The words by which other programs find an article: cleaned of what no index line can hold,
// and put in the forms and order that StarDict and dictd readers expect.
namespace HeadwordText {

// StarDict's limit: a headword or synonym is shorter than 256 bytes of UTF-8.
inline constexpr qsizetype kStarDictLongest = 255;

// White space of any kind becomes one ordinary space, runs of it one, none at either end; other
// control characters are dropped. *cleaned tells whether a control character was removed (a
// tab or line break is white space, not a fault).
QString Clean(const QString& word, bool* cleaned = nullptr);

// A character that no export carries: a control character other than tab, line feed and carriage
// return (NUL among them), DEL, or a C1 control.
bool IsStrayControl(char32_t c);

// The text without such characters; *cleaned tells whether there were any.
QString DropStrayControls(const QString& text, bool* cleaned);

// StarDict's order: ASCII letters compared without regard to case, then, between words equal in
// that way, plain byte order. Negative, zero or positive.
int StarDictCompare(QByteArrayView a, QByteArrayView b);

// The same word for StarDict's lookups, which ignore the case of ASCII letters.
bool StarDictSame(QByteArrayView a, QByteArrayView b);

// A headword as a dictd index line of a UTF-8 database with all characters searchable carries
// it: every character in lower case. dictd folds a query the same way and compares bytes.
QByteArray DictdHeadword(const QString& cleanWord);

// A number in dictd's base 64 (A-Z a-z 0-9 + /, most significant digit first; 0 is "A").
QByteArray DictdNumber(quint64 value);

} // namespace HeadwordText
