#pragma once

#include "tools/FoldocLayout.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// A laid-out article body (FoldocLayout.h) as a description in our markup: paragraphs set off by
// half a line, lines of their own ended by CR LF, every backslash doubled, each reference a link
// "\J<id> text\j" when it leads to an entry and plain text otherwise, and each web link its words
// with the address in parentheses after them.
struct FoldocMarkup {
    // A reference of a "See also" paragraph that leads to an entry, as written there.
    struct Named {
        qint32 id = 0;
        QString word;
        bool operator==(const Named&) const = default;
    };
    QString hyperText;
    QList<Named> seeAlso;    // entries that the "See also" paragraphs name, in order
    int links = 0;           // references that became links
    int plainReferences = 0; // references left as text
    bool cut = false;        // the body was longer than the limit and ends in " ..."
};

// The entry a reference leads to, or 0.
using FoldocResolve = std::function<qint32(const FoldocPiece&)>;

// A reference to selfId stays text. The result is at most maxBytes long as the program counts a
// description (Strings::CodePageLength).
FoldocMarkup FoldocToHyperText(const QList<FoldocParagraph>& paragraphs,
                               const FoldocResolve& resolve, qint32 selfId, int maxBytes);

// The body lines laid out and converted; a reference leads where the first of its names that
// resolve returns an entry leads.
FoldocMarkup FoldocBodyToHyperText(const QStringList& bodyLines,
                                   const std::function<qint32(const QString&)>& resolve,
                                   qint32 selfId, int maxBytes);
