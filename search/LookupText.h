#pragma once

#include <QString>
#include <QStringView>

// The text another program hands over to be looked up (a selection, a word on the command line,
// a request of a later start): what may be acted on, and how much of it.
namespace LookupText {

// The most a text may hold, in bytes of UTF-8. A longer command-line text is refused; a longer
// selection is cut to its first this many bytes.
inline constexpr qsizetype kMostBytes = 64 * 1024;

enum class Problem {
    None,
    Empty,            // nothing at all
    OnlySpaces,       // white space only
    ControlCharacter, // NUL or another control character; tabs and line breaks are text
    LoneSurrogate,    // half of a character that needs two UTF-16 units
    TooLong,          // over kMostBytes
};

// What is wrong with the text, the first problem found.
Problem Check(QStringView text);

// The longest beginning of text that takes at most kMostBytes of UTF-8, never splitting a
// character, nor a word of Latin letters and digits (one of at most 64); *cut tells
// whether anything was dropped.
QString CutToLimit(const QString& text, bool* cut);

// One line in English for the command line's error (after "tessarine: ").
QString CommandLineMessage(Problem problem);
// One line in Japanese for the status bar.
QString StatusMessage(Problem problem);

// The text as a one-line query: line breaks and tabs become spaces, and the ends are trimmed.
QString OneLine(QStringView text);

} // namespace LookupText
