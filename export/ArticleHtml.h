#pragma once

#include "export/ExportEntry.h"

#include <QByteArray>
#include <QString>
#include <vector>

// The article a StarDict reader shows for one headword, in HTML: every sense of the abbreviation
// (the entries that share it), each with its spelled-out form and category, its description with
// bold, italic and underline, references and related words as bword:// links, which GoldenDict
// and KOReader follow, and its web address.
namespace ArticleHtml {

// Text with &, <, > and " written as character references.
QString Escaped(const QString& text);

QByteArray Article(const std::vector<ExportEntry>& senses);

} // namespace ArticleHtml
