#pragma once

#include <QString>

namespace HyperText {

// The text a description shows once drawn: its characters without the markup codes, read the way
// RenderDescription reads them. A line feed, and the line breaks of \h and \F, become "\n"; other
// control characters, the codes and the separator after a link's entry number leave nothing; "\\"
// is one backslash; \f ends the text. Searching what the user reads needs exactly this text.
QString DrawnText(const QString& markup);

} // namespace HyperText
