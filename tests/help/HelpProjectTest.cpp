#include "HelpFixture.h"

#include <QFile>
#include <QMultiHash>
#include <QSet>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

namespace {

// The help project as written, read before qhelpgenerator merges what it holds:
// the engine answers an identifier that occurs twice with one of its pages only, so
// a repeated topic id can be seen only here.
struct HelpProject {
    QMultiHash<QString, QString> pageById;
    QSet<QString> tocPages;
    QStringList files;
    QString error;
};

HelpProject readHelpProject() {
    HelpProject project;
    QFile file(QStringLiteral(TESSARINE_HELP_PROJECT));
    if (!file.open(QIODevice::ReadOnly)) {
        project.error = file.errorString();
        return project;
    }
    QXmlStreamReader xml(&file);
    bool inFiles = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const auto attributes = xml.attributes();
            const QString page =
                attributes.value(QStringLiteral("ref")).toString().section(u'#', 0, 0);
            if (xml.name() == QStringLiteral("keyword") &&
                attributes.hasAttribute(QStringLiteral("id")))
                project.pageById.insert(attributes.value(QStringLiteral("id")).toString(), page);
            else if (xml.name() == QStringLiteral("section"))
                project.tocPages.insert(page);
            else if (xml.name() == QStringLiteral("files"))
                inFiles = true;
            else if (inFiles && xml.name() == QStringLiteral("file"))
                project.files << xml.readElementText();
        } else if (xml.isEndElement() && xml.name() == QStringLiteral("files")) {
            inFiles = false;
        }
    }
    if (xml.hasError())
        project.error = xml.errorString();
    return project;
}

TEST(HelpProject, EachTopicIdStandsOnceForItsPage) {
    const HelpProject project = readHelpProject();
    ASSERT_TRUE(project.error.isEmpty()) << qPrintable(project.error);

    QSet<QString> expectedIds;
    for (const HelpTopic& topic : kHelpTopics) {
        const QString id = topicId(topic.number);
        expectedIds.insert(id);
        EXPECT_EQ(project.pageById.values(id).join(QStringLiteral(", ")).toStdString(), topic.page)
            << qPrintable(id);
    }
    for (const QString& id : project.pageById.uniqueKeys())
        EXPECT_TRUE(expectedIds.contains(id)) << "id without a topic number: " << qPrintable(id);
}

TEST(HelpProject, EveryPageCanBeReachedFromTheContents) {
    const HelpProject project = readHelpProject();
    ASSERT_TRUE(project.error.isEmpty()) << qPrintable(project.error);

    int pages = 0;
    for (const QString& file : project.files) {
        if (!file.endsWith(QStringLiteral(".html")))
            continue;
        ++pages;
        EXPECT_TRUE(project.tocPages.contains(file)) << qPrintable(file);
    }
    EXPECT_GE(pages, int(kHelpTopics.size()) + 1);
}

} // namespace
