#pragma once

#include <QString>
#include <sqlite3.h>

// The text comparison of the dictionary: case-insensitive, and the half-width katakana "ﾝ"
// (U+FF9D) sorts after every other character, so that a range from "X" to "Xﾝ" holds every
// text that begins with "X". Text columns of the dictionary are declared with this collation.
namespace TextCollation {

inline constexpr const char* kName = "JAPANESE_CI";

// Negative, zero or positive like strcmp, over UTF-8 texts.
int Compare(const char* a, int aLength, const char* b, int bLength);
int Compare(const QString& a, const QString& b);

// Registers the collation and the dictionary's "like" (its wildcards are "*", "?", "#",
// "[list]" and "[!list]") on a connection. Returns an SQLite result code.
int Register(sqlite3* db);

} // namespace TextCollation
