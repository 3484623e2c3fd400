#pragma once

#include "export/SourceDictionary.h"

#include <QString>
#include <QStringList>

// The sources and licences of what is exported, as far as the dictionary shows them: the acronym
// list's own lines, the web addresses of FOLDOC's articles, the notice entry on the Japanese word
// lists, or else the dictionary that comes with the program. The exported files repeat them, since
// whoever passes the files on passes their licences on with them.
class SourceNotices {
public:
    // programDictionary: the file is the dictionary installed with the program.
    explicit SourceNotices(bool programDictionary) : programDictionary_(programDictionary) {}

    // Looks at every entry read.
    void See(const SourceDictionary::Entry& entry);

    // One paragraph each: the acronym list, FOLDOC, the word lists' notice; the program's own
    // dictionary where none of them shows; else a sentence saying that none is recognised.
    QStringList Paragraphs() const;

private:
    bool programDictionary_;
    bool foldoc_ = false;
    int acronymListLines_ = 0;
    QStringList wordListNotice_; // the notice entry's lines as it shows them
};
