#pragma once

#include "lookup/LookupDictionary.h"
#include "lookup/LookupOptions.h"
#include "lookup/LookupOutput.h"
#include "search/TextAbbreviations.h"

// Prints what a search found in the format asked for.
namespace ResultPrinter {

// The results of a search, as the result list holds them: "Abbr TAB Letter" with the entry's
// identifier. Prints each entry's copy text and related words (Entries), the result lines and
// their count on stderr (List), or one JSON array of the entries (Json).
void PrintResults(const QList<StoringSink::Item>& results, LookupOptions::Format format,
                  const LookupDictionary::Opened& dictionary, LookupOutput& out);

// The abbreviations found in running text, one line each: the word as written, TAB,
// abbreviation, TAB, spelled-out form, TAB, Japanese term.
void PrintFoundLines(const QList<TextAbbreviations::Found>& found, LookupOutput& out);
// The same as one JSON array.
void PrintFoundJson(const QList<TextAbbreviations::Found>& found, LookupOutput& out);

} // namespace ResultPrinter
