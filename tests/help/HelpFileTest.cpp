#include "HelpFixture.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHelpLink>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray fileHash(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&file);
    return hash.result();
}

QStringList attributeValues(const QString& html, const QString& attribute) {
    QStringList values;
    const QRegularExpression pattern(attribute + QStringLiteral("=\"([^\"]*)\""));
    for (const QRegularExpressionMatch& match : pattern.globalMatch(html))
        values << match.captured(1);
    return values;
}

TEST(HelpFile, BuiltBesideTheProgramWithItsDocumentationRegistered) {
    ASSERT_TRUE(QFileInfo::exists(builtCollectionPath()));
    auto engine = openHelp(builtCollectionPath());
    ASSERT_TRUE(engine->setupData()) << qPrintable(engine->error());

    EXPECT_EQ(engine->registeredDocumentations(), QStringList{kHelpNamespace});
    const QFileInfo documentation(engine->documentationFileName(kHelpNamespace));
    EXPECT_TRUE(documentation.exists());
    EXPECT_EQ(documentation.fileName(), QStringLiteral("Abbr.qch"));
    EXPECT_EQ(documentation.absolutePath(), QFileInfo(builtCollectionPath()).absolutePath());
}

TEST(HelpFile, StillOpensAfterTheProgramFolderIsCopiedElsewhere) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QDir built = QFileInfo(builtCollectionPath()).absoluteDir();
    for (const QString& name : {QStringLiteral("Abbr.hlp"), QStringLiteral("Abbr.qch")})
        ASSERT_TRUE(QFile::copy(built.filePath(name), folder.filePath(name))) << qPrintable(name);

    auto engine = openHelp(folder.filePath(QStringLiteral("Abbr.hlp")));
    ASSERT_TRUE(engine->setupData()) << qPrintable(engine->error());

    // The copy must use its own compressed help, not the one in the build folder.
    EXPECT_EQ(QFileInfo(engine->documentationFileName(kHelpNamespace)).absoluteFilePath(),
              QFileInfo(folder.filePath(QStringLiteral("Abbr.qch"))).absoluteFilePath());
    for (const HelpTopic& topic : kHelpTopics) {
        const QList<QHelpLink> links = engine->documentsForIdentifier(topicId(topic.number));
        ASSERT_EQ(links.size(), 1) << topic.number;
        EXPECT_TRUE(pageText(*engine, links.first().url).contains(QString::fromUtf8(topic.title)))
            << topic.number;
    }
}

TEST(HelpFile, WithoutItsCompressedHelpTopicsResolveButHaveNoPages) {
    // The collection keeps its own copy of the index, so a lost Abbr.qch still resolves
    // topic numbers; the pages themselves are gone and read as empty, without a crash.
    // The help window has to tell the user rather than show a blank page.
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    ASSERT_TRUE(QFile::copy(builtCollectionPath(), folder.filePath(QStringLiteral("Abbr.hlp"))));

    auto engine = openHelp(folder.filePath(QStringLiteral("Abbr.hlp")));
    engine->setupData();
    EXPECT_FALSE(QFileInfo::exists(engine->documentationFileName(kHelpNamespace)));
    for (const HelpTopic& topic : kHelpTopics) {
        const QList<QHelpLink> links = engine->documentsForIdentifier(topicId(topic.number));
        ASSERT_EQ(links.size(), 1) << topic.number;
        EXPECT_TRUE(engine->fileData(links.first().url).isEmpty()) << topic.number;
    }
}

TEST(HelpFile, ReadingTheHelpLeavesTheFilesUntouched) {
    // The program's folder may be read-only; the help engine must not write there.
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QDir built = QFileInfo(builtCollectionPath()).absoluteDir();
    for (const QString& name : {QStringLiteral("Abbr.hlp"), QStringLiteral("Abbr.qch")})
        ASSERT_TRUE(QFile::copy(built.filePath(name), folder.filePath(name)));
    const QString collection = folder.filePath(QStringLiteral("Abbr.hlp"));
    const QByteArray collectionBefore = fileHash(collection);
    const QByteArray documentationBefore = fileHash(folder.filePath(QStringLiteral("Abbr.qch")));

    {
        auto engine = openHelp(collection);
        ASSERT_TRUE(engine->setupData());
        ASSERT_EQ(engine->documentsForIdentifier(topicId(1)).size(), 1);
        EXPECT_FALSE(engine->documentsForKeyword(QStringLiteral("履歴")).isEmpty());
    }

    EXPECT_EQ(fileHash(collection), collectionBefore);
    EXPECT_EQ(fileHash(folder.filePath(QStringLiteral("Abbr.qch"))), documentationBefore);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

TEST(HelpFile, EveryPageIsUtf8WithLinksThatLeadSomewhere) {
    auto engine = openHelp(builtCollectionPath());
    ASSERT_TRUE(engine->setupData());

    const QList<QUrl> pages = engine->files(kHelpNamespace, QString(), QStringLiteral("html"));
    ASSERT_GE(pages.size(), int(kHelpTopics.size()) + 1);
    int linksChecked = 0;
    for (const QUrl& page : pages) {
        SCOPED_TRACE(page.toString().toStdString());
        const QByteArray bytes = engine->fileData(page);
        ASSERT_FALSE(bytes.isEmpty());
        const QString html = QString::fromUtf8(bytes);
        EXPECT_EQ(html.toUtf8(), bytes) << "not valid UTF-8";
        EXPECT_TRUE(html.contains(QStringLiteral("<meta charset=\"utf-8\">")));
        EXPECT_TRUE(html.contains(QStringLiteral("href=\"style.css\"")));

        for (const QString& href : attributeValues(html, QStringLiteral("href"))) {
            SCOPED_TRACE(href.toStdString());
            const QUrl target = page.resolved(QUrl(href));
            ASSERT_EQ(target.scheme(), QStringLiteral("qthelp"))
                << "pages link only inside the help";
            const QString targetHtml = pageText(*engine, target);
            ASSERT_FALSE(targetHtml.isEmpty());
            if (target.hasFragment()) {
                EXPECT_TRUE(attributeValues(targetHtml, QStringLiteral("name"))
                                .contains(target.fragment()));
            }
            ++linksChecked;
        }
    }
    EXPECT_GT(linksChecked, 100);
}

TEST(HelpFile, KeywordAndContentsAnchorsExistOnTheirPages) {
    auto engine = openHelp(builtCollectionPath());
    ASSERT_TRUE(engine->setupData());

    const QStringList keywords = {
        QStringLiteral("ワイルドカード"), QStringLiteral("500 件"), QStringLiteral("文字の大きさ"),
        QStringLiteral("Ctrl+C"),         QStringLiteral("Ctrl+V"), QStringLiteral("Shift+Del"),
        QStringLiteral("Ctrl+G"),         QStringLiteral("履歴"),   QStringLiteral("F1"),
        QStringLiteral("ﾄﾋﾟｯｸの検索"),    QStringLiteral("リンク"), QStringLiteral("件数"),
    };
    for (const QString& keyword : keywords) {
        for (const QHelpLink& link : engine->documentsForKeyword(keyword)) {
            SCOPED_TRACE(link.url.toString().toStdString());
            ASSERT_TRUE(link.url.hasFragment());
            EXPECT_TRUE(attributeValues(pageText(*engine, link.url), QStringLiteral("name"))
                            .contains(link.url.fragment()));
        }
    }
}

} // namespace
