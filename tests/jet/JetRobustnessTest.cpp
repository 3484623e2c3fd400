#include "JetTestFiles.h"

#include "base/AppInfo.h"
#include "data/DbAccess.h"
#include "support/DataFixtures.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Damaged Jet files: every one is refused with the program's message, none crashes or hangs
// the program. The damage is done to files the writer made (whose layout the test knows) and
// to the real Jet 3 file.
namespace {

const QString kCannotOpen = FailureName(DbAccess::OpenFailure::CannotOpen);
const QString kInvalid = FailureName(DbAccess::OpenFailure::NotADictionary);
const QString kNoRecords = FailureName(DbAccess::OpenFailure::NoCategories);
constexpr int kEntries = 7 + 300;

// Enough entries, links and long descriptions to fill many data and long-value pages.
JetDictionary LargerDictionary() {
    JetDictionary d = JetDictionary::Standard();
    for (qint32 id = 100; id < 400; ++id) {
        QString text;
        while (text.size() < (id % 7) * 700)
            text += QStringLiteral("解説 %1 \\L%2\\l。").arg(id).arg(id - 1);
        d.AddEntry({id, QStringLiteral("X%1").arg(id), QStringLiteral("X%1").arg(id),
                    QStringLiteral("Extra %1").arg(id), 1 + id % 3, text, QVariant(), QVariant()});
        d.AddLink(id, QStringLiteral("X%1").arg(id - 1), id - 1);
    }
    return d;
}

class JetRobustnessTest : public ::testing::Test {
protected:
    void SetUp() override {
        JetDictionary d = LargerDictionary();
        original_ = d.Writer().Build();
        layout_ = d.Writer().LastLayout();
        ASSERT_GT(layout_.longValuePages.size(), 2);
        ASSERT_GT(layout_.dataPages.value(QStringLiteral("AbbrTB")).size(), 3);
    }
    void TearDown() override { TestDb().Close(); }

    // Opens the bytes as the dictionary and returns the failure reported (empty if none), and
    // the number of entries read when it opened.
    QString OpenBytes(const QByteArray& bytes, int* entries = nullptr) {
        const QString path = dir_.filePath(QStringLiteral("ABBR%1.MDB").arg(++files_));
        EXPECT_TRUE(WriteWholeFile(path, bytes));
        MessageRecorder recorder;
        QElapsedTimer timer;
        timer.start();
        const qint16 count = OpenForTest(path);
        EXPECT_LT(timer.elapsed(), 20000) << "an open must end within the time limit";
        if (entries)
            *entries =
                QueryValue(TestDb().Db(), QStringLiteral("SELECT count(*) FROM AbbrTB")).toInt();
        const QString failure = LastFailure();
        TestDb().Close();
        EXPECT_TRUE(recorder.boxes.isEmpty()) << "the data layer shows no box";
        EXPECT_EQ(count > 0, failure.isEmpty());
        return failure;
    }

    static int Get16(const QByteArray& b, qsizetype at) {
        return uchar(b[at]) | (uchar(b[at + 1]) << 8);
    }
    static void Put32(QByteArray& b, qsizetype at, quint32 v) {
        for (int i = 0; i < 4; ++i)
            b[at + i] = char((v >> (8 * i)) & 0xFF);
    }
    qsizetype PageStart(int page) const { return qsizetype(page) * layout_.pageSize; }
    // Offset in the file of the first row of a page.
    qsizetype FirstRowOffsetField(int page) const { return PageStart(page) + 0x0E; }

    QByteArray original_;
    JetTestWriter::Layout layout_;
    QTemporaryDir dir_;
    int files_ = 0;
};

TEST_F(JetRobustnessTest, UndamagedFileOpens) {
    EXPECT_EQ(OpenBytes(original_), QString());
}

TEST_F(JetRobustnessTest, TruncatedFiles) {
    for (qsizetype size : {qsizetype(100), qsizetype(4096), qsizetype(3 * 4096),
                           original_.size() / 2, original_.size() - 4096, original_.size() - 1})
        EXPECT_EQ(OpenBytes(original_.left(size)), kCannotOpen) << size;
}

TEST_F(JetRobustnessTest, RandomBytesAfterAValidHeader) {
    for (quint32 seed : {1u, 2u, 3u}) {
        QRandomGenerator rng(seed);
        QByteArray bytes = original_;
        for (qsizetype i = 4096; i < bytes.size(); ++i)
            bytes[i] = char(rng.bounded(256));
        EXPECT_EQ(OpenBytes(bytes), kCannotOpen) << seed;
    }
}

TEST_F(JetRobustnessTest, PagePointersOutOfRange) {
    const int abbr = layout_.definitionPage.value(QStringLiteral("AbbrTB"));
    constexpr quint32 kFarAway = 0x7FFFFFu << 8;
    {
        // The table's usage map lies far beyond the end of the file.
        QByteArray bytes = original_;
        Put32(bytes, PageStart(abbr) + 55, kFarAway);
        EXPECT_EQ(OpenBytes(bytes), kCannotOpen);
    }
    {
        // The catalogue's own usage map.
        QByteArray bytes = original_;
        Put32(bytes, PageStart(2) + 55, kFarAway);
        EXPECT_EQ(OpenBytes(bytes), kCannotOpen);
    }
    {
        // The usage map names pages past the end. libmdb then searches the file page by page
        // for the table's data: the copy is either complete or refused, never partial.
        QByteArray bytes = original_;
        const int map =
            Get16(bytes, PageStart(abbr) + 56) | (uchar(bytes[PageStart(abbr) + 58]) << 16);
        const qsizetype usage = PageStart(map) + Get16(bytes, FirstRowOffsetField(map));
        Put32(bytes, usage + 1, 0x00FFFFF0u); // the first page the map covers
        int rows = -1;
        const QString message = OpenBytes(bytes, &rows);
        EXPECT_TRUE(message == kCannotOpen || (message.isEmpty() && rows == kEntries))
            << qPrintable(message) << " " << rows;
    }
    {
        // A row of a data page whose offset points outside the page.
        QByteArray bytes = original_;
        const int data = layout_.dataPages.value(QStringLiteral("AbbrTB")).at(1);
        bytes[FirstRowOffsetField(data)] = char(0xFF);
        bytes[FirstRowOffsetField(data) + 1] = char(0x1F);
        EXPECT_EQ(OpenBytes(bytes), kCannotOpen);
    }
    {
        // A long-value page whose row offsets all point outside it: the memos kept there
        // cannot be read.
        QByteArray bytes = original_;
        const int lval = layout_.longValuePages.at(1);
        const int rows = Get16(bytes, PageStart(lval) + 0x0C);
        ASSERT_GT(rows, 0);
        for (int r = 0; r < rows; ++r) {
            bytes[FirstRowOffsetField(lval) + 2 * r] = char(0xFF);
            bytes[FirstRowOffsetField(lval) + 2 * r + 1] = char(0x1F);
        }
        EXPECT_EQ(OpenBytes(bytes), kCannotOpen);
    }
}

TEST_F(JetRobustnessTest, RowCountThatDisagreesWithTheRows) {
    const int links = layout_.definitionPage.value(QStringLiteral("LinkTB"));
    for (int delta : {-1, +1, +1000}) {
        QByteArray bytes = original_;
        const quint32 rows = quint32(Get16(bytes, PageStart(links) + 16));
        Put32(bytes, PageStart(links) + 16, rows + quint32(delta));
        EXPECT_EQ(OpenBytes(bytes), kCannotOpen) << delta;
    }
}

TEST_F(JetRobustnessTest, LongValueChainThatLoops) {
    // Find a chained memo's first row (a long-value row that starts with the address of another
    // long-value row) and point it at itself.
    QByteArray bytes = original_;
    bool looped = false;
    for (int page : layout_.longValuePages) {
        const int rows = Get16(bytes, PageStart(page) + 0x0C);
        for (int r = 0; r < rows && !looped; ++r) {
            const qsizetype row =
                PageStart(page) + (Get16(bytes, FirstRowOffsetField(page) + 2 * r) & 0x1FFF);
            const quint32 next =
                quint32(Get16(bytes, row)) | (quint32(Get16(bytes, row + 2)) << 16);
            if (next == 0 || !layout_.longValuePages.contains(int(next >> 8)))
                continue;
            Put32(bytes, row, quint32(page) << 8 | quint32(r));
            looped = true;
        }
        if (looped)
            break;
    }
    ASSERT_TRUE(looped) << "the fixture has chained memos";
    EXPECT_EQ(OpenBytes(bytes), kCannotOpen);
}

TEST_F(JetRobustnessTest, DamagedCatalogueAndDefinitions) {
    const int category = layout_.definitionPage.value(QStringLiteral("CategoryTB"));
    {
        // The definition page of CategoryTB is no longer one.
        QByteArray bytes = original_;
        bytes[PageStart(category)] = 0x01;
        EXPECT_EQ(OpenBytes(bytes), kCannotOpen);
    }
    {
        // An absurd column count.
        QByteArray bytes = original_;
        bytes[PageStart(category) + 45] = char(0xFF);
        bytes[PageStart(category) + 46] = char(0x7F);
        EXPECT_EQ(OpenBytes(bytes), kCannotOpen);
    }
    {
        // The catalogue page overwritten with its neighbour's bytes.
        QByteArray bytes = original_;
        bytes.replace(PageStart(2), 4096, original_.mid(PageStart(3), 4096));
        const QString message = OpenBytes(bytes);
        EXPECT_TRUE(message == kCannotOpen || message == kInvalid) << qPrintable(message);
    }
}

// Many random small damages: whatever the reading makes of them, the outcome is a dictionary
// or one of the messages, within the time limit.
TEST_F(JetRobustnessTest, RandomDamageNeverCrashesOrHangs) {
    const QString nwind = JetTestDataPath(QStringLiteral("nwind.mdb"));
    QList<QByteArray> bases{original_};
    if (QFileInfo::exists(nwind))
        bases << ReadWholeFile(nwind);
    const QStringList allowed{QString(), kCannotOpen, kInvalid, kNoRecords};
    QRandomGenerator rng(20000601);
    int refused = 0;
    for (const QByteArray& base : bases) {
        for (int round = 0; round < 25; ++round) {
            QByteArray bytes = base;
            const int changes = 1 << rng.bounded(8);
            for (int i = 0; i < changes; ++i)
                bytes[0x20 + rng.bounded(int(bytes.size()) - 0x20)] = char(rng.bounded(256));
            const QString message = OpenBytes(bytes);
            EXPECT_TRUE(allowed.contains(message)) << qPrintable(message);
            refused += message.isEmpty() ? 0 : 1;
        }
    }
    EXPECT_GT(refused, 0); // the damage is not all in places nobody reads
}

} // namespace
