#pragma once

// The full-text index of one dictionary, a database of its own in the user's cache.
//
// Body holds, for every entry, its text as searched: the abbreviation, the spelled-out form, the
// description as drawn and the plain description (left out where it reads the same), folded and
// separated by line feeds. Its rows are numbered by `rank`, the place of the entry in the order
// the result list uses (abbreviation, then spelled-out form), so that walking the rows, or the
// index's answers, in rank order yields results already in listing order: the first 500 found
// are the 500 to show, and the search can stop there.
//
// Terms is an FTS5 index over Body with the trigram tokenizer. It keeps no copy of the text (Body
// is its content table), and the tokenizer does not fold case: the text is folded already. It
// records only which entries hold each trigram, not where (detail=none): that makes it a quarter
// of the size and builds in two thirds of the time, and a term of more than three characters is
// then looked up by its trigrams and confirmed in Body's text.
namespace IndexSchema {

// Raised whenever the layout or what goes into Body changes: older indexes are then rebuilt.
inline constexpr int kFormat = 2;

// Tuning of the build: leaves of the size of the database's pages. The pending index stays at
// FTS5's own 1 MB: a larger one is slower, not faster, because trigram keys collide in its hash
// table.
inline constexpr const char* kBuildSettings =
    "INSERT INTO Terms (Terms, rank) VALUES ('pgsz', 4000);";

inline constexpr const char* kCreateMeta =
    "CREATE TABLE Meta (name TEXT PRIMARY KEY NOT NULL, value) WITHOUT ROWID";
inline constexpr const char* kCreateBody =
    "CREATE TABLE Body (rank INTEGER PRIMARY KEY, entry INTEGER NOT NULL, text TEXT NOT NULL)";
inline constexpr const char* kCreateTerms =
    "CREATE VIRTUAL TABLE Terms USING fts5(text, content='Body', content_rowid='rank', "
    "tokenize='trigram case_sensitive 1', columnsize=0, detail=none)";

} // namespace IndexSchema
