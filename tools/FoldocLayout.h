#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// An article body of the computing encyclopaedia, laid out for a description. The source wraps
// its text at about 65 columns and indents it by three spaces; here each paragraph (text between
// blank lines) is one line, its indentation dropped. Lines indented further than the text
// (program text, tables, verse) stay lines of their own, without their indentation, unless they
// are a wrapped quotation, which is joined like the text.
//
// The source's braces become pieces: "{term}" a reference to the article on the term,
// "{shown (term)}" a reference shown as written before the parenthesis, "{words (address)}" and
// "{(address)}" web links. Braces that hold a formula ("{x | x > 0}") stay as written.
struct FoldocPiece {
    enum class Kind { Text, Reference, WebLink, LineBreak };
    Kind kind = Kind::Text;
    // Text: the text. Reference: what the description shows. WebLink: its words, which may be
    // empty.
    QString text;
    // Reference: the names to look the article up by, best first. WebLink: the address in full.
    QStringList names;
    QString address;
};

struct FoldocParagraph {
    QList<FoldocPiece> pieces;
    // "See also {x}, {y}.": the references name the article's related words.
    bool seeAlso = false;
};

QList<FoldocParagraph> LayOutFoldocBody(const QStringList& bodyLines);

// An article on an abbreviation that lists its senses ("1. {Asynchronous Transfer Mode}.
// 2. Automatic Teller Machine."): a reference to it names none of them in particular.
bool IsSenseList(const QList<FoldocParagraph>& paragraphs);

// What a reader sees of the laid-out body, paragraphs separated by line ends.
QString FoldocPlainText(const QList<FoldocParagraph>& paragraphs);
