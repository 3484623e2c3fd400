// The index in the cache: keyed by the dictionary it was made from, built under a temporary name,
// never trusted when anything about it is off, and safe when two builds meet.
#include "FullTextFixture.h"

#include "fulltext/IndexSchema.h"
#include "fulltext/TextFold.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <atomic>
#include <thread>

using namespace Qt::Literals::StringLiterals;

namespace {

class IndexFilesTest : public FullTextFixture {
protected:
    void SetUp() override {
        for (int i = 0; i < 300; ++i)
            Add(QStringLiteral("K%1").arg(i), u"Keyed Entry"_s, u"索引の鍵となる語 %1"_s.arg(i));
        dictionary_.Finish();
        db_ = DictionaryFile::OpenSqlite(dictionary_.Path());
        ASSERT_TRUE(db_);
        key_ = IndexKeys::Of(dictionary_.Path());
        ASSERT_TRUE(key_.IsValid());
        path_ = IndexFiles::PathFor(cache_.path(), key_);
    }

    IndexFiles::BuildResult BuildInto(const QString& dir, const IndexBuilder::Control& c = {}) {
        return IndexFiles::Build(dir, key_, db_.get(), c);
    }

    // Files in the cache directory other than the index itself.
    QStringList Leftovers() const {
        QStringList names = QDir(cache_.path()).entryList(QDir::Files | QDir::Hidden);
        names.removeAll(QFileInfo(path_).fileName());
        return names;
    }

    static qint64 Count(sqlite3* db, const QString& term) {
        qint64 hits = 0;
        IndexSearch::Run(db, {term}, 500, {}, [&](const IndexSearch::Hit&) { ++hits; });
        return hits;
    }

    QString path_;
};

TEST_F(IndexFilesTest, KeyNamesThePathSizeTimeAndHeadOfTheFile) {
    EXPECT_EQ(key_.path, QFileInfo(dictionary_.Path()).canonicalFilePath());
    EXPECT_EQ(key_.size, QFileInfo(dictionary_.Path()).size());
    EXPECT_EQ(key_.headHash.size(), 64);
    EXPECT_EQ(IndexKeys::Of(dictionary_.Path()), key_);
    // The same file by a link is the same dictionary.
    const QString link = cache_.filePath(u"link.mdb"_s);
    ASSERT_TRUE(QFile::link(dictionary_.Path(), link));
    EXPECT_EQ(IndexKeys::Of(link), key_);
    EXPECT_FALSE(IndexKeys::Of(cache_.filePath(u"missing.mdb"_s)).IsValid());
    EXPECT_TRUE(path_.startsWith(cache_.path()));
    EXPECT_TRUE(path_.endsWith(u".fts"_s));
}

TEST_F(IndexFilesTest, BuiltIndexLiesInTheCacheAndOpensAgain) {
    const QByteArray dictionaryBefore = FileDigest(dictionary_.Path());
    IndexFiles::BuildResult built = BuildInto(cache_.path());
    ASSERT_EQ(built.outcome, IndexFiles::Outcome::Ready) << built.error.toStdString();
    EXPECT_FALSE(built.inMemory);
    EXPECT_TRUE(QFileInfo(path_).isFile());
    EXPECT_TRUE(Leftovers().isEmpty()) << Leftovers().join(u' ').toStdString();
    EXPECT_EQ(Count(built.db.get(), u"索引の鍵"_s), 300);
    built.db.reset();

    QString why;
    SqliteDb reopened = IndexFiles::OpenValid(path_, key_, &why);
    ASSERT_TRUE(reopened) << why.toStdString();
    EXPECT_EQ(Count(reopened.get(), u"索引の鍵"_s), 300);
    // The dictionary itself is never written.
    EXPECT_EQ(FileDigest(dictionary_.Path()), dictionaryBefore);
}

TEST_F(IndexFilesTest, AnIndexOfAnotherVersionOfTheDictionaryIsNotUsed) {
    ASSERT_EQ(BuildInto(cache_.path()).outcome, IndexFiles::Outcome::Ready);
    const auto refused = [&](IndexKey other) {
        QString why;
        const bool open = IndexFiles::OpenValid(IndexFiles::PathFor(cache_.path(), other), other,
                                                &why) != nullptr;
        return !open && !why.isEmpty();
    };
    IndexKey changed = key_;
    changed.size += 1;
    EXPECT_TRUE(refused(changed));
    changed = key_;
    changed.modifiedMs += 1000;
    EXPECT_TRUE(refused(changed));
    changed = key_;
    changed.headHash = QByteArray(64, 'a');
    EXPECT_TRUE(refused(changed));
    // Another path is another file name altogether.
    changed = key_;
    changed.path += u"x"_s;
    EXPECT_NE(IndexFiles::PathFor(cache_.path(), changed), path_);
    // A changed dictionary gets its new index in the old one's place.
    changed = key_;
    changed.modifiedMs += 1000;
    EXPECT_EQ(IndexFiles::PathFor(cache_.path(), changed), path_);
    key_ = changed;
    ASSERT_EQ(BuildInto(cache_.path()).outcome, IndexFiles::Outcome::Ready);
    EXPECT_TRUE(IndexFiles::OpenValid(path_, changed));
    EXPECT_TRUE(Leftovers().isEmpty());
}

TEST_F(IndexFilesTest, ForeignDamagedOrUnfinishedFilesAreNotTrustedAndAreRebuilt) {
    ASSERT_EQ(BuildInto(cache_.path()).outcome, IndexFiles::Outcome::Ready);
    QFile good(path_);
    ASSERT_TRUE(good.open(QIODevice::ReadOnly));
    const QByteArray index = good.readAll();
    good.close();
    ASSERT_GT(index.size(), 8192);

    QByteArray damaged = index;
    for (qsizetype i = 4096; i < damaged.size(); i += 97)
        damaged[i] = char(damaged[i] ^ 0x5A);
    QByteArray wrongFolding = index; // the same index, claiming another folding
    const QByteArray fold = TextFold::Signature();
    const qsizetype at = wrongFolding.indexOf(fold);
    ASSERT_GE(at, 0);
    wrongFolding[at] = fold[0] == 'a' ? 'b' : 'a';

    const struct {
        const char* what;
        QByteArray bytes;
    } files[] = {
        {"empty", QByteArray()},
        {"text", QByteArray("not an index at all\n")},
        {"truncated", index.left(index.size() / 2)},
        {"damaged", damaged},
        {"claims another folding", wrongFolding},
        {"a dictionary",
         [&] {
             QFile f(dictionary_.Path());
             f.open(QIODevice::ReadOnly);
             return f.readAll();
         }()},
    };
    for (const auto& file : files) {
        SCOPED_TRACE(file.what);
        QFile::remove(path_);
        QFile out(path_);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(file.bytes);
        out.close();
        EXPECT_FALSE(IndexFiles::OpenValid(path_, key_));
        IndexFiles::BuildResult rebuilt = BuildInto(cache_.path());
        ASSERT_EQ(rebuilt.outcome, IndexFiles::Outcome::Ready) << rebuilt.error.toStdString();
        EXPECT_EQ(Count(rebuilt.db.get(), u"索引の鍵"_s), 300);
        rebuilt.db.reset();
        EXPECT_TRUE(IndexFiles::OpenValid(path_, key_));
    }
}

TEST_F(IndexFilesTest, AnIndexOfAnotherMakeWithTheSameTablesIsNotTrusted) {
    QFile::remove(path_);
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(path_.toUtf8().constData(), &raw), SQLITE_OK);
    SqliteDb db(raw);
    // Right names, another tokenizer: queries would silently answer wrongly.
    ASSERT_EQ(
        sqlite3_exec(raw,
                     "CREATE TABLE Meta (name TEXT PRIMARY KEY NOT NULL, value) WITHOUT ROWID;"
                     "CREATE TABLE Body (rank INTEGER PRIMARY KEY, entry INTEGER NOT NULL, "
                     "text TEXT NOT NULL);"
                     "CREATE VIRTUAL TABLE Terms USING fts5(text, content='Body', "
                     "content_rowid='rank');",
                     nullptr, nullptr, nullptr),
        SQLITE_OK);
    db.reset();
    QString why;
    EXPECT_FALSE(IndexFiles::OpenValid(path_, key_, &why));
    EXPECT_FALSE(why.isEmpty());
}

TEST_F(IndexFilesTest, SearchesThatMeetDamageSaySo) {
    // Damage that the checks at opening cannot see in a large index shows when a search meets
    // it; the search says so, so that the index can be built anew.
    const char* damages[] = {
        "DELETE FROM Body WHERE rank = 7", // a row the index lists
        "UPDATE Terms_data SET block = x'FFFFFFFFFFFFFFFFFFFF' WHERE id = 10", // its structure
    };
    for (const char* damage : damages) {
        SCOPED_TRACE(damage);
        QFile::remove(path_);
        ASSERT_EQ(BuildInto(cache_.path()).outcome, IndexFiles::Outcome::Ready);
        sqlite3* raw = nullptr;
        ASSERT_EQ(sqlite3_open_v2(path_.toUtf8().constData(), &raw, SQLITE_OPEN_READWRITE, nullptr),
                  SQLITE_OK);
        SqliteDb db(raw);
        ASSERT_EQ(sqlite3_exec(raw, damage, nullptr, nullptr, nullptr), SQLITE_OK);
        EXPECT_FALSE(IndexFiles::OpenValid(path_, key_));
        const FullTextQuery::Parsed parsed = FullTextQuery::Parse(u"索引の鍵"_s);
        const IndexSearch::Result result =
            IndexSearch::Run(raw, parsed.terms, 500, {}, [](const IndexSearch::Hit&) {});
        EXPECT_EQ(result.outcome, IndexSearch::Outcome::Failed);
        EXPECT_TRUE(IndexSearch::IsDamage(result.errorCode)) << result.errorCode;
    }
    EXPECT_FALSE(IndexSearch::IsDamage(SQLITE_INTERRUPT));
    EXPECT_FALSE(IndexSearch::IsDamage(SQLITE_NOMEM));
    EXPECT_FALSE(IndexSearch::IsDamage(SQLITE_OK));
}

TEST_F(IndexFilesTest, WhereTheCacheCannotBeWrittenTheIndexIsBuiltInMemory) {
    // A directory below a plain file can be made by nobody, whatever their rights.
    const QString blocker = cache_.filePath(u"plain-file"_s);
    QFile file(blocker);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    for (const QString& dir : {blocker + u"/cache"_s, QString()}) {
        IndexFiles::BuildResult built = BuildInto(dir);
        ASSERT_EQ(built.outcome, IndexFiles::Outcome::Ready) << built.error.toStdString();
        EXPECT_TRUE(built.inMemory);
        EXPECT_EQ(Count(built.db.get(), u"索引の鍵"_s), 300);
    }
    EXPECT_EQ(QDir(cache_.path()).entryList(QDir::Files), QStringList{u"plain-file"_s});
}

TEST_F(IndexFilesTest, ACancelledBuildLeavesNothingBehind) {
    std::atomic<bool> stop{false};
    int highest = -1;
    IndexBuilder::Control control;
    control.cancelled = [&] { return stop.load(); };
    control.progress = [&](int percent) {
        highest = std::max(highest, percent);
        if (percent >= 20)
            stop = true;
    };
    IndexFiles::BuildResult built = BuildInto(cache_.path(), control);
    EXPECT_EQ(built.outcome, IndexFiles::Outcome::Cancelled);
    EXPECT_FALSE(built.db);
    EXPECT_LT(highest, 100);
    EXPECT_TRUE(QDir(cache_.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST_F(IndexFilesTest, ProgressRisesToAHundred) {
    QList<int> reported;
    IndexBuilder::Control control;
    control.progress = [&](int percent) { reported << percent; };
    ASSERT_EQ(BuildInto(cache_.path(), control).outcome, IndexFiles::Outcome::Ready);
    ASSERT_FALSE(reported.isEmpty());
    EXPECT_EQ(reported.first(), 0);
    EXPECT_EQ(reported.last(), 100);
    EXPECT_TRUE(std::is_sorted(reported.begin(), reported.end()));
}

TEST_F(IndexFilesTest, TwoBuildsAtOnceNeverSpoilEachOther) {
    // Two builders of the same index, each with its own connection to the dictionary, as two
    // processes would have.
    for (int round = 0; round < 3; ++round) {
        SqliteDb other = DictionaryFile::OpenSqlite(dictionary_.Path());
        ASSERT_TRUE(other);
        IndexFiles::BuildResult first, second;
        std::thread a([&] { first = IndexFiles::Build(cache_.path(), key_, db_.get(), {}); });
        std::thread b([&] { second = IndexFiles::Build(cache_.path(), key_, other.get(), {}); });
        a.join();
        b.join();
        ASSERT_EQ(first.outcome, IndexFiles::Outcome::Ready) << first.error.toStdString();
        ASSERT_EQ(second.outcome, IndexFiles::Outcome::Ready) << second.error.toStdString();
        // Each keeps the index it opened; the file in place is whole.
        EXPECT_EQ(Count(first.db.get(), u"索引の鍵"_s), 300);
        EXPECT_EQ(Count(second.db.get(), u"索引の鍵"_s), 300);
        first.db.reset();
        second.db.reset();
        SqliteDb placed = IndexFiles::OpenValid(path_, key_);
        ASSERT_TRUE(placed);
        EXPECT_EQ(Count(placed.get(), u"索引の鍵"_s), 300);
        EXPECT_TRUE(Leftovers().isEmpty()) << Leftovers().join(u' ').toStdString();
    }
}

TEST_F(IndexFilesTest, AbandonedTemporaryFilesAreRemovedOnceOld) {
    const QString old = path_ + u".AbCdEf.tmp"_s;
    const QString fresh = path_ + u".GhIjKl.tmp"_s;
    const QString unrelated = cache_.filePath(u"notes.tmp"_s);
    for (const QString& name : {old, fresh, unrelated}) {
        QFile f(name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    QFile f(old);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(
        f.setFileTime(QDateTime::currentDateTime().addDays(-2), QFileDevice::FileModificationTime));
    f.close();
    IndexFiles::RemoveAbandoned(cache_.path());
    EXPECT_FALSE(QFileInfo::exists(old));
    EXPECT_TRUE(QFileInfo::exists(fresh));
    EXPECT_TRUE(QFileInfo::exists(unrelated));
}

} // namespace
