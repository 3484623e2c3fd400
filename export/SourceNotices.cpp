#include "export/SourceNotices.h"

#include "entryview/DrawnText.h"
#include "tools/EdrdgNotice.h"

namespace {

// Entries that the dictionary builder made from a V.E.R.A. record without a FOLDOC article
// show the record's own line: the expansion, then the acronyms it names in parentheses. A few
// such lines could be chance; the acronym list gives thousands.
constexpr int kAcronymListLines = 10;

bool IsAcronymListLine(const SourceDictionary::Entry& entry) {
    return entry.url.isEmpty() && !entry.letter.isEmpty() &&
           entry.hyperText.startsWith(entry.letter + QLatin1String(" ("));
}

} // namespace

void SourceNotices::See(const SourceDictionary::Entry& entry) {
    if (entry.url.startsWith(QLatin1String("https://foldoc.org/")))
        foldoc_ = true;
    if (acronymListLines_ < kAcronymListLines && IsAcronymListLine(entry))
        ++acronymListLines_;
    if (wordListNotice_.isEmpty() && entry.abbr == QLatin1String(EdrdgNotice::kAbbr) &&
        entry.letter == QLatin1String(EdrdgNotice::kExpansion)) {
        for (const QString& line : HyperText::DrawnText(entry.hyperText).split(QLatin1Char('\n'))) {
            if (!line.trimmed().isEmpty())
                wordListNotice_ << line.trimmed();
        }
    }
}

QStringList SourceNotices::Paragraphs() const {
    QStringList paragraphs;
    if (acronymListLines_ >= kAcronymListLines)
        paragraphs << QStringLiteral(
            "Acronyms and their expansions: V.E.R.A. -- Virtual Entity of Relevant Acronyms, "
            "Copyright 1993-2020 Oliver Heidelbach, https://ftp.gnu.org/gnu/vera/; GNU Free "
            "Documentation License, version 1.1 or later, no Invariant Sections, no Front-Cover "
            "Texts and no Back-Cover Texts.");
    if (foldoc_)
        paragraphs << QStringLiteral(
            "Articles: The Free On-line Dictionary of Computing, https://foldoc.org/, Editor "
            "Denis Howe; GNU Free Documentation License, version 1.1 or later, no Invariant "
            "Sections, no Front- or Back-Cover Texts.");
    if (!wordListNotice_.isEmpty())
        paragraphs << wordListNotice_.join(QLatin1Char('\n'));
    // The installed dictionary may also be one built from the sources above on the user's
    // machine; only where none of them shows is it the one that comes with the program.
    if (paragraphs.isEmpty() && programDictionary_)
        paragraphs << QStringLiteral("The dictionary that comes with Tessarine 2000. Copyright (C) "
                                     "1998-2000 Corvantis Software Co., Ltd. All rights reserved.");
    if (paragraphs.isEmpty())
        paragraphs << QStringLiteral("The dictionary names no source; its contents are under the "
                                     "terms of whoever published it.");
    return paragraphs;
}
