#pragma once

#include <sqlite3.h>

// The tables of our dictionary format. Text columns carry the dictionary's collation; the
// indexes serve the exact and prefix searches, the id lookups, the related words of an entry
// and the order in which results are listed.
namespace Schema {

inline constexpr const char* kCreateTables = R"sql(
CREATE TABLE CategoryTB (
    CategoryID INTEGER PRIMARY KEY,
    Category   TEXT NOT NULL COLLATE JAPANESE_CI,
    ShortName  TEXT NOT NULL DEFAULT '' COLLATE JAPANESE_CI
);
CREATE TABLE AbbrTB (
    AbbrID      INTEGER PRIMARY KEY,
    AbbrKey     TEXT COLLATE JAPANESE_CI,
    Abbr        TEXT NOT NULL COLLATE JAPANESE_CI,
    Letter      TEXT COLLATE JAPANESE_CI,
    CategoryID  INTEGER,
    HyperText   TEXT,
    Description TEXT,
    URL         TEXT
);
CREATE TABLE LinkTB (
    AbbrID INTEGER NOT NULL,
    Word   TEXT NOT NULL COLLATE JAPANESE_CI,
    RefID  INTEGER NOT NULL
);
)sql";

// Created after the rows are in, which is much faster for large dictionaries. The result list
// reads only AbbrID, Abbr and Letter, so each search index also carries those (AbbrID is the
// row id, part of every index): a search is answered from an index alone, and only the listing
// order needs sorting. The listing index also carries the key and the category, so that
// pattern and category searches walk it in result order without reading a single entry.
inline constexpr const char* kCreateIndexes = R"sql(
CREATE INDEX CategoryTB_Category ON CategoryTB (Category);
CREATE INDEX AbbrTB_AbbrKey ON AbbrTB (AbbrKey, Abbr, Letter);
CREATE INDEX AbbrTB_Letter ON AbbrTB (Letter, Abbr);
CREATE INDEX AbbrTB_Listing ON AbbrTB (Abbr, Letter, AbbrKey, CategoryID);
CREATE INDEX LinkTB_AbbrID ON LinkTB (AbbrID, Word);
)sql";

} // namespace Schema
