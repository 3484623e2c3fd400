#pragma once

#include "fulltext/DictionaryRows.h"

#include <QString>
#include <string>

// The text of an entry that the full-text search looks at.
namespace EntryText {

// The description as the entry view draws it: the part of HyperText that is read, without its
// markup codes.
QString DrawnDescription(const QString& hyperText);

// What the index keeps of an entry: abbreviation, spelled-out form, the drawn description and
// the plain description, folded, each on its own line, and an empty line at the end. The plain
// description is left out where it folds to the same text as the drawn one, which it mostly does.
std::string IndexText(const DictionaryRows::Entry& entry);

} // namespace EntryText
