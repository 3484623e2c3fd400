#pragma once

#include <QString>

// String routines of the dictionary searches.
namespace Strings {

// Match kinds of a search text; the values are those the search code has always used.
enum class SearchMatch { None = 0, Exact = 1, Prefix = 2, Pattern = 4 };

// Removes leading and trailing ordinary spaces (U+0020) only; full-width spaces stay.
QString TrimSpaces(const QString& text);

// Full-width ASCII letters, digits and symbols (U+FF01 to U+FF5E) and the ideographic space as
// their narrow forms: what a Japanese input method types is searched for as what it shows.
QString FoldWidth(const QString& text);

// The normal form of an abbreviation: letters upper-cased, digits and the wildcards "*" and "?"
// kept, everything else (spaces, punctuation, full-width and Japanese characters) dropped.
QString NormalizeKey(const QString& text);

// Trims ordinary spaces and doubles every apostrophe, for use inside a SQL string literal.
QString EscapeQuotes(const QString& text);

SearchMatch MatchKind(const QString& text);

// The singular of a plural or possessive abbreviation (CPUs, CPU's, LANs), or an empty string for
// any other word. Only a small "s" after a capital or a digit makes a plural: ABS is not the
// plural of AB, nor Macs of MAC.
QString Singular(QStringView word);

// The bytes a text takes in the dictionary's original code page (Shift-JIS), as the program
// counts a description: one for ASCII and half-width katakana, two for every other character
// of the basic plane, four for a character outside it.
int CodePageLength(QStringView text);

// The first maxBytes of text as counted above, never splitting a character.
QString CutToCodePageBytes(const QString& text, int maxBytes);

} // namespace Strings
