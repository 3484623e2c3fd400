#pragma once

#include "lookup/LookupDictionary.h"
#include "lookup/LookupOptions.h"
#include "lookup/LookupOutput.h"

// What tessarine-lookup does once its dictionary is open. Each returns the exit status.
namespace LookupCommands {

// Runs the mode the options ask for.
int Run(const LookupOptions::Options& options, const LookupDictionary::Opened& dictionary,
        LookupOutput& out);

// The search of the window's search fields: KEY, LETTER and the category.
int Search(const LookupOptions::Options& options, const LookupDictionary::Opened& dictionary,
           LookupOutput& out);

// The full-text search, with the window's index in the user's cache (built first if need be).
int FullText(const LookupOptions::Options& options, const LookupDictionary::Opened& dictionary,
             LookupOutput& out);

// The abbreviations in the text of the files, or of the standard input.
int Annotate(const LookupOptions::Options& options, const DbAccess::Dictionary& db,
             LookupOutput& out);

// A message on stderr, after the program's name.
void Complain(const QString& text);

} // namespace LookupCommands
