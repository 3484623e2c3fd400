#pragma once

#include "data/EntryTerms.h"
#include "export/DescriptionRuns.h"
#include "export/SourceDictionary.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

// An entry made ready for writing in any format: its texts cleaned of control characters, its
// description read into runs, the entries its references and related words lead to named by
// their abbreviations.
struct ExportEntry {
    struct RelatedWord {
        QString word;
        QString target; // the abbreviation of the entry it leads to; empty when there is none
    };

    QString abbr;   // the headword
    QString key;    // its normal form (CDROM for CD-ROM)
    QString letter; // the spelled-out form
    QString label;  // the category's short name
    DescriptionRuns::Description description;
    bool hasDescription = false;
    EntryTerms::Terms terms;
    QHash<qint32, QString> linkTargets; // the abbreviation each reference leads to
    std::vector<RelatedWord> related;
    QString url;
    bool cleaned = false; // a control character was dropped from one of its texts

    // Prepares an entry read from `source`. The description is the part the entry view shows:
    // the stored markup cut where the program cuts it, or where there is none the plain text.
    static ExportEntry From(const SourceDictionary::Entry& entry, const SourceDictionary& source);

    // The further words that find the entry besides its abbreviation: the key normal form, the
    // spelled-out form and the Japanese terms with their readings, each once and never the
    // abbreviation itself.
    QStringList LookupWords() const;
};
