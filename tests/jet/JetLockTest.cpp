#include "JetTestFiles.h"

#include "data/DbAccess.h"
#include "data/JetImport.h"
#include "support/DataFixtures.h"

#include <QFile>
#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

// While a Jet dictionary is open, a writer that takes the customary lock is refused; while a
// writer holds one, the dictionary does not open.
namespace {

using namespace std::chrono_literals;

constexpr DbAccess::OpenFailure kCannotOpen = DbAccess::OpenFailure::CannotOpen;

// The byte range Jet itself locks on a shared file, beyond the end of any real file: a Samba
// server puts a Windows client's locks there as POSIX locks.
constexpr off_t kJetLockBytes = 0x10000000;

enum class LockAttempt { Granted, Refused, Error };

// Another process tries to take a write lock on the file, as a writer would before changing it.
LockAttempt TryWriterLock(const QString& path, bool useFlock) {
    const QByteArray name = QFile::encodeName(path);
    const auto result = JetImport::Isolation::Run(
        [&name, useFlock](int out) {
            const int fd = ::open(name.constData(), O_RDWR);
            char answer = 'E';
            if (fd >= 0) {
                int rc = 0;
                if (useFlock) {
                    rc = ::flock(fd, LOCK_EX | LOCK_NB);
                } else {
                    struct flock range {};
                    range.l_type = F_WRLCK;
                    range.l_whence = SEEK_SET;
                    range.l_start = kJetLockBytes;
                    range.l_len = 1;
                    rc = ::fcntl(fd, F_SETLK, &range);
                }
                answer = rc == 0                                                        ? 'G'
                         : (errno == EAGAIN || errno == EACCES || errno == EWOULDBLOCK) ? 'R'
                                                                                        : 'E';
            }
            return ::write(out, &answer, 1) == 1;
        },
        10s, 16);
    if (result.output == "G")
        return LockAttempt::Granted;
    return result.output == "R" ? LockAttempt::Refused : LockAttempt::Error;
}

// A writer in another process that holds its lock until released.
class HoldingWriter {
public:
    HoldingWriter(const QString& path, bool useFlock) {
        int ready[2], release[2];
        if (::pipe(ready) != 0 || ::pipe(release) != 0)
            return;
        const QByteArray name = QFile::encodeName(path);
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(ready[0]);
            ::close(release[1]);
            const int fd = ::open(name.constData(), O_RDWR);
            struct flock range {};
            range.l_type = F_WRLCK;
            range.l_whence = SEEK_SET;
            const bool locked = fd >= 0 && (useFlock ? ::flock(fd, LOCK_EX | LOCK_NB) == 0
                                                     : ::fcntl(fd, F_SETLK, &range) == 0);
            const char answer = locked ? 'L' : 'E';
            if (::write(ready[1], &answer, 1) != 1)
                ::_exit(1);
            char c;
            while (::read(release[0], &c, 1) > 0) {
            }
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(release[0]);
        release_ = release[1];
        char answer = 0;
        locked_ = ::read(ready[0], &answer, 1) == 1 && answer == 'L';
        ::close(ready[0]);
    }
    ~HoldingWriter() { Release(); }
    bool Locked() const { return locked_; }
    void Release() {
        if (release_ >= 0) {
            ::close(release_);
            release_ = -1;
        }
        if (pid_ > 0) {
            ::waitpid(pid_, nullptr, 0);
            pid_ = -1;
        }
    }

private:
    pid_t pid_ = -1;
    int release_ = -1;
    bool locked_ = false;
};

class JetLockTest : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = dir_.filePath(QStringLiteral("ABBR.MDB"));
        ASSERT_TRUE(JetDictionary::Standard().Writer().WriteTo(path_));
    }
    void TearDown() override { TestDb().Close(); }

    QTemporaryDir dir_;
    QString path_;
};

TEST_F(JetLockTest, WritersAreRefusedWhileTheDictionaryIsOpen) {
    ASSERT_EQ(TryWriterLock(path_, false), LockAttempt::Granted) << "locks work here";
    ASSERT_EQ(OpenForTest(path_), 3);
    EXPECT_EQ(TryWriterLock(path_, false), LockAttempt::Refused);
    EXPECT_EQ(TryWriterLock(path_, true), LockAttempt::Refused);
    // Reading the file, as the program itself does at open, does not end the lock.
    EXPECT_FALSE(ReadWholeFile(path_).isEmpty());
    EXPECT_EQ(TryWriterLock(path_, true), LockAttempt::Refused);
    TestDb().Close();
    EXPECT_EQ(TryWriterLock(path_, false), LockAttempt::Granted);
    EXPECT_EQ(TryWriterLock(path_, true), LockAttempt::Granted);
}

TEST_F(JetLockTest, DictionaryDoesNotOpenWhileAWriterHoldsItsLock) {
    for (bool useFlock : {false, true}) {
        HoldingWriter writer(path_, useFlock);
        ASSERT_TRUE(writer.Locked());
        EXPECT_EQ(OpenForTest(path_), 0) << useFlock;
        EXPECT_EQ(TestDb().Failure(), kCannotOpen);
        EXPECT_EQ(TestDb().Db(), nullptr);
        writer.Release();
        EXPECT_EQ(OpenForTest(path_), 3) << useFlock;
        TestDb().Close();
    }
}

TEST_F(JetLockTest, ImportOfNamedTablesHoldsTheLockOnlyWhileItReads) {
    const JetImport::ImportedDatabase imported =
        JetImport::ImportTables(path_, {QStringLiteral("CategoryTB")});
    ASSERT_TRUE(imported.db);
    EXPECT_EQ(TryWriterLock(path_, false), LockAttempt::Granted);
    EXPECT_EQ(JetImport::CatalogueOf(imported.db.get()), imported.catalogue);
}

} // namespace
