#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <functional>

// The body of an encyclopaedia article as a description in our markup: paragraphs end in CR LF,
// the wrapped lines of a paragraph are joined (the program wraps them to its own width), lines
// indented further than the text (examples, tables) stay lines of their own, every backslash is
// doubled, and each {reference} becomes a link "\J<id> text\j" when it names an entry and plain
// text otherwise. A reference with an address, "{text (http://...)}", shows its text.
struct FoldocMarkup {
    // A reference of a "See also" paragraph that names an entry, as written there.
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

// resolve returns the entry a reference names, or 0. A reference to selfId stays text. The
// result is at most maxBytes long as the program counts a description
// (Strings::CodePageLength).
FoldocMarkup FoldocBodyToHyperText(const QStringList& bodyLines,
                                   const std::function<qint32(const QString&)>& resolve,
                                   qint32 selfId, int maxBytes);
