// Writing a dictionary over an existing one: the new file takes the old one's place in one step.
#include "data/DictionaryWriter.h"
#include "data/DbAccess.h"
#include "support/DataFixtures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#ifdef Q_OS_LINUX
#include <sys/inotify.h>
#include <unistd.h>
#endif

namespace {

DictionaryContent OneEntry(const QString& abbr) {
    DictionaryContent content;
    content.categories.append({1, QStringLiteral("一般"), QStringLiteral("GE")});
    content.entries.append(TestEntry(1, abbr, QStringLiteral("Spelled Out"), 1));
    return content;
}

QStringList Abbreviations(const QString& path) {
    DbAccess::Dictionary db;
    RecordingList categories;
    RecordingList results;
    if (db.Open(path, categories) == 0)
        return {QStringLiteral("(cannot open)")};
    db.SearchEntries(QStringLiteral("*"), QString(), 0, results);
    QStringList abbrs;
    for (const RecordingList::Item& item : results.items)
        abbrs << item.text.section(QLatin1Char('\t'), 0, 0);
    return abbrs;
}

#ifdef Q_OS_LINUX
// What happened to the names in a directory, as the kernel reports it.
class DirectoryEvents {
public:
    explicit DirectoryEvents(const QString& dir) {
        fd_ = inotify_init1(IN_NONBLOCK);
        if (fd_ >= 0)
            inotify_add_watch(fd_, QFile::encodeName(dir).constData(),
                              IN_DELETE | IN_MOVED_TO | IN_CREATE);
    }
    ~DirectoryEvents() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    bool Watching() const { return fd_ >= 0; }
    // Each event on `name`: "delete", "create" or "moved-to", in order.
    QStringList On(const QString& name) {
        QStringList seen;
        alignas(inotify_event) char buffer[64 * 1024];
        for (;;) {
            const ssize_t n = ::read(fd_, buffer, sizeof buffer);
            if (n <= 0)
                return seen;
            for (char* p = buffer; p < buffer + n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(p);
                if (event->len > 0 && QFile::decodeName(event->name) == name)
                    seen << ((event->mask & IN_DELETE)   ? QStringLiteral("delete")
                             : (event->mask & IN_CREATE) ? QStringLiteral("create")
                                                         : QStringLiteral("moved-to"));
                p += sizeof(inotify_event) + event->len;
            }
        }
    }

private:
    int fd_ = -1;
};
#endif

TEST(DictionaryWriterTest, ANewDictionaryReplacesTheOldInOneStep) {
#ifndef Q_OS_LINUX
    GTEST_SKIP() << "watching a directory's names needs Linux's inotify";
#else
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ABBR.MDB"));
    QString error;
    ASSERT_TRUE(WriteDictionary(OneEntry(QStringLiteral("OLD")), path, &error))
        << qPrintable(error);

    // A reader of the old dictionary keeps reading it.
    DbAccess::Dictionary reader;
    RecordingList categories;
    ASSERT_EQ(reader.Open(path, categories), 1);

    DirectoryEvents events(dir.path());
    ASSERT_TRUE(events.Watching());
    ASSERT_TRUE(WriteDictionary(OneEntry(QStringLiteral("NEW")), path, &error))
        << qPrintable(error);
    EXPECT_EQ(events.On(QStringLiteral("ABBR.MDB")), QStringList{QStringLiteral("moved-to")})
        << "the name never stands empty: no delete before the new file arrives";

    EXPECT_EQ(Abbreviations(path), QStringList{QStringLiteral("NEW")});
    RecordingList old;
    reader.SearchEntries(QStringLiteral("*"), QString(), 0, old);
    EXPECT_EQ(old.Texts(), QStringList{QStringLiteral("OLD\tSpelled Out")});
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("ABBR.MDB")})
        << "nothing of the build is left beside it";
#endif
}

TEST(DictionaryWriterTest, AFailedMoveKeepsTheOldDictionaryAndSaysWhy) {
    QTemporaryDir dir;
    // A directory stands where the dictionary should go: it cannot be replaced by a file.
    const QString path = dir.filePath(QStringLiteral("ABBR.MDB"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("ABBR.MDB")));
    ASSERT_TRUE(QFile(path + QStringLiteral("/keep")).open(QIODevice::WriteOnly));
    QString error;
    EXPECT_FALSE(WriteDictionary(OneEntry(QStringLiteral("NEW")), path, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("cannot move the dictionary"))) << qPrintable(error);
    EXPECT_TRUE(QFile::exists(path + QStringLiteral("/keep")));
    EXPECT_FALSE(QFile::exists(path + QStringLiteral(".part")));
}

} // namespace
