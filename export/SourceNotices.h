#pragma once

#include "export/SourceDictionary.h"

#include <QString>
#include <QStringList>

// The sources and licences of what is exported, as far as the dictionary shows them: the notice
// entry on the Japanese word lists, the web addresses of FOLDOC's articles, the acronym list's
// own lines, or the dictionary that comes with the program. The exported files repeat them, since
// whoever passes the files on passes their licences on with them.
class SourceNotices {
public:
    // programDictionary: the file is the dictionary installed with the program.
    explicit SourceNotices(bool programDictionary) : programDictionary_(programDictionary) {}

    // Looks at every entry read.
    void See(const SourceDictionary::Entry& entry);

    // One paragraph each, in the order above; a sentence saying that the dictionary names no
    // source where none is recognised.
    QStringList Paragraphs() const;

private:
    bool programDictionary_;
    bool foldoc_ = false;
    int acronymListLines_ = 0;
    QStringList wordListNotice_; // the notice entry's lines as it shows them
};
