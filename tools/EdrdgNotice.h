#pragma once

#include <QString>

// The entry that names the source and licence of the Japanese terms: the word lists of the
// Electronic Dictionary Research and Development Group, which their licence asks every program
// that uses them to acknowledge. The same notice stands in packaging/copyright.
namespace EdrdgNotice {

constexpr const char* kAbbr = "EDRDG";
constexpr const char* kExpansion = "Electronic Dictionary Research and Development Group";
// The Group's licence statement, opened as the entry's web page.
constexpr const char* kUrl = "https://www.edrdg.org/edrdg/licence.html";

// The description, in the program's markup.
QString HyperText();

} // namespace EdrdgNotice
