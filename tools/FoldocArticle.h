#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// One article of the computing encyclopaedia, as its text reads:
//
//   Transmission Control Protocol
//   TCP
//
//      <networking, protocol> (TCP) The most common {transport layer}
//      {protocol} used on {Ethernet} and the {Internet}.
//
// The lines before the first blank line are the names the article is filed under; the indented
// text below is its body, whose first paragraph starts with the subjects in angle brackets.
struct FoldocArticle {
    QStringList names;     // as written, in order
    QStringList bodyLines; // indentation kept; no leading or trailing blank lines
    QString subject;       // the first subject, in lower case; empty when there is none
};

FoldocArticle ParseFoldocArticle(const QString& text);

// An abbreviation among an article's names together with the name it abbreviates
// ("TCP" and "Transmission Control Protocol").
struct FoldocAcronym {
    QString abbr;
    QString expansion;
};

// The best such pair: an abbreviation made of the expansion's initials wins over one whose
// letters merely occur in the expansion in order; nothing when the names hold no pair.
std::optional<FoldocAcronym> AcronymOf(const QStringList& names);
