#include "HelpFixture.h"

#include <QHelpContentModel>
#include <QHelpIndexModel>
#include <QHelpLink>
#include <QSet>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include <functional>

namespace {

class HelpTopicsTest : public ::testing::Test {
protected:
    void SetUp() override {
        engine = openHelp(builtCollectionPath());
        ASSERT_TRUE(engine->setupData()) << qPrintable(engine->error());
    }

    std::unique_ptr<QHelpEngine> engine;
};

TEST_F(HelpTopicsTest, EveryTopicNumberOpensExactlyItsOwnPage) {
    for (const HelpTopic& topic : kHelpTopics) {
        SCOPED_TRACE(topic.number);
        const QList<QHelpLink> links = engine->documentsForIdentifier(topicId(topic.number));
        ASSERT_EQ(links.size(), 1);
        EXPECT_EQ(links.first().url, pageUrl(topic.page));

        const QString html = pageText(*engine, links.first().url);
        ASSERT_FALSE(html.isEmpty());
        const QString title = QString::fromUtf8(topic.title);
        EXPECT_TRUE(html.contains(QStringLiteral("<title>%1</title>").arg(title)));
        EXPECT_TRUE(html.contains(QStringLiteral("<h1>%1</h1>").arg(title)));
    }
}

TEST_F(HelpTopicsTest, NumbersWithoutATopicResolveToNothing) {
    // The program falls back to the window's topic when a number has no page.
    for (const int number : {0, 10, 100, 105, -1})
        EXPECT_TRUE(engine->documentsForIdentifier(topicId(number)).isEmpty()) << number;
    EXPECT_TRUE(engine->documentsForIdentifier(QStringLiteral("topic-")).isEmpty());
}

TEST_F(HelpTopicsTest, TopicPagesDescribeWhatTheirNumbersStandFor) {
    // A page swapped for another would still resolve; its content gives it away.
    const struct {
        int number;
        const char* mustMention;
    } facts[] = {
        {1, "500 件"},       {1, "Ctrl"},          {2, "?PU"},        {3, "central*"},
        {4, "全て"},         {5, "関連語"},        {6, "指さす手"},   {7, "Alt</kbd>+<kbd>R"},
        {8, "中央処理装置"}, {9, "CPU's"},         {101, "ﾎｰﾑﾍﾟｰｼﾞ"}, {102, "貼り付け検索"},
        {103, "100 件"},     {104, "ﾄﾋﾟｯｸの検索"},
    };
    for (const auto& fact : facts) {
        const QList<QHelpLink> links = engine->documentsForIdentifier(topicId(fact.number));
        ASSERT_EQ(links.size(), 1) << fact.number;
        EXPECT_TRUE(
            pageText(*engine, links.first().url).contains(QString::fromUtf8(fact.mustMention)))
            << fact.number << " " << fact.mustMention;
    }
}

TEST_F(HelpTopicsTest, TheKeysForReadingTheDescriptionAreDescribed) {
    // The keys list and the description's own topic both tell them.
    const QString keys = pageText(*engine, pageUrl("keys.html"));
    const QString description = pageText(*engine, pageUrl("description.html"));
    for (const char* key :
         {"<kbd>→</kbd>", "<kbd>←</kbd>", "<kbd>Enter</kbd>", "<kbd>Page Up</kbd>",
          "<kbd>Page Down</kbd>", "<kbd>Home</kbd>", "<kbd>End</kbd>", "<kbd>Tab</kbd>"}) {
        EXPECT_TRUE(keys.contains(QString::fromUtf8(key))) << "keys.html " << key;
        EXPECT_TRUE(description.contains(QString::fromUtf8(key))) << "description.html " << key;
    }
    EXPECT_TRUE(keys.contains(QStringLiteral("name=\"description\"")));
    EXPECT_TRUE(description.contains(QStringLiteral("スクロールバー")));
    EXPECT_TRUE(description.contains(QStringLiteral("読み上げ")));
}

TEST_F(HelpTopicsTest, TableOfContentsListsEveryTopicUnderTheContentsPage) {
    QHelpContentModel* model = engine->contentModel();
    QSignalSpy created(model, &QHelpContentModel::contentsCreated);
    model->createContents(QString());
    while (model->isCreatingContents() || created.isEmpty())
        ASSERT_TRUE(created.wait(10000));

    ASSERT_EQ(model->rowCount(), 1);
    QHelpContentItem* root = model->contentItemAt(model->index(0, 0));
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->url(), pageUrl("index.html"));

    QHash<QUrl, QString> titleByPage;
    const std::function<void(QHelpContentItem*)> collect = [&](QHelpContentItem* item) {
        const QUrl page = item->url().adjusted(QUrl::RemoveFragment);
        if (!item->url().hasFragment() && !titleByPage.contains(page))
            titleByPage.insert(page, item->title());
        for (int i = 0; i < item->childCount(); ++i)
            collect(item->child(i));
    };
    collect(root);

    for (const HelpTopic& topic : kHelpTopics) {
        SCOPED_TRACE(topic.number);
        ASSERT_TRUE(titleByPage.contains(pageUrl(topic.page)));
        EXPECT_EQ(titleByPage.value(pageUrl(topic.page)), QString::fromUtf8(topic.title));
    }
    // The pages without a topic number are found through the contents alone.
    const struct {
        const char* page;
        const char* title;
    } guides[] = {{"keyboard.html", "キーボードだけで使う"},
                  {"screen-reader.html", "音声読み上げで使う"},
                  {"large-dictionary.html", "大きな辞書を使う"},
                  {"terminal.html", "端末で引く・書き出す"}};
    for (const auto& guide : guides) {
        SCOPED_TRACE(guide.page);
        EXPECT_EQ(titleByPage.value(pageUrl(guide.page)), QString::fromUtf8(guide.title));
        const QString html = pageText(*engine, pageUrl(guide.page));
        EXPECT_TRUE(
            html.contains(QStringLiteral("<h1>%1</h1>").arg(QString::fromUtf8(guide.title))));
    }
}

TEST_F(HelpTopicsTest, KeywordSearchFindsTopicsInJapaneseAndEnglish) {
    const struct {
        const char* keyword;
        const char* page;
    } lookups[] = {
        {"ワイルドカード", "main-window.html"},
        {"wildcard", "main-window.html"},
        {"履歴", "menu-go.html"},
        {"history", "menu-go.html"},
        {"略語", "abbreviation-field.html"},
        {"綴り", "spelled-out-field.html"},
        {"貼り付け検索", "menu-edit.html"},
        {"Ctrl+F", "menu-edit.html"},
        {"文字の大きさ", "main-window.html"},
        {"F1", "menu-help.html"},
        {"Ctrl+H", "history-window.html"},
        {"リンク", "description.html"},
        {"スクロール", "description.html"},
        {"screen reader", "screen-reader.html"},
        {"keyboard", "keyboard.html"},
        {"キーボード（リンク）", "description.html"},
        {"アクセシビリティ", "screen-reader.html"},
        {"Orca", "screen-reader.html"},
        {"Esc", "keys.html"},
        {"VERA", "large-dictionary.html"},
        {"FOLDOC", "large-dictionary.html"},
        {"EDICT", "large-dictionary.html"},
        {"update-alternatives", "large-dictionary.html"},
        {"ワイルドカード（全文検索）", "fulltext-rules.html"},
        {"tessarine-lookup", "terminal.html"},
        {"tessarine-export", "terminal.html"},
        {"dictd", "terminal.html"},
    };
    for (const auto& lookup : lookups) {
        SCOPED_TRACE(lookup.keyword);
        const QList<QHelpLink> links =
            engine->documentsForKeyword(QString::fromUtf8(lookup.keyword));
        ASSERT_FALSE(links.isEmpty());
        bool onExpectedPage = false;
        for (const QHelpLink& link : links) {
            EXPECT_FALSE(pageText(*engine, link.url).isEmpty()) << qPrintable(link.url.toString());
            onExpectedPage |= link.url.adjusted(QUrl::RemoveFragment) == pageUrl(lookup.page);
        }
        EXPECT_TRUE(onExpectedPage);
    }
    EXPECT_TRUE(engine->documentsForKeyword(QStringLiteral("no-such-keyword")).isEmpty());
}

TEST_F(HelpTopicsTest, IndexFilterNarrowsToMatchingKeywords) {
    // What the topic search shows while the user types part of a word.
    QHelpIndexModel* model = engine->indexModel();
    QSignalSpy created(model, &QHelpIndexModel::indexCreated);
    model->createIndex(QString());
    while (model->isCreatingIndex() || created.isEmpty())
        ASSERT_TRUE(created.wait(10000));

    ASSERT_GT(model->rowCount(), 100);
    model->filter(QStringLiteral("ワイルド"));
    QStringList shown;
    for (int row = 0; row < model->rowCount(); ++row)
        shown << model->data(model->index(row, 0), Qt::DisplayRole).toString();
    EXPECT_TRUE(shown.contains(QStringLiteral("ワイルドカード")));
    for (const QString& keyword : shown)
        EXPECT_TRUE(keyword.contains(QStringLiteral("ワイルド"))) << qPrintable(keyword);
}

} // namespace
