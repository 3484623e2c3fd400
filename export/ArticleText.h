#pragma once

#include "export/ExportEntry.h"

#include <QByteArray>

// The article of one entry as a dictd database holds it, plain text as dictfmt writes it: the
// headword on the first line, then the spelled-out form with its category, the description with
// its references in {braces} as FOLDOC marks them (which DICT clients follow), the related words
// in a "See also" line, and the web address. Every line but the headword is indented.
namespace ArticleText {

QByteArray Article(const ExportEntry& entry);

} // namespace ArticleText
