#include "data/DbAccess.h"
#include "data/Strings.h"
#include "support/DataFixtures.h"

#include <gtest/gtest.h>

namespace {

class EntryTest : public ::testing::Test {
protected:
    void SetUp() override {
        dict_ = TestDictionary::Standard();
        ASSERT_EQ(OpenForTest(dict_->Path()), 3);
    }
    void TearDown() override { TestDb().Close(); }
    std::unique_ptr<TestDictionary> dict_;
};

TEST_F(EntryTest, DisplayTextCarriesTheTitleLineAndTheCategoryLabel) {
    QString abbr, url;
    EXPECT_EQ(ShownEntryText(1, abbr, url),
              QStringLiteral("\\HCentral Processing Unit [HW]\\habc"));
    EXPECT_EQ(abbr, QStringLiteral("CPU"));
    EXPECT_EQ(url, QStringLiteral("https://cpu.example/"));
}

TEST_F(EntryTest, TheRecordIsTheStoredEntryWithoutMarkupOfTheView) {
    const std::optional<DbAccess::EntryRecord> cpu = TestDb().GetEntry(1);
    ASSERT_TRUE(cpu.has_value());
    EXPECT_EQ(cpu->abbr, QStringLiteral("CPU"));
    EXPECT_EQ(cpu->letter, QStringLiteral("Central Processing Unit"));
    EXPECT_EQ(cpu->categoryShortName, QStringLiteral("HW"));
    EXPECT_EQ(cpu->hyperText, QStringLiteral("abc"));
    EXPECT_EQ(cpu->url, std::optional<QString>(QStringLiteral("https://cpu.example/")));
    EXPECT_EQ(TestDb().GetEntry(7)->categoryShortName, QString());
    EXPECT_FALSE(TestDb().GetEntry(999).has_value());
}

TEST_F(EntryTest, EmptyShortNameGivesNoBrackets) {
    QString abbr, url = QStringLiteral("previous");
    EXPECT_EQ(ShownEntryText(7, abbr, url), QStringLiteral("\\Ho'clock\\ho'clock の解説。"));
    EXPECT_EQ(url, QString()); // null address with the column present
}

TEST_F(EntryTest, UnknownOrInvalidIdLeavesTheOutputsAlone) {
    for (qint32 id : {0, -5, 999}) {
        QString abbr = QStringLiteral("A"), url = QStringLiteral("U");
        EXPECT_EQ(ShownEntryText(id, abbr, url), QString());
        EXPECT_EQ(abbr, QStringLiteral("A"));
        EXPECT_EQ(url, QStringLiteral("U"));
        EXPECT_EQ(TestDb().GetEntryCopyText(id), QString());
    }
}

TEST_F(EntryTest, CopyTextHasFourLinesWithAnAddressAndThreeWithout) {
    EXPECT_EQ(
        TestDb().GetEntryCopyText(1),
        QStringLiteral("CPU\r\nCentral Processing Unit\r\nCPU plain\r\nhttps://cpu.example/\r\n"));
    EXPECT_EQ(TestDb().GetEntryCopyText(2),
              QStringLiteral("RAM\r\nRandom Access Memory\r\nRAM plain\r\n"));
    // A null spelled-out form keeps its line.
    EXPECT_EQ(TestDb().GetEntryCopyText(6), QStringLiteral("Wi-Fi\r\n\r\nWi-Fi plain\r\n"));
}

TEST_F(EntryTest, RelatedWordsComeInOrderOfWordAndAreAppended) {
    RecordingList links;
    links.AddItem(QStringLiteral("CPU"), 1);
    EXPECT_EQ(TestDb().LoadLinkList(1, links), 2);
    ASSERT_EQ(links.Count(), 3);
    EXPECT_EQ(links.items[1].text, QStringLiteral("ALU"));
    EXPECT_EQ(links.items[1].data, 99);
    EXPECT_EQ(links.items[2].text, QStringLiteral("RAM"));
    EXPECT_EQ(links.items[2].data, 2);
    EXPECT_EQ(links.clears, 0);
    EXPECT_EQ(TestDb().LoadLinkList(2, links), 0);
    EXPECT_EQ(links.Count(), 3);
}

TEST_F(EntryTest, FileWithoutUrlColumnKeepsTheCallersAddress) {
    TestDb().Close();
    dict_->Execute("ALTER TABLE AbbrTB DROP COLUMN URL");
    ASSERT_EQ(OpenForTest(dict_->Path()), 3);
    QString abbr, url = QStringLiteral("kept");
    EXPECT_FALSE(ShownEntryText(1, abbr, url).isEmpty());
    EXPECT_EQ(url, QStringLiteral("kept"));
    EXPECT_EQ(TestDb().GetEntryCopyText(1),
              QStringLiteral("CPU\r\nCentral Processing Unit\r\nCPU plain\r\n"));
}

TEST_F(EntryTest, CategoryOutsideTheTableShowsNoLabel) {
    TestDb().Close();
    dict_->Execute("UPDATE AbbrTB SET CategoryID = 77 WHERE AbbrID = 1");
    ASSERT_EQ(OpenForTest(dict_->Path()), 3);
    QString abbr, url;
    EXPECT_EQ(ShownEntryText(1, abbr, url), QStringLiteral("\\HCentral Processing Unit\\habc"));
}

TEST(CutToCodePageBytesTest, CountsAsTheOriginalCodePageStoresText) {
    EXPECT_EQ(Strings::CutToCodePageBytes(QString(5000, QLatin1Char('a')), 4096).size(), 4096);
    EXPECT_EQ(Strings::CutToCodePageBytes(QString(3000, QChar(0x3042)), 4096).size(), 2048);
    EXPECT_EQ(Strings::CutToCodePageBytes(QString(5000, QChar(0xFF71)), 4096).size(), 4096);
    // A double-byte character that would straddle the limit is left out whole.
    const QString mixed = QString(4095, QLatin1Char('a')) + QChar(0x3042);
    EXPECT_EQ(Strings::CutToCodePageBytes(mixed, 4096), QString(4095, QLatin1Char('a')));
    // Never half of a surrogate pair.
    const QString emoji = QString(4093, QLatin1Char('a')) + QStringLiteral("\U0001F600");
    EXPECT_EQ(Strings::CutToCodePageBytes(emoji, 4096), QString(4093, QLatin1Char('a')));
    EXPECT_EQ(Strings::CutToCodePageBytes(QStringLiteral("短い"), 4096), QStringLiteral("短い"));
}

TEST(LongDescriptionTest, OnlyTheFirst4096BytesAreShown) {
    TestDictionary dict;
    dict.AddCategory(1, QStringLiteral("一般"), QString());
    const QString body = QString(1500, QChar(0x8A9E)) + QString(2000, QLatin1Char('x'));
    dict.AddEntry(QStringLiteral("LONG"), QStringLiteral("long"), 1, body);
    dict.Finish();
    ASSERT_EQ(OpenForTest(dict.Path()), 1);
    QString abbr, url;
    const QString text = ShownEntryText(1, abbr, url);
    EXPECT_EQ(text, QStringLiteral("\\Hlong\\h") + QString(1500, QChar(0x8A9E)) +
                        QString(4096 - 3000, QLatin1Char('x')));
    TestDb().Close();
}

} // namespace
