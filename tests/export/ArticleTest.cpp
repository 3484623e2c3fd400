#include "ExportFixtures.h"
#include "export/ArticleHtml.h"
#include "export/ArticleText.h"
#include "export/ExportEntry.h"
#include "export/SourceDictionary.h"

#include <QHash>
#include <gtest/gtest.h>

namespace {

// The fixture's entries as both formats receive them, read through the real dictionary file.
class ArticleTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dictionary_ = ExportFixture::Write().release();
        QString error;
        std::unique_ptr<SourceDictionary> source =
            SourceDictionary::Open(dictionary_->Path(), &error);
        ASSERT_TRUE(source) << qPrintable(error);
        entries_ = new QHash<qint32, ExportEntry>;
        order_ = new QList<qint32>;
        SourceDictionary::Entry raw;
        while (source->Next(raw)) {
            entries_->insert(raw.id, ExportEntry::From(raw, *source));
            order_->append(raw.id);
        }
        ASSERT_FALSE(source->Failed()) << qPrintable(source->ErrorText());
    }
    static void TearDownTestSuite() {
        delete entries_;
        delete order_;
        delete dictionary_;
    }
    static const ExportEntry& Entry(qint32 id) { return (*entries_)[id]; }
    static QString Html(std::vector<qint32> ids) {
        std::vector<ExportEntry> senses;
        for (const qint32 id : ids)
            senses.push_back(Entry(id));
        return QString::fromUtf8(ArticleHtml::Article(senses));
    }
    static QString Text(qint32 id) { return QString::fromUtf8(ArticleText::Article(Entry(id))); }

    static inline TestDictionary* dictionary_ = nullptr;
    static inline QHash<qint32, ExportEntry>* entries_ = nullptr;
    static inline QList<qint32>* order_ = nullptr;
};

TEST_F(ArticleTest, EntriesComeInTheOrderOfTheResultList) {
    // Abbreviation, then spelled-out form; a dictionary without a collation of its own would
    // put "CD-ROM" after "CPU" only by chance.
    const QList<qint32> expected{
        ExportFixture::kAlu,      ExportFixture::kCdRom,     ExportFixture::kCpu,
        ExportFixture::kControls, ExportFixture::kDmaAccess, ExportFixture::kDmaAlliance,
        ExportFixture::kTooLong,  ExportFixture::kNothing,   ExportFixture::kNoDescription,
        ExportFixture::kPlain,    ExportFixture::kRam,       ExportFixture::kTcpIp};
    EXPECT_EQ(*order_, expected);
}

TEST_F(ArticleTest, HtmlArticleCarriesTitleTermsLinksAndAddress) {
    const QString html = Html({ExportFixture::kCpu});
    EXPECT_EQ(html,
              QStringLiteral(
                  "<p><b>Central Processing Unit</b> [HW]</p>"
                  "<p><b>中央処理装置</b>（ちゅうおうしょりそうち）　読み：シーピーユー<br><br>"
                  "命令を読み出して実行する装置で、<a href=\"bword://ALU\">ALU</a>を含み、"
                  "<a href=\"bword://RAM\">主記憶</a>から命令を読みます。</p>"
                  "<p>関連語：<a href=\"bword://ALU\">ALU</a>、<a href=\"bword://RAM\">主記憶</a>、"
                  "行方不明</p>"
                  "<p><a href=\"https://example.com/cpu?a=1&amp;b=2\">"
                  "https://example.com/cpu?a=1&amp;b=2</a></p>"));
}

TEST_F(ArticleTest, SensesOfOneAbbreviationAreNumberedInOneArticle) {
    const QString html = Html({ExportFixture::kDmaAccess, ExportFixture::kDmaAlliance});
    EXPECT_TRUE(
        html.startsWith(QStringLiteral("<p><b>1.</b> <b>Direct Memory Access</b> [HW]</p>")))
        << qPrintable(html);
    // A category without a short name shows its name, as nothing would say what it is.
    EXPECT_TRUE(html.contains(QStringLiteral("<p><b>2.</b> <b>Document Management Alliance</b> "
                                             "[一般]</p><p>文書管理の標準を定める団体です。</p>")))
        << qPrintable(html);
}

TEST_F(ArticleTest, MarkupBecomesWellFormedHtmlAndNoCodeLeaks) {
    const ExportEntry& e = Entry(ExportFixture::kControls);
    EXPECT_TRUE(e.cleaned) << "NUL and BEL were in the description";
    EXPECT_EQ(e.letter, QStringLiteral("Control Characters"));
    const QString html = Html({ExportFixture::kControls});
    // Overlapping bold and italic close and reopen around each run; the unknown code \Q and the
    // text after \f vanish; "\\" is one backslash; text is escaped.
    EXPECT_TRUE(html.contains(QStringLiteral(
        "<p>abc<br><b>bold</b><b><i> both</i></b><i> italic</i> &amp; &lt;tag&gt; &quot;q&quot; "
        "x \\ end</p>")))
        << qPrintable(html);
    EXPECT_FALSE(html.contains(QStringLiteral("never shown")));
    EXPECT_FALSE(html.contains(QChar(0)));
    EXPECT_FALSE(html.contains(QChar(7)));
}

TEST_F(ArticleTest, PlainDescriptionIsTextNotMarkup) {
    // Where no marked-up description is stored, the plain one is shown, backslashes and all.
    const QString html = Html({ExportFixture::kPlain});
    EXPECT_TRUE(html.contains(QStringLiteral("<p>C:\\path \\B is not markup</p>")))
        << qPrintable(html);
    EXPECT_TRUE(
        Text(ExportFixture::kPlain).contains(QStringLiteral("   C:\\path \\B is not markup\n")));
    EXPECT_FALSE(Entry(ExportFixture::kNoDescription).hasDescription);
    EXPECT_FALSE(Entry(ExportFixture::kNothing).hasDescription);
}

TEST_F(ArticleTest, PlainArticleBracesReferencesAsFoldocDoes) {
    EXPECT_EQ(Text(ExportFixture::kCpu),
              QStringLiteral("CPU\n"
                             "   Central Processing Unit [HW]\n"
                             "\n"
                             "   中央処理装置（ちゅうおうしょりそうち）　読み：シーピーユー\n"
                             "\n"
                             "   命令を読み出して実行する装置で、{ALU}を含み、主記憶 {RAM}から"
                             "命令を読みます。\n"
                             "\n"
                             "   See also: {ALU}, 主記憶 {RAM}, 行方不明\n"
                             "\n"
                             "   https://example.com/cpu?a=1&b=2\n"));
    const QString controls = Text(ExportFixture::kControls);
    EXPECT_FALSE(controls.contains(QStringLiteral("\\B")));
    EXPECT_TRUE(controls.contains(QStringLiteral("   bold both italic & <tag> \"q\" x \\ end\n")))
        << qPrintable(controls);
}

TEST_F(ArticleTest, LookupWordsAreKeyLetterTermsAndReadings) {
    EXPECT_EQ(
        Entry(ExportFixture::kCpu).LookupWords(),
        (QStringList{QStringLiteral("Central Processing Unit"), QStringLiteral("中央処理装置"),
                     QStringLiteral("ちゅうおうしょりそうち"), QStringLiteral("シーピーユー")}));
    // The key normal form where it differs from the abbreviation.
    EXPECT_EQ(
        Entry(ExportFixture::kCdRom).LookupWords(),
        (QStringList{QStringLiteral("CDROM"), QStringLiteral("Compact Disc Read Only Memory")}));
    EXPECT_EQ(Entry(ExportFixture::kTcpIp).LookupWords().first(), QStringLiteral("TCPIP"));
}

} // namespace
