#include "tools/FoldocLayout.h"
#include "QStringPrinter.h"

#include <gtest/gtest.h>

namespace {

// The pieces in a compact form: [shown|names] for a reference, <words|address> for a web link,
// " / " for a line of its own, paragraphs between "¶".
QString Shape(const QList<FoldocParagraph>& paragraphs) {
    QStringList out;
    for (const FoldocParagraph& p : paragraphs) {
        QString text = p.seeAlso ? QStringLiteral("(see) ") : QString();
        for (const FoldocPiece& piece : p.pieces) {
            switch (piece.kind) {
            case FoldocPiece::Kind::Text:
                text += piece.text;
                break;
            case FoldocPiece::Kind::Reference:
                text += u'[' + piece.text + u'|' + piece.names.join(u',') + u']';
                break;
            case FoldocPiece::Kind::WebLink:
                text += u'<' + piece.text + u'|' + piece.address + u'>';
                break;
            case FoldocPiece::Kind::LineBreak:
                text += QStringLiteral(" / ");
                break;
            }
        }
        out << text;
    }
    return out.join(QStringLiteral(" ¶ "));
}

QString LaidOut(const QStringList& lines) {
    return Shape(LayOutFoldocBody(lines));
}

TEST(FoldocLayoutTest, WrappedLinesJoinAndBlankLinesSeparateParagraphs) {
    EXPECT_EQ(LaidOut({QStringLiteral("   <web> (WWW) A {client-server}"),
                       QStringLiteral("   {hypertext} system."), QString(),
                       QStringLiteral("   {This dictionary} is on the Web at"),
                       QStringLiteral("{(http://foldoc.org/)}."), QStringLiteral("   "),
                       QStringLiteral("   See also {HTTP}.")}),
              QStringLiteral("<web> (WWW) A [client-server|client-server] [hypertext|hypertext] "
                             "system. ¶ [This dictionary|This dictionary] is on the Web at "
                             "<|http://foldoc.org/>. ¶ (see) See also [HTTP|HTTP]."));
    // Control characters are dropped before the indentation is: none leaves a space in front.
    EXPECT_EQ(LaidOut({QStringLiteral("   \x01 One"), QStringLiteral("   two."), QString(),
                       QStringLiteral("      \x02  code")}),
              QStringLiteral("One two. ¶ code"));
    // A body indented by five spaces throughout has no lines of its own.
    EXPECT_EQ(LaidOut({QStringLiteral("     One"), QStringLiteral("     two.")}),
              QStringLiteral("One two."));
}

TEST(FoldocLayoutTest, AnAddressMovedBelowABlankLineStaysWithItsWords) {
    EXPECT_EQ(LaidOut({QStringLiteral("   <database> (ADO) A {library}."), QString(),
                       QStringLiteral("   {Home"), QStringLiteral("   "),
                       QStringLiteral("(http://msdn.microsoft.com/library/ado.asp)}."), QString(),
                       QStringLiteral("   (2003-07-08)")}),
              QStringLiteral("<database> (ADO) A [library|library]. ¶ "
                             "<Home|http://msdn.microsoft.com/library/ado.asp>. ¶ (2003-07-08)"));
    // Without a closing brace after it, a blank line ends the paragraph as ever.
    EXPECT_EQ(LaidOut({QStringLiteral("   {Open"), QString(), QStringLiteral("   (as in) it")}),
              QStringLiteral("Open ¶ (as in) it"));
}

TEST(FoldocLayoutTest, AddressesAreWrittenInFull) {
    EXPECT_EQ(LaidOut({QStringLiteral(
                  "   {List of processors (http://example.org/cpus)}, "
                  "{(rfc:822)}, {news:comp.lang.ada}, {FAQ (ftp:ftp.example.org/faq)},"
                  " {the contents page (/contents/all.html)}, {Help (help.html)}, "
                  "{(lmgtfy.com)}, {(img:/pub/misc/cat.jpg)}.")}),
              QStringLiteral("<List of processors|http://example.org/cpus>, "
                             "<|https://www.rfc-editor.org/rfc/rfc822>, <|news:comp.lang.ada>, "
                             "<FAQ|ftp://ftp.example.org/faq>, "
                             "<the contents page|https://foldoc.org/contents/all.html>, "
                             "<Help|https://foldoc.org/help.html>, <|http://lmgtfy.com>, "
                             "<|https://foldoc.org/pub/misc/cat.jpg>."));
    // Names of things that look like host names are references.
    EXPECT_EQ(LaidOut({QStringLiteral("   {Node.js} and {ASP.NET}")}),
              QStringLiteral("[Node.js|Node.js] and [ASP.NET|ASP.NET]"));
}

TEST(FoldocLayoutTest, ReferencesWithAParenthesisAndFormulas) {
    // "{shown (article)}" in lower case names the article; an abbreviation in parentheses is
    // shown with the name.
    EXPECT_EQ(LaidOut({QStringLiteral("   {loops (loop)} of the {Association for Computing"),
                       QStringLiteral("   Machinery (ACM)}")}),
              QStringLiteral("[loops|loop,loops (loop),loops] of the [Association for Computing "
                             "Machinery (ACM)|Association for Computing Machinery (ACM),"
                             "Association for Computing Machinery,ACM]"));
    // Set notation and program text keep their braces; so do braces that do not pair up.
    EXPECT_EQ(LaidOut({QStringLiteral("   S = {x | x > 0}, {f z : z in Z}, {} and {a {b} c}, "
                                      "\\begin{table} and x{i}.")}),
              QStringLiteral("S = {x | x > 0}, {f z : z in Z}, {} and a [b|b] c, "
                             "\\begin{table} and x{i}."));
    // "{shown {article}}" and "{(address})": slips of the source, read as meant.
    EXPECT_EQ(LaidOut({QStringLiteral("   A subclass {inherits {inheritance}} all; "
                                      "{(http://w3.org/PICS}).")}),
              QStringLiteral("A subclass [inherits|inheritance,inherits] all; "
                             "<|http://w3.org/PICS>."));
}

TEST(FoldocLayoutTest, WrappedProseInLinesOfTheirOwnIsJoined) {
    // A paragraph with a hanging indent, and a quotation between lines of a program.
    EXPECT_EQ(LaidOut({QStringLiteral("   The goal of Modula-3 is to be as simple and safe as it"),
                       QStringLiteral("    can be while meeting the needs of modern systems"),
                       QStringLiteral("    programmers, and the language retains one of"),
                       QStringLiteral("    Modula-2's most successful features.")}),
              QStringLiteral("The goal of Modula-3 is to be as simple and safe as it can be while "
                             "meeting the needs of modern systems programmers, and the language "
                             "retains one of Modula-2's most successful features."));
    EXPECT_EQ(
        LaidOut({QStringLiteral("   Used humorously in writing to indicate a context"),
                 QStringLiteral("   or to remark on the surrounded text, as in"),
                 QStringLiteral("   the following example:"), QStringLiteral("    \\begin{flame}"),
                 QStringLiteral("    Predicate logic is the only good programming"),
                 QStringLiteral("    language.  Anyone who would use anything else"),
                 QStringLiteral("    is an idiot."), QStringLiteral("    \\end{flame}"),
                 QStringLiteral("   Scribe users at CMU and elsewhere used to use"),
                 QStringLiteral("   @Begin/@End in an identical way.")}),
        QStringLiteral("Used humorously in writing to indicate a context or to remark on the "
                       "surrounded text, as in the following example: / \\begin{flame} / "
                       "Predicate logic is the only good programming language.  Anyone who "
                       "would use anything else is an idiot. / \\end{flame} / Scribe users "
                       "at CMU and elsewhere used to use @Begin/@End in an identical way."));
}

TEST(FoldocLayoutTest, LinesOfTheirOwnLoseTheirIndentation) {
    const QList<FoldocParagraph> laidOut = LayOutFoldocBody({
        QStringLiteral("   Most of the text is indented by"),
        QStringLiteral("   three spaces, and here is"),
        QStringLiteral("   an example:"),
        QStringLiteral("      f x = {"),
        QStringLiteral("\t  x + 1 }"),
        QStringLiteral("   and after it a quotation:"),
        QStringLiteral("     Many people who realised the importance of stacks and queues"),
        QStringLiteral("     independently have given other names to these structures:"),
        QStringLiteral("     cellars, dumps and piles."),
    });
    EXPECT_EQ(Shape(laidOut),
              QStringLiteral("Most of the text is indented by three spaces, and "
                             "here is an example: / f x = { / x + 1 } / and after it a "
                             "quotation: / Many people who realised the "
                             "importance of stacks and queues independently have "
                             "given other names to these structures: cellars, "
                             "dumps and piles."));
    EXPECT_EQ(FoldocPlainText(laidOut).split(u'\n').size(), 5);
}

TEST(FoldocLayoutTest, SenseListsAndPlainText) {
    const QList<FoldocParagraph> atm =
        LayOutFoldocBody({QStringLiteral("   1. <communications> {Asynchronous Transfer Mode}."),
                          QString(), QStringLiteral("   2. Automatic Teller Machine."), QString(),
                          QStringLiteral("   3. <chat> At the moment.")});
    EXPECT_TRUE(IsSenseList(atm));
    EXPECT_EQ(FoldocPlainText(atm),
              QStringLiteral("1. <communications> Asynchronous Transfer Mode.\n2. Automatic "
                             "Teller Machine.\n3. <chat> At the moment."));
    EXPECT_FALSE(IsSenseList(LayOutFoldocBody({QStringLiteral("   1. Only one sense.")})));
    EXPECT_FALSE(IsSenseList(LayOutFoldocBody(
        {QStringLiteral("   2. Out"), QString(), QStringLiteral("   3. of order")})));
    EXPECT_EQ(FoldocPlainText(LayOutFoldocBody({QStringLiteral("   {Home (http://e.org/)}")})),
              QStringLiteral("Home (http://e.org/)"));
}

} // namespace
