// A damaged Jet file ends the reading by what it makes the reader do, not by the clock: the
// property blocks libmdb would parse are checked first, and the pages libmdb reads are counted.
#include "JetTestFiles.h"

#include "data/DbAccess.h"
#include "data/JetImport.h"
#include "data/jet/PropertyCheck.h"
#include "support/DataFixtures.h"

#include <QTemporaryDir>
#include <atomic>
#include <csignal>
#include <cstring>
#include <gtest/gtest.h>
#include <vector>

namespace {

using JetImport::Isolation::Outcome;
namespace Isolation = JetImport::Isolation;
using namespace std::chrono_literals;

const QStringList kNorthwindTables{"Categories", "Customers", "Employees", "Order Details",
                                   "Orders",     "Products",  "Shippers",  "Suppliers"};

// A property block as libmdb reads it from the catalogue, built field by field.
class Block {
public:
    explicit Block(const char* magic = "KKD") { bytes_.append(magic, 4); }
    Block& Record(int type, const QByteArray& body, int lengthDelta = 0) {
        Put32(6 + int(body.size()) + lengthDelta);
        Put16(type);
        bytes_ += body;
        return *this;
    }
    const unsigned char* Data() const {
        return reinterpret_cast<const unsigned char*>(bytes_.constData());
    }
    size_t Size() const { return size_t(bytes_.size()); }
    bool Sound() const { return JetImport::IsSoundPropertyBlock(Data(), Size()); }

    static QByteArray Names(const QList<QByteArray>& names, int lengthDelta = 0) {
        QByteArray out;
        for (const QByteArray& name : names) {
            Append16(out, int(name.size()) + lengthDelta);
            out += name;
        }
        return out;
    }
    // A set of values: header (length, unknown, name length, name) and values of
    // (length, unknown, type, name index, size, data).
    struct Value {
        int type;
        QByteArray data;
        int lengthDelta = 0;
        int sizeDelta = 0;
    };
    static QByteArray Values(const QList<Value>& values) {
        QByteArray out;
        Append16(out, 0);
        Append16(out, 0);
        Append16(out, 0); // unnamed set
        for (const Value& v : values) {
            Append16(out, 8 + int(v.data.size()) + v.lengthDelta);
            out += char(0);
            out += char(v.type);
            Append16(out, 0);
            Append16(out, int(v.data.size()) + v.sizeDelta);
            out += v.data;
        }
        return out;
    }

private:
    static void Append16(QByteArray& out, int v) {
        out += char(v & 0xFF);
        out += char((v >> 8) & 0xFF);
    }
    void Put16(int v) { Append16(bytes_, v); }
    void Put32(int v) {
        Append16(bytes_, v & 0xFFFF);
        Append16(bytes_, (v >> 16) & 0xFFFF);
    }
    QByteArray bytes_;
};

TEST(PropertyBlockCheck, SoundBlocksPass) {
    EXPECT_TRUE(Block().Sound()) << "an empty block";
    EXPECT_TRUE(
        Block("MR2")
            .Record(0x80, Block::Names({"Caption", "Format"}))
            .Record(0, Block::Values({{MDB_TEXT, "abc"}, {MDB_LONGINT, QByteArray("\1\0\0\0", 4)}}))
            .Sound());
    EXPECT_TRUE(Block().Record(0x33, "anything").Sound()) << "unknown records are skipped";
}

TEST(PropertyBlockCheck, LengthsThatLoopOrReachPastTheBlockFail) {
    EXPECT_FALSE(Block("XYZ").Sound()) << "not a property block";
    EXPECT_FALSE(Block().Record(0x80, Block::Names({"A"}), -6).Sound())
        << "a record of length 0 never moves on";
    EXPECT_FALSE(Block().Record(0x80, Block::Names({"A"}), 1).Sound()) << "past the block";
    EXPECT_FALSE(Block().Record(0x80, Block::Names({"Name"}, 40)).Sound())
        << "a name past its record";
    EXPECT_FALSE(Block().Record(0, Block::Values({{MDB_TEXT, "abc", -11}})).Sound())
        << "a value of length 0 never moves on";
    EXPECT_FALSE(Block().Record(0, Block::Values({{MDB_TEXT, "abc", 0, 9}})).Sound())
        << "a value larger than its record";
    EXPECT_FALSE(Block().Record(0, Block::Values({{MDB_DOUBLE, "abcd"}})).Sound())
        << "a double is read as 8 bytes whatever its size says";
}

// Every property block of the Jet 3 file, its first record's length set to zero: libmdb's
// parser would loop on it for ever.
QByteArray NorthwindWithLoopingProperties(const QByteArray& original) {
    QByteArray bytes = original;
    for (qsizetype at = bytes.indexOf(QByteArray("KKD\0", 4)); at >= 0;
         at = bytes.indexOf(QByteArray("KKD\0", 4), at + 4))
        std::memset(bytes.data() + at + 4, 0, 4);
    return bytes;
}

class JetWorkBoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        northwind_ = JetTestDataPath(QStringLiteral("nwind.mdb"));
        SKIP_WITHOUT_JET_TESTDATA(northwind_);
    }
    QString Write(const QByteArray& bytes) {
        const QString path = dir_.filePath(QStringLiteral("damaged.mdb"));
        EXPECT_TRUE(WriteWholeFile(path, bytes));
        return path;
    }
    QString northwind_;
    QTemporaryDir dir_;
};

TEST_F(JetWorkBoundTest, LoopingPropertyBlockIsRefusedBeforeLibmdbParsesIt) {
    const QString damaged = Write(NorthwindWithLoopingProperties(ReadWholeFile(northwind_)));
    JetImport::Options options;
    options.timeLimit = 120s; // far beyond the test's patience: only the check can end it
    const JetImport::ImportedDatabase imported =
        JetImport::ImportTables(damaged, JetImport::kDictionaryTables, options);
    EXPECT_EQ(imported.db, nullptr);
    EXPECT_EQ(imported.outcome, Outcome::Failed) << "refused, neither hung nor crashed";

    // The parent is unharmed: the sound file still reads.
    EXPECT_NE(JetImport::ImportTables(northwind_, kNorthwindTables).db, nullptr);
}

// Property lengths that reach past their block, as a damaged catalogue has them: the dictionary
// is refused as unreadable, with the program's message, before libmdb reads past its buffer.
TEST_F(JetWorkBoundTest, PropertyLengthsPastTheirBlockGiveTheMessage) {
    QByteArray bytes = ReadWholeFile(northwind_);
    int damaged = 0;
    for (qsizetype at = bytes.indexOf(QByteArray("KKD\0", 4)); at >= 0;
         at = bytes.indexOf(QByteArray("KKD\0", 4), at + 4), ++damaged) {
        bytes[at + 10] = char(0xF0); // the first property name's length, far past the block
        bytes[at + 11] = char(0xFF);
    }
    ASSERT_GT(damaged, 0);
    const auto messageFor = [](const QString& path) {
        OpenForTest(path);
        const QString failure = LastFailure();
        TestDb().Close();
        return failure;
    };
    // The sound file opens but is no dictionary; the damaged one cannot even be read.
    EXPECT_EQ(messageFor(northwind_), FailureName(DbAccess::OpenFailure::NotADictionary));
    EXPECT_EQ(messageFor(Write(bytes)), FailureName(DbAccess::OpenFailure::CannotOpen));
    EXPECT_EQ(messageFor(northwind_), FailureName(DbAccess::OpenFailure::NotADictionary));
}

TEST_F(JetWorkBoundTest, PagesLibmdbReadsAreCountedAndBounded) {
    JetImport::Options tight;
    tight.maxPageReads = 50;
    tight.timeLimit = 120s;
    const JetImport::ImportedDatabase stopped =
        JetImport::ImportTables(northwind_, kNorthwindTables, tight);
    EXPECT_EQ(stopped.db, nullptr);
    EXPECT_EQ(stopped.outcome, Outcome::TooMuchWork);

    const JetImport::ImportedDatabase whole = JetImport::ImportTables(northwind_, kNorthwindTables);
    EXPECT_NE(whole.db, nullptr);
    EXPECT_EQ(whole.outcome, Outcome::Finished);
}

TEST_F(JetWorkBoundTest, ProgressIsToldWhileTheFileIsRead) {
    std::vector<double> seen;
    JetImport::Options options;
    options.progress = [&seen](double fraction) { seen.push_back(fraction); };
    ASSERT_NE(JetImport::ImportTables(northwind_, kNorthwindTables, options).db, nullptr);
    ASSERT_FALSE(seen.empty());
    for (double fraction : seen) {
        EXPECT_GE(fraction, 0.0);
        EXPECT_LE(fraction, 1.0);
    }
}

// A loop that never returns is bounded by the work it counts, long before the clock.
TEST(JetIsolationWorkTest, ChildThatLoopsCountingEndsAsTooMuchWork) {
    const auto result = Isolation::Run(
        [](int) {
            static volatile unsigned long done = 0;
            const auto watch = Isolation::WatchWork(&done, 100000, 100000);
            for (;;)
                done = done + 1;
            return true;
        },
        120s, 1 << 20);
    EXPECT_EQ(result.outcome, Outcome::TooMuchWork);
    EXPECT_TRUE(result.output.isEmpty());
}

// The reader's counter is freed with its handle, and the child still has work after that:
// once the watch has ended, no tick, whether due already or raised later, reads the counter.
TEST(JetIsolationWorkTest, EndedWatchNoLongerReadsItsCounter) {
    const auto result = Isolation::Run(
        [](int) {
            auto* done = new unsigned long(0);
            {
                const auto watch = Isolation::WatchWork(done, 1000, 1000);
                ::raise(SIGPROF);
            }
            // Past the budget now: a check that still read it would end the child.
            *done = 1000000;
            ::raise(SIGPROF);
            Isolation::CheckWork();
            delete done;
            ::raise(SIGPROF);
            Isolation::CheckWork();
            return true;
        },
        120s, 1 << 20);
    EXPECT_EQ(result.outcome, Outcome::Finished);
}

TEST(JetIsolationWorkTest, ProgressFollowsTheWatchedWork) {
    std::vector<double> seen;
    const auto result = Isolation::Run(
        [](int) {
            static volatile unsigned long done = 0;
            const unsigned long expected = 400;
            const auto watch = Isolation::WatchWork(&done, ~0ul, expected);
            // Processor time, as the watch counts it, for about a second in all.
            for (unsigned long step = 0; step < expected; ++step) {
                const auto until = std::chrono::steady_clock::now() + 2500us;
                while (std::chrono::steady_clock::now() < until) {
                }
                done = step + 1;
            }
            return true;
        },
        120s, 1 << 20, [&seen](double fraction) { seen.push_back(fraction); });
    ASSERT_EQ(result.outcome, Outcome::Finished);
    ASSERT_GE(seen.size(), 3u);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_GT(seen.back(), seen.front());
    EXPECT_LE(seen.back(), 1.0);
}

} // namespace
