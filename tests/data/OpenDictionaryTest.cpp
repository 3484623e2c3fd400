#include "data/DbAccess.h"
#include "data/SqliteHandles.h"
#include "data/TextCollation.h"
#include "support/DataFixtures.h"

#include <QFile>
#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

using DbAccess::OpenFailure;
constexpr OpenFailure kOpened = OpenFailure::None;
constexpr OpenFailure kCannotOpen = OpenFailure::CannotOpen;
constexpr OpenFailure kInvalid = OpenFailure::NotADictionary;
constexpr OpenFailure kNoRecords = OpenFailure::NoCategories;

class OpenDictionaryTest : public ::testing::Test {
protected:
    void TearDown() override { TestDb().Close(); }

    // Opens the file and expects the count and the failure reported (none shows a box: the
    // window does).
    void ExpectOpen(const QString& path, qint16 expectedCount, OpenFailure failure) {
        MessageRecorder recorder;
        RecordingList categories;
        EXPECT_EQ(OpenForTest(path, &categories), expectedCount);
        EXPECT_EQ(TestDb().Failure(), failure);
        EXPECT_TRUE(recorder.boxes.isEmpty());
    }

    QString WriteFile(const QByteArray& bytes) {
        const QString path = dir_.filePath(QStringLiteral("ABBR.MDB"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        return path;
    }

    QTemporaryDir dir_;
};

TEST_F(OpenDictionaryTest, ListsCategoriesByNameWithTheirIds) {
    auto dict = TestDictionary::Standard();
    MessageRecorder recorder;
    RecordingList categories;
    categories.AddItem(QStringLiteral("全て"), 0);
    EXPECT_EQ(OpenForTest(dict->Path(), &categories), 3);
    EXPECT_TRUE(recorder.boxes.isEmpty());
    // Appended after the caller's own first item, in the collation's order of names.
    ASSERT_EQ(categories.Count(), 4);
    EXPECT_EQ(categories.items[0].text, QStringLiteral("全て"));
    EXPECT_EQ(categories.items[1].text, QStringLiteral("ネットワーク"));
    EXPECT_EQ(categories.items[1].data, 2);
    EXPECT_EQ(categories.items[2].text, QStringLiteral("ハードウェア"));
    EXPECT_EQ(categories.items[3].text, QStringLiteral("一般"));
    EXPECT_EQ(categories.items[3].data, 3);
    EXPECT_TRUE(TestDb().HasUrlField());
    EXPECT_EQ(TestDb().CategoryShortNames(),
              (QStringList{QString(), QStringLiteral("HW"), QStringLiteral("NW"), QString()}));
}

TEST_F(OpenDictionaryTest, ShortNameTableGrowsToTheLargestId) {
    TestDictionary dict;
    dict.AddCategory(7, QStringLiteral("七"), QStringLiteral("S7"));
    dict.AddCategory(3, QStringLiteral("三"), QStringLiteral("S3"));
    dict.Finish();
    ExpectOpen(dict.Path(), 2, kOpened);
    ASSERT_EQ(TestDb().CategoryShortNames().size(), 8);
    EXPECT_EQ(TestDb().CategoryShortNames()[3], QStringLiteral("S3"));
    EXPECT_EQ(TestDb().CategoryShortNames()[7], QStringLiteral("S7"));
    for (int i : {0, 1, 2, 4, 5, 6})
        EXPECT_TRUE(TestDb().CategoryShortNames()[i].isEmpty()) << i;
}

TEST_F(OpenDictionaryTest, RowsWithUnusableIdsAreLeftOut) {
    TestDictionary dict;
    dict.AddCategory(2, QStringLiteral("ok"), QStringLiteral("OK"));
    dict.Finish();
    dict.Execute("INSERT INTO CategoryTB VALUES (2147483647, 'huge', 'H');"
                 "INSERT INTO CategoryTB VALUES (-4, 'negative', 'N');"
                 "INSERT INTO CategoryTB VALUES (40000, 'too big', 'B');");
    ExpectOpen(dict.Path(), 1, kOpened);
    EXPECT_EQ(TestDb().CategoryShortNames().size(), 3);
}

TEST_F(OpenDictionaryTest, MissingFile) {
    ExpectOpen(dir_.filePath(QStringLiteral("nothing.mdb")), 0, kCannotOpen);
    EXPECT_EQ(TestDb().Db(), nullptr);
}

TEST_F(OpenDictionaryTest, DirectoryInsteadOfFile) {
    ExpectOpen(dir_.path(), 0, kCannotOpen);
}

TEST_F(OpenDictionaryTest, EmptyFile) {
    ExpectOpen(WriteFile(QByteArray()), 0, kCannotOpen);
}

TEST_F(OpenDictionaryTest, RandomBytes) {
    QByteArray bytes(64 * 1024, '\0');
    auto* rng = QRandomGenerator::global();
    for (char& b : bytes)
        b = char(rng->bounded(256));
    ExpectOpen(WriteFile(bytes), 0, kCannotOpen);
}

TEST_F(OpenDictionaryTest, ValidHeaderFollowedByGarbage) {
    auto dict = TestDictionary::Standard();
    QFile file(dict->Path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray bytes = file.readAll();
    for (qsizetype i = 100; i < bytes.size(); ++i)
        bytes[i] = char((i * 7919) & 0xFF);
    ExpectOpen(WriteFile(bytes), 0, kCannotOpen);
}

TEST_F(OpenDictionaryTest, TruncatedFile) {
    auto dict = TestDictionary::Standard();
    QFile file(dict->Path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_GT(bytes.size(), 4096 * 3);
    ExpectOpen(WriteFile(bytes.left(bytes.size() / 2)), 0, kCannotOpen);
    ExpectOpen(WriteFile(bytes.left(50)), 0, kCannotOpen);
}

// What a failed open says of the file, for the program's error output; kept after closing.
TEST_F(OpenDictionaryTest, AFailedOpenSaysWhyInAFewWords) {
    ExpectOpen(dir_.filePath(QStringLiteral("nothing.mdb")), 0, kCannotOpen);
    EXPECT_EQ(TestDb().FailureDetail(), QStringLiteral("no such file"));
    ExpectOpen(dir_.path(), 0, kCannotOpen);
    EXPECT_EQ(TestDb().FailureDetail(), QStringLiteral("is a directory"));
    ExpectOpen(WriteFile(QByteArray()), 0, kCannotOpen);
    EXPECT_EQ(TestDb().FailureDetail(), QStringLiteral("file is empty"));
    ExpectOpen(WriteFile(QByteArray(200, 'x')), 0, kCannotOpen);
    EXPECT_EQ(TestDb().FailureDetail(), QStringLiteral("file is not a database"));
    auto dict = TestDictionary::Standard();
    dict->Execute("DROP TABLE CategoryTB");
    ExpectOpen(dict->Path(), 0, kInvalid);
    EXPECT_EQ(TestDb().FailureDetail(),
              QStringLiteral("no table CategoryTB with a column Category"));
    TestDb().Close();
    EXPECT_EQ(TestDb().FailureDetail(),
              QStringLiteral("no table CategoryTB with a column Category"));
    ExpectOpen(TestDictionary::Standard()->Path(), 3, kOpened);
    EXPECT_EQ(TestDb().FailureDetail(), QString());
}

TEST_F(OpenDictionaryTest, NoCategoryTable) {
    auto dict = TestDictionary::Standard();
    dict->Execute("DROP TABLE CategoryTB");
    ExpectOpen(dict->Path(), 0, kInvalid);
    EXPECT_NE(TestDb().Db(), nullptr); // the connection stays open, as after success
}

TEST_F(OpenDictionaryTest, CategoryTableWithoutCategoryColumn) {
    auto dict = TestDictionary::Standard();
    dict->Execute("DROP TABLE CategoryTB; CREATE TABLE CategoryTB (CategoryID INTEGER, "
                  "Name TEXT, ShortName TEXT); INSERT INTO CategoryTB VALUES (1, 'x', 'X');");
    ExpectOpen(dict->Path(), 0, kInvalid);
}

TEST_F(OpenDictionaryTest, EmptyCategoryTable) {
    auto dict = TestDictionary::Standard();
    dict->Execute("DELETE FROM CategoryTB");
    ExpectOpen(dict->Path(), 0, kNoRecords);
}

TEST_F(OpenDictionaryTest, UrlColumnIsFoundOnlyUnderItsExactName) {
    auto without = TestDictionary::Standard();
    without->Execute("ALTER TABLE AbbrTB DROP COLUMN URL");
    ExpectOpen(without->Path(), 3, kOpened);
    EXPECT_FALSE(TestDb().HasUrlField());
    TestDb().Close();

    auto lower = TestDictionary::Standard();
    lower->Execute("ALTER TABLE AbbrTB RENAME COLUMN URL TO url");
    ExpectOpen(lower->Path(), 3, kOpened);
    EXPECT_FALSE(TestDb().HasUrlField());
}

SqliteDb OpenWritable(const QString& path) {
    sqlite3* raw = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    SqliteDb db(raw);
    TextCollation::Register(db.get());
    sqlite3_busy_timeout(db.get(), 0);
    return db;
}

TEST_F(OpenDictionaryTest, NobodyCanChangeTheFileWhileItIsOpen) {
    auto dict = TestDictionary::Standard();
    const QByteArray before = FileDigest(dict->Path());
    ExpectOpen(dict->Path(), 3, kOpened);
    {
        SqliteDb writer = OpenWritable(dict->Path());
        EXPECT_EQ(sqlite3_exec(writer.get(), "DELETE FROM LinkTB", nullptr, nullptr, nullptr),
                  SQLITE_BUSY);
    }
    EXPECT_EQ(FileDigest(dict->Path()), before);
    {
        // Reading stays possible for others.
        SqliteDb reader = OpenWritable(dict->Path());
        EXPECT_EQ(
            sqlite3_exec(reader.get(), "SELECT count(*) FROM LinkTB", nullptr, nullptr, nullptr),
            SQLITE_OK)
            << sqlite3_errmsg(reader.get());
    }
    TestDb().Close();
    // Once closed, the hold is gone.
    SqliteDb writer = OpenWritable(dict->Path());
    EXPECT_EQ(sqlite3_exec(writer.get(), "DELETE FROM LinkTB", nullptr, nullptr, nullptr),
              SQLITE_OK);
}

TEST_F(OpenDictionaryTest, FileIsByteForByteUnchanged) {
    auto dict = TestDictionary::Standard();
    const QByteArray before = FileDigest(dict->Path());
    const QDateTime modified = QFileInfo(dict->Path()).lastModified();
    ExpectOpen(dict->Path(), 3, kOpened);
    RecordingList list;
    TestDb().SearchEntries(QStringLiteral("*"), QString(), 0, list);
    TestDb().SearchEntries(QStringLiteral("C*"), QStringLiteral("c*"), 1, list);
    QString abbr, url;
    ShownEntryText(1, abbr, url);
    TestDb().GetEntryCopyText(1);
    TestDb().LoadLinkList(1, list);
    TestDb().Close();
    EXPECT_EQ(FileDigest(dict->Path()), before);
    EXPECT_EQ(QFileInfo(dict->Path()).lastModified(), modified);
    EXPECT_FALSE(QFile::exists(dict->Path() + QStringLiteral("-journal")));
    EXPECT_FALSE(QFile::exists(dict->Path() + QStringLiteral("-wal")));
}

TEST_F(OpenDictionaryTest, ReadOnlyFileOpens) {
    auto dict = TestDictionary::Standard();
    QFile::setPermissions(dict->Path(), QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    ExpectOpen(dict->Path(), 3, kOpened);
}

TEST_F(OpenDictionaryTest, ReopeningReplacesTheConnection) {
    auto dict = TestDictionary::Standard();
    ExpectOpen(dict->Path(), 3, kOpened);
    ExpectOpen(dict->Path(), 3, kOpened);
    RecordingList list;
    EXPECT_EQ(TestDb().SearchEntries(QStringLiteral("cpu"), QString(), 0, list), 1);
    TestDb().Close();
    TestDb().Close(); // closing twice is harmless
    EXPECT_EQ(TestDb().SearchEntries(QStringLiteral("cpu"), QString(), 0, list), 0);
}

} // namespace
