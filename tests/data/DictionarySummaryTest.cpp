// A dictionary reached through links, as the package installs it (the program's ABBR.MDB a link
// to /etc/alternatives/..., that a link to the real file): it opens read-only with the same
// messages as the file itself, and the version line and the About box name the real file with
// its entry count.
#include "data/DictionarySummary.h"
#include "data/DbAccess.h"
#include "support/DataFixtures.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

constexpr qint64 kStandardEntries = 7;

class DictionarySummaryTest : public ::testing::Test {
protected:
    void TearDown() override { TestDb().Close(); }

    // program/ABBR.MDB -> alternatives/tessarine-dictionary -> target, with relative and
    // absolute links as update-alternatives makes them.
    QString LinkChainTo(const QString& target) {
        QDir(dir_.path()).mkpath(QStringLiteral("program"));
        QDir(dir_.path()).mkpath(QStringLiteral("alternatives"));
        const QString middle = dir_.filePath(QStringLiteral("alternatives/tessarine-dictionary"));
        const QString link = dir_.filePath(QStringLiteral("program/ABBR.MDB"));
        QFile::remove(middle);
        QFile::remove(link);
        EXPECT_TRUE(QFile::link(target, middle));
        EXPECT_TRUE(QFile::link(QStringLiteral("../alternatives/tessarine-dictionary"), link));
        return link;
    }

    // The message the window shows for `path` (empty for none) and the categories read.
    static std::pair<QString, qint16> OpenOutcome(const QString& path) {
        const qint16 count = OpenForTest(path);
        const QString message =
            count > 0 ? QString() : DbAccess::OpenFailureMessage(TestDb().Failure());
        TestDb().Close();
        return {message, count};
    }

    QTemporaryDir dir_;
};

TEST_F(DictionarySummaryTest, ThroughLinksTheRealFileOpensReadOnlyAndIsNamed) {
    auto dict = TestDictionary::Standard();
    const QString real = QFileInfo(dict->Path()).canonicalFilePath();
    const QString link = LinkChainTo(dict->Path());
    const QByteArray digest = FileDigest(real);
    const QDateTime modified = QFileInfo(real).lastModified();

    const DictionarySummary::Summary read = DictionarySummary::Read(link);
    EXPECT_EQ(read.file, real);
    EXPECT_EQ(read.entries, kStandardEntries);
    EXPECT_EQ(DictionarySummary::VersionLine(read),
              QStringLiteral("Dictionary: %1 (7 entries)\n").arg(real));

    // The program opens it through the link as it opens the file itself, and names what it
    // holds open.
    EXPECT_EQ(OpenForTest(link), 3);
    EXPECT_EQ(TestDb().Failure(), DbAccess::OpenFailure::None);
    const DictionarySummary::Summary open = DictionarySummary::Of(TestDb());
    EXPECT_EQ(open.file, real);
    EXPECT_EQ(open.entries, kStandardEntries);
    EXPECT_EQ(DictionarySummary::AboutLine(open), QStringLiteral("辞書：%1（7 項目）").arg(real));
    EXPECT_EQ(DictionarySummary::AboutLine({QStringLiteral("/d/ABBR.MDB"), 17966}),
              QStringLiteral("辞書：/d/ABBR.MDB（17,966 項目）"));

    // Repointing the link while the program runs changes nothing about what it shows open.
    auto other = TestDictionary::Standard();
    other->Execute("DELETE FROM AbbrTB WHERE Abbr = 'GPU'");
    LinkChainTo(other->Path());
    EXPECT_EQ(DictionarySummary::Of(TestDb()).file, real);
    EXPECT_EQ(DictionarySummary::Read(link).entries, kStandardEntries - 1);
    TestDb().Close();

    EXPECT_EQ(FileDigest(real), digest);
    EXPECT_EQ(QFileInfo(real).lastModified(), modified);
    EXPECT_FALSE(QFileInfo::exists(real + QStringLiteral("-journal")));
    EXPECT_FALSE(QFileInfo::exists(real + QStringLiteral("-wal")));
}

// Every way a dictionary can be unusable says the same through links as directly, and the
// summary tells what it can.
TEST_F(DictionarySummaryTest, ThroughLinksEveryFaultGivesTheSameMessage) {
    const QString missing = dir_.filePath(QStringLiteral("gone.MDB"));
    QFile empty(dir_.filePath(QStringLiteral("empty.MDB")));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    auto truncated = TestDictionary::Standard();
    QFile whole(truncated->Path());
    ASSERT_TRUE(whole.open(QIODevice::ReadWrite));
    ASSERT_TRUE(whole.resize(whole.size() / 2));
    whole.close();
    auto noCategories = TestDictionary::Standard();
    noCategories->Execute("DELETE FROM CategoryTB");
    auto noTable = TestDictionary::Standard();
    noTable->Execute("DROP TABLE CategoryTB");

    struct Case {
        QString target;
        QString message;
        qint64 entries;
    };
    const QList<Case> cases{
        {missing, QStringLiteral("データベースが開けません"), -1},
        {dir_.path(), QStringLiteral("データベースが開けません"), -1},
        {empty.fileName(), QStringLiteral("データベースが開けません"), -1},
        {truncated->Path(), QStringLiteral("データベースが開けません"), -1},
        {noTable->Path(), QStringLiteral("不正なデータベースです"), kStandardEntries},
        {noCategories->Path(), QStringLiteral("有効なレコードがありません"), kStandardEntries},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target.toStdString());
        const auto direct = OpenOutcome(c.target);
        EXPECT_EQ(direct.first, c.message);
        EXPECT_EQ(direct.second, 0);
        const QString link = LinkChainTo(c.target);
        EXPECT_EQ(OpenOutcome(link), direct);
        const DictionarySummary::Summary summary = DictionarySummary::Read(link);
        EXPECT_EQ(summary.entries, c.entries);
        // A link that leads nowhere is named itself; otherwise the file at its end.
        const QString canonical = QFileInfo(c.target).canonicalFilePath();
        EXPECT_EQ(summary.file, canonical.isEmpty() ? link : canonical);
        if (c.entries < 0)
            EXPECT_EQ(DictionarySummary::VersionLine(summary),
                      QStringLiteral("Dictionary: %1 (cannot be opened as a dictionary)\n")
                          .arg(summary.file));
    }
}

} // namespace
