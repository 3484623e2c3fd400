#include "data/JetImport.h"

#include <QElapsedTimer>
#include <csignal>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

// The child process that reads Jet files: whatever it does, the parent gets its output only
// when it finished well, and is back within the time limit.
namespace {

using JetImport::Isolation::Outcome;
namespace Isolation = JetImport::Isolation;
using namespace std::chrono_literals;

constexpr qint64 kPlenty = qint64(64) << 20;

bool Write(int fd, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

TEST(JetIsolationTest, OutputOfAChildThatSucceeds) {
    // More than a pipe holds at once, so the parent must read while the child writes.
    QByteArray big(5 << 20, '\0');
    for (qsizetype i = 0; i < big.size(); ++i)
        big[i] = char(i * 131 % 251);
    const auto result = Isolation::Run([&big](int fd) { return Write(fd, big); }, 10s, kPlenty);
    EXPECT_EQ(result.outcome, Outcome::Finished);
    EXPECT_EQ(result.output, big);
}

TEST(JetIsolationTest, ChildThatReportsFailure) {
    const auto result = Isolation::Run(
        [](int fd) {
            Write(fd, "partial");
            return false;
        },
        10s, kPlenty);
    EXPECT_EQ(result.outcome, Outcome::Failed);
    EXPECT_TRUE(result.output.isEmpty());
}

TEST(JetIsolationTest, ChildThatCrashes) {
    for (int signal : {SIGSEGV, SIGABRT, SIGBUS}) {
        const auto result = Isolation::Run(
            [signal](int fd) {
                Write(fd, "before the crash");
                ::raise(signal);
                return true;
            },
            10s, kPlenty);
        EXPECT_EQ(result.outcome, Outcome::Crashed) << signal;
        EXPECT_TRUE(result.output.isEmpty());
    }
}

TEST(JetIsolationTest, ChildThatNeverEndsIsStoppedAtTheLimit) {
    QElapsedTimer timer;
    timer.start();
    const auto result = Isolation::Run(
        [](int) {
            for (;;)
                ::pause();
            return true;
        },
        300ms, kPlenty);
    EXPECT_EQ(result.outcome, Outcome::TimedOut);
    EXPECT_GE(timer.elapsed(), 300);
    EXPECT_LT(timer.elapsed(), 3000);
}

TEST(JetIsolationTest, ChildThatClosesItsOutputAndThenHangs) {
    QElapsedTimer timer;
    timer.start();
    const auto result = Isolation::Run(
        [](int fd) {
            Write(fd, "all of it");
            ::close(fd);
            for (;;)
                ::pause();
            return true;
        },
        300ms, kPlenty);
    EXPECT_EQ(result.outcome, Outcome::TimedOut);
    EXPECT_LT(timer.elapsed(), 3000);
}

TEST(JetIsolationTest, ChildThatWritesWithoutEnd) {
    const auto result = Isolation::Run(
        [](int fd) {
            const QByteArray chunk(1 << 16, 'x');
            while (Write(fd, chunk)) {
            }
            return true;
        },
        10s, 1 << 20);
    EXPECT_EQ(result.outcome, Outcome::TooMuchOutput);
    EXPECT_TRUE(result.output.isEmpty());
}

// The import hands its copy over in shared memory, which the output limit covers as well.
TEST(JetIsolationTest, ChildThatFillsAFileBeyondTheLimit) {
    const int memory = ::memfd_create("jet-isolation-test", MFD_CLOEXEC);
    ASSERT_GE(memory, 0);
    const auto result = Isolation::Run(
        [memory](int) {
            const QByteArray chunk(1 << 16, 'x');
            for (int i = 0; i < 64; ++i)
                if (!Write(memory, chunk))
                    return false;
            return true;
        },
        10s, 1 << 20);
    ::close(memory);
    EXPECT_TRUE(result.outcome == Outcome::Crashed || result.outcome == Outcome::Failed);
}

// A library calling exit() in the child would run this process's exit handlers there; the
// child leaves without them, and the call counts as a failure, not as success.
TEST(JetIsolationTest, ExitCalledInTheChildIsAFailure) {
    const auto result = Isolation::Run(
        [](int fd) {
            Write(fd, "some");
            std::exit(0);
            return true;
        },
        10s, kPlenty);
    EXPECT_EQ(result.outcome, Outcome::Failed);
}

TEST(JetIsolationTest, ExceptionInTheChildIsAFailure) {
    const auto result =
        Isolation::Run([](int) -> bool { throw std::runtime_error("bad file"); }, 10s, kPlenty);
    EXPECT_EQ(result.outcome, Outcome::Failed);
}

} // namespace
