#include "HelpFixture.h"
#include "HelpSources.h"

#include <QFileInfo>
#include <QHash>
#include <QMultiHash>
#include <QSet>
#include <gtest/gtest.h>

namespace {

class HelpProjectTest : public ::testing::Test {
protected:
    void SetUp() override {
        project = ReadHelpProject();
        ASSERT_TRUE(project.error.isEmpty()) << qPrintable(project.error);
        ASSERT_FALSE(project.keywords.isEmpty());
    }

    QStringList Pages() const {
        QStringList pages;
        for (const QString& file : project.files)
            if (file.endsWith(QStringLiteral(".html")))
                pages << file;
        return pages;
    }

    // Whether `ref`, seen from `fromPage`, names a page of the project and, where it has one,
    // an anchor on that page. Returns what is wrong, or nothing.
    QString Broken(const QString& ref, const QString& fromPage) const {
        const QString file = ref.section(u'#', 0, 0).isEmpty() ? fromPage : ref.section(u'#', 0, 0);
        if (!project.files.contains(file))
            return QStringLiteral("no page ") + file;
        if (!ref.contains(u'#'))
            return {};
        const QString anchor = ref.section(u'#', 1);
        if (!Anchors(ReadTextFile(HelpPagePath(file))).contains(anchor))
            return QStringLiteral("no anchor #%1 on %2").arg(anchor, file);
        return {};
    }

    HelpProject project;
};

TEST_F(HelpProjectTest, EachTopicIdStandsOnceForItsPage) {
    QMultiHash<QString, QString> pageById;
    for (const HelpKeyword& keyword : project.keywords)
        if (!keyword.id.isEmpty())
            pageById.insert(keyword.id, keyword.ref.section(u'#', 0, 0));

    QSet<QString> expectedIds;
    for (const HelpTopic& topic : kHelpTopics) {
        const QString id = topicId(topic.number);
        expectedIds.insert(id);
        EXPECT_EQ(pageById.values(id).join(QStringLiteral(", ")).toStdString(), topic.page)
            << qPrintable(id);
    }
    for (const QString& id : pageById.uniqueKeys())
        EXPECT_TRUE(expectedIds.contains(id)) << "id without a topic number: " << qPrintable(id);
}

TEST_F(HelpProjectTest, EveryKeywordNamesOneTopic) {
    // The help window opens the first page of a repeated keyword and never the others: a word
    // that belongs to several topics is qualified instead (ワイルドカード（全文検索）).
    QHash<QString, QString> firstRef;
    for (const HelpKeyword& keyword : project.keywords) {
        EXPECT_FALSE(keyword.name.trimmed().isEmpty()) << qPrintable(keyword.ref);
        const auto earlier = firstRef.constFind(keyword.name);
        EXPECT_TRUE(earlier == firstRef.constEnd())
            << "keyword " << qPrintable(keyword.name) << " leads to " << qPrintable(earlier.value())
            << " and to " << qPrintable(keyword.ref);
        firstRef.insert(keyword.name, keyword.ref);
    }
}

TEST_F(HelpProjectTest, EveryPageCanBeReachedFromTheContents) {
    QSet<QString> contentsPages;
    for (const HelpContentsEntry& entry : project.contents)
        contentsPages.insert(entry.ref.section(u'#', 0, 0));
    for (const QString& page : Pages())
        EXPECT_TRUE(contentsPages.contains(page)) << qPrintable(page) << " is not in the contents";
    EXPECT_GE(Pages().size(), qsizetype(kHelpTopics.size()) + 5);
}

TEST_F(HelpProjectTest, EveryContentsEntryKeywordAndLinkLeadsToAPageAndAnchor) {
    for (const HelpContentsEntry& entry : project.contents)
        EXPECT_EQ(Broken(entry.ref, QString()), QString())
            << "contents " << qPrintable(entry.title);
    for (const HelpKeyword& keyword : project.keywords)
        EXPECT_EQ(Broken(keyword.ref, QString()), QString())
            << "keyword " << qPrintable(keyword.name);

    int links = 0;
    for (const QString& page : Pages()) {
        const QString html = ReadTextFile(HelpPagePath(page));
        ASSERT_FALSE(html.isEmpty()) << qPrintable(page);
        for (const QString& target : LinkTargets(html)) {
            EXPECT_EQ(Broken(target, page), QString()) << "link on " << qPrintable(page);
            ++links;
        }
    }
    EXPECT_GT(links, 200);
    // The check itself finds what it is for.
    EXPECT_NE(Broken(QStringLiteral("keys.html#no-such-anchor"), QString()), QString());
    EXPECT_NE(Broken(QStringLiteral("no-such-page.html"), QString()), QString());
}

TEST_F(HelpProjectTest, EveryFileOfTheProjectIsBuiltIntoTheHelp) {
    // The build lists the pages it depends on; a page missing there would not be rebuilt.
    const QString cmake = ReadTextFile(SourcePath(QStringLiteral("auxiliary/help/CMakeLists.txt")));
    for (const QString& file : project.files) {
        EXPECT_TRUE(QFileInfo::exists(HelpPagePath(file))) << qPrintable(file);
        EXPECT_TRUE(cmake.contains(QStringLiteral("  ") + file)) << qPrintable(file);
    }
}

TEST_F(HelpProjectTest, NoPageTitleOrKeywordUsesATermTheStyleSheetRulesOut) {
    const StyleSheet style = ReadStyleSheet();
    ASSERT_GE(style.avoided.size(), 20);
    ASSERT_FALSE(style.quotedAsShown.isEmpty());

    for (const QString& page : Pages())
        EXPECT_EQ(Found(AvoidedTermsIn(style, VisibleText(ReadTextFile(HelpPagePath(page))))), "")
            << qPrintable(page);
    for (const HelpContentsEntry& entry : project.contents)
        EXPECT_EQ(Found(AvoidedTermsIn(style, entry.title)), "") << "contents";
    for (const HelpKeyword& keyword : project.keywords) {
        if (!style.indexOnly.contains(keyword.name))
            EXPECT_EQ(Found(AvoidedTermsIn(style, keyword.name)), "") << "keyword";
    }
    // A synonym kept for the index leads to the page of the word to use.
    for (const QString& synonym : style.indexOnly)
        EXPECT_TRUE(std::any_of(project.keywords.begin(), project.keywords.end(),
                                [&](const HelpKeyword& k) { return k.name == synonym; }))
            << qPrintable(synonym) << " is listed for the index but is no keyword";
}

TEST(HelpStyleSheet, TheTermCheckTellsTheRightWordFromTheWrongOne) {
    const StyleSheet style = ReadStyleSheet();
    EXPECT_EQ(
        Found(AvoidedTermsIn(style, QStringLiteral("コンピューターとブラウザー、フォルダー"))), "");
    EXPECT_EQ(Found(AvoidedTermsIn(style, QStringLiteral("コンピューターとコンピュータ"))),
              "コンピュータ");
    EXPECT_EQ(Found(AvoidedTermsIn(style, QStringLiteral("ブラウザで開く"))), "ブラウザ");
    EXPECT_EQ(Found(AvoidedTermsIn(style, QStringLiteral("一つの種別、カテゴリ"))),
              "カテゴリ 一つ");
    // The screen's own texts are quoted as they stand.
    EXPECT_EQ(Found(AvoidedTermsIn(style, QStringLiteral("「ブラウザで次ぎの URL を開きます」"))),
              "");
    EXPECT_EQ(Found(AvoidedTermsIn(style, QStringLiteral("ツールチップ「検索するカテゴリ」"))), "");
}

} // namespace
