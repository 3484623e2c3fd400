#pragma once

#include <QString>
#include <vector>

// A description's markup read as the entry view reads it, as pieces of text that share one style
// and one link, and the breaks between lines. The formats other programs read are written from
// these pieces, so that no markup code can leak into them.
namespace DescriptionRuns {

struct Run {
    enum class Kind { Text, LineBreak };
    Kind kind = Kind::Text;
    QString text;
    bool bold = false;
    bool italic = false;
    bool underline = false; // set by \U; a link's own underline is its link
    qint32 link = 0;        // the entry a reference leads to; 0 outside one
};

struct Description {
    std::vector<Run> runs;
    // The text held control characters (NUL, say) that were dropped; tabs and carriage returns,
    // which descriptions use in their line ends, do not count.
    bool cleaned = false;
};

// Reads `markup`: a line feed, \h and \F end a line; other control characters, unknown codes and
// the separator after a link's entry number leave nothing; "\\" is one backslash; \f ends the
// description. Adjacent pieces of the same style and link are one run.
Description Read(const QString& markup);

} // namespace DescriptionRuns
