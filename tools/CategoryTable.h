#pragma once

#include <QString>
#include <QStringList>

// The categories of a dictionary built from the dictd databases, with the subjects and tags of
// the sources that lead to each. The last category is the general one, with no short name.
namespace CategoryTable {

struct Category {
    const char* shortName;
    const char* name; // shown in the category list
};

int Count();
const Category& At(int index);
int GeneralIndex();
int SlangIndex();
// The encyclopaedia's articles that are entries of their own, not abbreviations.
int TermIndex();

// The category of a subject written in the encyclopaedia's angle brackets ("networking"), or -1.
int ForSubject(const QString& subject);
// The category of one of the acronym list's parenthesised tags ("org.", "CPU", "RFC 791"), or -1.
int ForTag(const QString& tag);
// The first of the tags that leads to a category, or -1.
int ForTags(const QStringList& tags);

} // namespace CategoryTable
