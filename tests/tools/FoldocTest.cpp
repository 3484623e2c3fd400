#include "QStringPrinter.h"
#include "data/DbAccess.h"
#include "data/Strings.h"
#include "dictionary/DictionarySource.h"
#include "tools/FoldocArticle.h"
#include "tools/FoldocMarkup.h"

#include <QHash>
#include <gtest/gtest.h>

namespace {

TEST(FoldocArticleTest, NamesBodyAndFirstSubject) {
    const FoldocArticle a = ParseFoldocArticle(QStringLiteral(
        "Transmission Control Protocol\nTCP\n\n   <networking, protocol> (TCP) The most common\n"
        "   {transport layer} protocol.\n\n   (2001-06-14)\n\n\n"));
    EXPECT_EQ(a.names, (QStringList{QStringLiteral("Transmission Control Protocol"),
                                    QStringLiteral("TCP")}));
    EXPECT_EQ(a.bodyLines.size(), 4);
    EXPECT_EQ(a.bodyLines.last(), QStringLiteral("   (2001-06-14)"));
    EXPECT_EQ(a.subject, QStringLiteral("networking"));

    const FoldocArticle senses = ParseFoldocArticle(
        QStringLiteral("ALU\n\n   1. <Processor> {Arithmetic and Logic Unit}.\n"));
    EXPECT_EQ(senses.subject, QStringLiteral("processor"));
    // An address in angle brackets is no subject, nor is text that starts otherwise.
    EXPECT_TRUE(ParseFoldocArticle(QStringLiteral("X\n\n   <someone@example.org> wrote it.\n"))
                    .subject.isEmpty());
    EXPECT_TRUE(
        ParseFoldocArticle(QStringLiteral("X\n\n   (FTP) A protocol <web>.\n")).subject.isEmpty());
}

TEST(FoldocArticleTest, FindsTheAbbreviationAmongTheNames) {
    auto pair = [](const QStringList& names) {
        const auto a = AcronymOf(names);
        return a ? a->abbr + QStringLiteral(" = ") + a->expansion : QString();
    };
    EXPECT_EQ(pair({QStringLiteral("Transmission Control Protocol"), QStringLiteral("TCP")}),
              QStringLiteral("TCP = Transmission Control Protocol"));
    EXPECT_EQ(pair({QStringLiteral("Basic Input/Output System"), QStringLiteral("BIOS"),
                    QStringLiteral("ROM BIOS")}),
              QStringLiteral("BIOS = Basic Input/Output System"));
    // Initials beat a mere subsequence: the misspelt alias loses.
    EXPECT_EQ(pair({QStringLiteral("Integrated Services Digital Network"), QStringLiteral("IDSN"),
                    QStringLiteral("ISDN")}),
              QStringLiteral("ISDN = Integrated Services Digital Network"));
    EXPECT_EQ(pair({QStringLiteral("call-by-name"), QStringLiteral("CBN")}),
              QStringLiteral("CBN = call-by-name"));
    // No pair: a single word, letters that do not occur, a language name that is no abbreviation.
    EXPECT_EQ(pair({QStringLiteral("bell"), QStringLiteral("BEL")}), QString());
    EXPECT_EQ(pair({QStringLiteral("Some Other Thing"), QStringLiteral("XYZ")}), QString());
    EXPECT_EQ(pair({QStringLiteral("C++")}), QString());
    EXPECT_EQ(pair({QStringLiteral("central processing unit"), QStringLiteral("Cpu")}), QString());
}

class FoldocMarkupTest : public ::testing::Test {
protected:
    FoldocMarkup Convert(const QStringList& body, qint32 self = 99, int maxBytes = 4096) {
        return FoldocBodyToHyperText(
            body, [this](const QString& ref) { return ids_.value(ref.toLower(), 0); }, self,
            maxBytes);
    }
    QHash<QString, qint32> ids_{{QStringLiteral("protocol"), 7},
                                {QStringLiteral("internet"), 8},
                                {QStringLiteral("self"), 99},
                                {QStringLiteral("association for computing machinery"), 12}};
};

TEST_F(FoldocMarkupTest, ReferencesBecomeLinksOrText) {
    const FoldocMarkup m = Convert({QStringLiteral("   <networking> A {protocol} of the"),
                                    QStringLiteral("   {Internet} and {nowhere}, see {self}.")});
    EXPECT_EQ(m.hyperText, QStringLiteral("<networking> A \\J7 protocol\\j of the \\J8 "
                                          "Internet\\j and nowhere, see self."));
    EXPECT_EQ(m.links, 2);
    EXPECT_EQ(m.plainReferences, 2);
    EXPECT_FALSE(m.cut);
    EXPECT_EQ(PlainTextOf(m.hyperText),
              QStringLiteral("<networking> A protocol of the Internet and nowhere, see self."));
}

TEST_F(FoldocMarkupTest, ReferencesAcrossLinesAddressesAndAbbreviations) {
    const FoldocMarkup m = Convert({QStringLiteral("   The {Association for Computing"),
                                    QStringLiteral("   Machinery (ACM)} and the {List of things"),
                                    QStringLiteral("   (http://example.org/list.html)}. {Open")});
    EXPECT_EQ(m.hyperText, QStringLiteral("The \\J12 Association for Computing Machinery "
                                          "(ACM)\\j and the List of things "
                                          "(http://example.org/list.html). Open"));
}

// A brace that pairs with none is a slip of the source where it touches a word, and goes;
// elsewhere (program text) it stays.
TEST_F(FoldocMarkupTest, UnmatchedBracesNextToWordsGo) {
    EXPECT_EQ(Convert({QStringLiteral("   {a {protocol} c} and {{internet} { x")}).hyperText,
              QStringLiteral("a \\J7 protocol\\j c and {\\J8 internet\\j { x"));
}

TEST_F(FoldocMarkupTest, ParagraphsIndentedLinesAndBackslashes) {
    const FoldocMarkup m = Convert({
        QStringLiteral("   First paragraph,"),
        QStringLiteral("   wrapped."),
        QString(),
        QStringLiteral("   An example:"),
        QStringLiteral("    let c = c + 2"),
        QStringLiteral("      \\x. x"),
        QStringLiteral("   and after it."),
        QString(),
        QStringLiteral("   See also {protocol}, {Internet}."),
    });
    EXPECT_EQ(m.hyperText, QStringLiteral("First paragraph, wrapped.\r\n\\F"
                                          "An example:\r\n"
                                          "let c = c + 2\r\n"
                                          "\\\\x. x\r\n"
                                          "and after it.\r\n\\F"
                                          "See also \\J7 protocol\\j, \\J8 Internet\\j."));
    EXPECT_EQ(m.seeAlso, (QList<FoldocMarkup::Named>{{7, QStringLiteral("protocol")},
                                                     {8, QStringLiteral("Internet")}}));
    EXPECT_TRUE(PlainTextOf(m.hyperText).contains(QLatin1String("\r\n\\x. x\r\n")));
}

TEST_F(FoldocMarkupTest, LongBodiesAreCutToWhatTheProgramShows) {
    QStringList body;
    for (int p = 0; p < 40; ++p) {
        body << QStringLiteral("   Paragraph %1 names the {protocol} and goes on for a while with")
                    .arg(p)
             << QStringLiteral("   words, \u3042\u3044 and more words until it ends.") << QString();
    }
    for (const int limit : {4096, 1000, 333, 100}) {
        const FoldocMarkup m = Convert(body, 99, limit);
        EXPECT_TRUE(m.cut);
        EXPECT_LE(Strings::CodePageLength(m.hyperText), limit);
        // The program shows every byte of it, so no link is left open by its own cut.
        EXPECT_EQ(Strings::CutToCodePageBytes(m.hyperText, DbAccess::kDescriptionBytes),
                  m.hyperText);
        EXPECT_TRUE(m.hyperText.endsWith(QLatin1String("...")));
        EXPECT_EQ(m.hyperText.count(QLatin1String("\\J")), m.hyperText.count(QLatin1String("\\j")));
        EXPECT_GT(Strings::CodePageLength(m.hyperText), limit - 80)
            << "cut far earlier than needed";
    }
    const FoldocMarkup whole = Convert(body.mid(0, 6));
    EXPECT_FALSE(whole.cut);
    EXPECT_FALSE(whole.hyperText.endsWith(QLatin1String("...")));
}

TEST(CodePageLengthTest, CountsAsTheProgramCuts) {
    EXPECT_EQ(Strings::CodePageLength(u"abc"), 3);
    EXPECT_EQ(Strings::CodePageLength(u"\u3042\uFF71"),
              3); // hiragana two bytes, half-width katakana one
    EXPECT_EQ(Strings::CodePageLength(u"\U0001F600"), 4);
    const QString mixed = QStringLiteral("a\u3042b\U0001F600c\uFF71");
    for (int n = 0; n <= Strings::CodePageLength(mixed); ++n)
        EXPECT_LE(Strings::CodePageLength(Strings::CutToCodePageBytes(mixed, n)), n);
    EXPECT_EQ(Strings::CutToCodePageBytes(mixed, Strings::CodePageLength(mixed)), mixed);
}

} // namespace
