// A real dictionary with its middle overwritten: it still opens, reading yields what it can, and
// the damage is reported once, when a read first meets it. Ordinary failures report nothing.
#include "data/DbAccess.h"
#include "support/DataFixtures.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString Bundled() {
    return QStringLiteral(TESSARINE_BIN_DIR "/ABBR.MDB");
}

// Every entry id of the intact dictionary.
QList<qint32> AllIds() {
    DbAccess::Dictionary intact;
    RecordingList categories;
    RecordingList results;
    if (intact.Open(Bundled(), categories) > 0)
        intact.SearchEntries(QStringLiteral("*"), QString(), 0, results);
    QList<qint32> ids;
    for (const RecordingList::Item& item : results.items)
        ids << item.data;
    return ids;
}

class DamagedDictionaryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QFile::exists(Bundled())) << "the build did not place ABBR.MDB";
        ids_ = AllIds();
        ASSERT_GT(ids_.size(), 50);
    }
    void TearDown() override { TestDb().Close(); }

    // Reads every entry as the window shows it; returns how many could be read.
    int ReadEverything() {
        int readable = 0;
        for (qint32 id : ids_) {
            RecordingList links;
            readable += TestDb().GetEntry(id).has_value();
            TestDb().LoadLinkList(id, links);
            TestDb().GetEntryCopyText(id);
        }
        return readable;
    }

    QTemporaryDir dir_;
    QList<qint32> ids_;
    int reports_ = 0;
};

TEST_F(DamagedDictionaryTest, TheFirstReadThatMeetsTheDamageReportsItOnce) {
    const QString path = DamagedCopy(Bundled(), dir_.path());
    ASSERT_FALSE(path.isEmpty());
    const QByteArray digest = FileDigest(path);
    MessageRecorder recorder;
    ASSERT_GT(OpenForTest(path), 0) << "the damage lies past the tables' heads: it opens";
    TestDb().SetDamageHandler([this] { ++reports_; });
    EXPECT_FALSE(TestDb().Damaged());

    const int readable = ReadEverything();
    EXPECT_EQ(reports_, 1);
    EXPECT_TRUE(TestDb().Damaged());
    EXPECT_GT(readable, 0) << "what is whole is still read";
    EXPECT_LT(readable, ids_.size()) << "the overwritten entries are not";
    ReadEverything();
    EXPECT_EQ(reports_, 1) << "once is enough";

    EXPECT_TRUE(recorder.boxes.isEmpty()) << "the data layer only reports; the window says it";
    EXPECT_EQ(FileDigest(path), digest) << "the file is never written";
}

TEST_F(DamagedDictionaryTest, OrdinaryFailuresAreNoDamage) {
    ASSERT_GT(OpenForTest(Bundled()), 0);
    TestDb().SetDamageHandler([this] { ++reports_; });
    EXPECT_EQ(ReadEverything(), ids_.size());
    RecordingList list;
    // A malformed pattern, a statement without condition, an id that is not there.
    TestDb().SearchEntries(QString(), QStringLiteral("[z-a]*x"), 0, list);
    TestDb().SearchEntries(QStringLiteral("-"), QString(), 0, list);
    EXPECT_FALSE(TestDb().GetEntry(999999).has_value());
    EXPECT_EQ(reports_, 0);
    EXPECT_FALSE(TestDb().Damaged());
}

} // namespace
