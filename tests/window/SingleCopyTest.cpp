// At most one copy of the program runs per user and display: real processes of the built
// program, each set of them with a temporary directory and a private runtime folder of its own.
#include "MainWindowFixture.h"
#include "ShellProcess.h"
#include "ShellTestSupport.h"

#include "app/SingleInstance.h"
#include "support/ScopedEnvironment.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLocalServer>

#include <csignal>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
// A later start only knocks and goes; a few seconds are plenty even on a loaded machine.
constexpr int kQuickExitMs = 8000;

QString ErrorsOf(QProcess* process) {
    return QString::fromUtf8(process->readAllStandardError());
}

// Runs the event loop until `done` holds or timeoutMs pass, so a listener of the test answers.
template <typename Condition> bool ServeUntil(Condition done, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}
} // namespace

class SingleCopyTest : public ::testing::Test {
protected:
    void SetUp() override { copy_.AddBundledDictionary(); }

    QProcess* StartFirst(const QString& display = QStringLiteral(":0")) {
        QProcess* first = copy_.Start(display);
        EXPECT_TRUE(copy_.WaitUntilReady(first, display))
            << "the first copy never got ready: " << ErrorsOf(first).toStdString();
        return first;
    }

    // A later start on `display` hands over to the running copy and ends with status 0.
    void ExpectHandOver(const QString& display = QStringLiteral(":0")) {
        QProcess* later = copy_.Start(display);
        ASSERT_TRUE(Ends(later, kQuickExitMs)) << "the later start keeps running";
        EXPECT_EQ(later->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(later->exitCode(), 0) << ErrorsOf(later).toStdString();
    }

    ProgramCopy copy_;
};

TEST_F(SingleCopyTest, SecondStartEndsAtOnceAndTheFirstKeepsRunning) {
    QProcess* first = StartFirst();
    // A second start must not even look at the dictionary: make it unusable. The running copy
    // keeps the file it opened.
    ASSERT_TRUE(QFile::remove(copy_.DictionaryPath()));
    copy_.WriteDictionary("not a dictionary");
    QProcess* second = copy_.Start();
    ASSERT_TRUE(Ends(second, kQuickExitMs)) << "the second copy keeps running";
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_FALSE(ErrorsOf(second).contains(QStringLiteral("データベース")))
        << "the second copy never opens the dictionary";
    EXPECT_EQ(first->state(), QProcess::Running);

    // And again: the first copy still answers.
    ExpectHandOver();
    EXPECT_EQ(first->state(), QProcess::Running);
}

TEST_F(SingleCopyTest, TheRunningCopySaysWhichDictionaryItShows) {
    StartFirst();
    const QByteArray status = ProgramCopy::Status(copy_.SocketPath());
    EXPECT_TRUE(status.startsWith("tessarine-2000 ready ")) << status.constData();
    EXPECT_TRUE(status.endsWith(QUrl::toPercentEncoding(copy_.DictionaryPath())))
        << status.constData();
}

TEST_F(SingleCopyTest, TheSocketAndLockStayInThePrivateRuntimeFolder) {
    StartFirst();
    EXPECT_TRUE(QFileInfo(copy_.SocketPath()).exists());
    EXPECT_FALSE(QDir(copy_.TempDir())
                     .entryList({QStringLiteral("tessarine*")},
                                QDir::AllEntries | QDir::System | QDir::Hidden)
                     .contains(QStringLiteral("tessarine-2000-_0")))
        << "nothing of the rule belongs in the shared temporary folder";
}

TEST_F(SingleCopyTest, TwoStartsAtTheSameMomentLeaveOneRunning) {
    QProcess* a = copy_.Start();
    QProcess* b = copy_.Start();
    // One of them hands over and ends; the other comes up and stays.
    QElapsedTimer timer;
    timer.start();
    while (a->state() == QProcess::Running && b->state() == QProcess::Running &&
           timer.elapsed() < 20000) {
        a->waitForFinished(50);
        b->waitForFinished(50);
    }
    QProcess* ended = a->state() == QProcess::Running ? b : a;
    QProcess* survivor = ended == a ? b : a;
    ASSERT_EQ(ended->state(), QProcess::NotRunning) << "both copies keep running";
    EXPECT_EQ(ended->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(ended->exitCode(), 0) << ErrorsOf(ended).toStdString();
    EXPECT_TRUE(copy_.WaitUntilReady(survivor)) << ErrorsOf(survivor).toStdString();
}

TEST_F(SingleCopyTest, KilledCopyLeavesNothingThatBlocksTheNextStart) {
    QProcess* first = StartFirst();
    first->kill(); // SIGKILL: no clean-up of any kind
    ASSERT_TRUE(first->waitForFinished(5000));
    ASSERT_TRUE(QFileInfo(copy_.SocketPath()).exists()) << "the killed copy left no socket";
    ASSERT_TRUE(QFileInfo(copy_.LockPath()).exists());

    QProcess* next = copy_.Start();
    EXPECT_TRUE(copy_.WaitUntilReady(next)) << ErrorsOf(next).toStdString();
    // The new copy is the one that answers now.
    ExpectHandOver();
    EXPECT_EQ(next->state(), QProcess::Running);
}

// --- Whatever lies at the rule's names cannot take it over, block it or get round it ----------

TEST_F(SingleCopyTest, AListenerAtTheOldSharedNameIsNeverAsked) {
    // Another program squatting where earlier versions listened, in the shared folder.
    QLocalServer squatter;
    const QString user = qEnvironmentVariable("USER", QStringLiteral("user"));
    ASSERT_TRUE(squatter.listen(
        QDir(copy_.TempDir())
            .filePath(QStringLiteral("tessarine-2000-") + (user.isEmpty() ? "user" : user))));
    QProcess* program = copy_.Start();
    EXPECT_TRUE(ServeUntil([&] { return copy_.WaitUntilReady(program, ":0", {}, 200); }, 30000))
        << ErrorsOf(program).toStdString();
    EXPECT_FALSE(squatter.hasPendingConnections());
}

TEST_F(SingleCopyTest, ASilentListenerIsIgnoredAndTheStartRunsNormally) {
    QLocalServer silent;
    ASSERT_TRUE(silent.listen(copy_.SocketPath()));
    int knocks = 0;
    QObject::connect(&silent, &QLocalServer::newConnection, [&] {
        while (silent.nextPendingConnection())
            ++knocks; // accepted, never answered
    });
    QProcess* program = copy_.Start();
    EXPECT_TRUE(ServeUntil([&] { return copy_.WaitUntilReady(program, ":0", {}, 200); }, 30000))
        << ErrorsOf(program).toStdString();
    EXPECT_GE(knocks, 1);
    EXPECT_TRUE(ErrorsOf(program).contains(QStringLiteral("does not answer")));
    // The copy took the name over: later starts find it.
    ExpectHandOver();
}

TEST_F(SingleCopyTest, AListenerOfAnotherUserIsIgnored) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to listen as another user";
    // A child that drops to "nobody" and answers exactly as a running copy would. Its socket is
    // made in a folder it may write, then moved to the rule's name.
    QTemporaryDir open;
    ASSERT_TRUE(open.isValid());
    ::chmod(QFile::encodeName(open.path()).constData(), 0777);
    const QByteArray bound = QFile::encodeName(open.filePath(QStringLiteral("s")));
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(2);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, bound.constData(), sizeof address.sun_path - 1);
        if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(fd, 8) != 0)
            ::_exit(3);
        (void)::write(ready[1], "x", 1);
        for (;;) {
            const int client = ::accept(fd, nullptr, nullptr);
            const char answer[] = "tessarine-2000 ready x\n";
            (void)::write(client, answer, sizeof answer - 1);
            ::close(client);
        }
    }
    ::close(ready[1]);
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1) << "the foreign listener did not start";
    ::close(ready[0]);
    ASSERT_EQ(::rename(bound.constData(), QFile::encodeName(copy_.SocketPath()).constData()), 0);

    QProcess* program = copy_.Start();
    const bool runs = copy_.WaitUntilReady(program);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ASSERT_TRUE(runs) << ErrorsOf(program).toStdString();
    EXPECT_TRUE(ErrorsOf(program).contains(QStringLiteral("of user 65534")));
}

TEST_F(SingleCopyTest, AFifoOrDirectoryAtTheLockNeitherBlocksNorDelays) {
    ASSERT_EQ(::mkfifo(QFile::encodeName(copy_.LockPath()).constData(), 0600), 0);
    QProcess* first = copy_.Start();
    ASSERT_TRUE(copy_.WaitUntilReady(first)) << "a FIFO at the lock blocked the start";
    EXPECT_TRUE(ErrorsOf(first).contains(QStringLiteral("not a regular file")));

    const QString display = QStringLiteral(":1");
    ASSERT_TRUE(QDir().mkdir(copy_.LockPath(display)));
    QProcess* other = copy_.Start(display);
    ASSERT_TRUE(copy_.WaitUntilReady(other, display));
    // Refused at once rather than waited for: the start says why.
    EXPECT_TRUE(ErrorsOf(other).contains(QStringLiteral("starting without the start-up lock")));
    ExpectHandOver(display);
}

TEST_F(SingleCopyTest, GarbageInTheLockFileIsNoLock) {
    QFile lock(copy_.LockPath());
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.write("12345\nsomething else\n\xff\xfe");
    lock.close();
    QProcess* first = copy_.Start();
    ASSERT_TRUE(copy_.WaitUntilReady(first));
    EXPECT_FALSE(ErrorsOf(first).contains(QStringLiteral("start-up lock")));
    ExpectHandOver();
}

TEST_F(SingleCopyTest, ADirectoryAtTheSocketIsClearedAndTheRuleHolds) {
    ASSERT_TRUE(QDir().mkdir(copy_.SocketPath()));
    QProcess* first = StartFirst();
    EXPECT_EQ(first->state(), QProcess::Running);
    ExpectHandOver();
}

TEST_F(SingleCopyTest, EachDisplayHasItsOwnCopy) {
    QProcess* first = StartFirst(QStringLiteral(":0"));
    QProcess* second = copy_.Start(QStringLiteral(":1"));
    EXPECT_TRUE(copy_.WaitUntilReady(second, QStringLiteral(":1")))
        << "a start on another display handed over: " << ErrorsOf(second).toStdString();
    ExpectHandOver(QStringLiteral(":0"));
    ExpectHandOver(QStringLiteral(":1"));
    EXPECT_EQ(first->state(), QProcess::Running);
    EXPECT_EQ(second->state(), QProcess::Running);
}

TEST_F(SingleCopyTest, WithoutARuntimeFolderAPrivateFolderInTheTempFolderServes) {
    const QStringList unset{QStringLiteral("XDG_RUNTIME_DIR")};
    const QString own =
        QDir(copy_.TempDir()).filePath(QStringLiteral("tessarine-%1").arg(::getuid()));
    const QString socket = QDir(own).filePath(QStringLiteral("tessarine-2000-_0"));
    QProcess* first = copy_.Start(QStringLiteral(":0"), unset);
    ASSERT_TRUE(copy_.WaitUntilReady(first, ":0", socket)) << ErrorsOf(first).toStdString();
    struct stat st {};
    ASSERT_EQ(::lstat(QFile::encodeName(own).constData(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    QProcess* later = copy_.Start(QStringLiteral(":0"), unset);
    ASSERT_TRUE(Ends(later, kQuickExitMs));
    EXPECT_EQ(later->exitCode(), 0);
}

TEST_F(SingleCopyTest, AnOpenTempFolderOfTheSameNameIsRefused) {
    const QString own =
        QDir(copy_.TempDir()).filePath(QStringLiteral("tessarine-%1").arg(::getuid()));
    ASSERT_TRUE(QDir().mkdir(own));
    ASSERT_EQ(::chmod(QFile::encodeName(own).constData(), 0777), 0);
    // A runtime folder that others may enter is not used either.
    ASSERT_EQ(::chmod(QFile::encodeName(copy_.RuntimeDir()).constData(), 0755), 0);

    QProcess* program = copy_.Start();
    EXPECT_TRUE(StillRunningAfter(program, 1500)) << ErrorsOf(program).toStdString();
    EXPECT_TRUE(ErrorsOf(program).contains(QStringLiteral("can be reached by other users")));
    EXPECT_TRUE(QDir(own).isEmpty()) << "nothing is made in a folder that others can change";
    EXPECT_TRUE(QDir(copy_.RuntimeDir()).isEmpty());
}

// The copy that runs here in the test, with a real second start of the program knocking.
class SingleCopyHandoverTest : public MainWindowTest {
protected:
    void SetUp() override {
        // The socket and the lock of this copy go where the started program looks for them.
        copy_.ShareRuntimeWith(environment_);
        copy_.AddBundledDictionary();
    }
    void TearDown() override {
        instance_.reset();
        MainWindowTest::TearDown();
    }

    ProgramCopy copy_;
    std::unique_ptr<SingleInstance> instance_;
    ScopedEnvironment environment_;
};

TEST_F(SingleCopyHandoverTest, SecondStartRestoresTheMinimisedFirstCopy) {
    instance_ = std::make_unique<SingleInstance>();
    ASSERT_TRUE(instance_->BecomePrimary());
    ASSERT_EQ(instance_->SocketPath(), copy_.SocketPath());
    ASSERT_TRUE(Start());
    QObject::connect(instance_.get(), &SingleInstance::ActivationRequested, &W(),
                     &frmMain::ActivateFromAnotherStart);
    Search(QStringLiteral("cpu"));
    const QString caption = W().windowTitle();
    ASSERT_EQ(caption, QStringLiteral("Tessarine 2000 - [CPU]"));
    const qint32 shown = W().Current().CurrentId;
    W().showMinimized();
    ShellTest::Settle();
    ASSERT_TRUE(W().isMinimized());

    QProcess* second = copy_.Start();
    ServeUntil([&] { return second->waitForFinished(10); }, kQuickExitMs);
    ServeUntil([&] { return !W().isMinimized(); }, 2000);
    ShellTest::Settle();
    ASSERT_EQ(second->state(), QProcess::NotRunning) << "the second copy keeps running";
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_FALSE(W().isMinimized()) << "the first copy was not restored";
    EXPECT_TRUE(W().isVisible());
    EXPECT_EQ(W().windowTitle(), caption);
    EXPECT_EQ(W().Current().CurrentId, shown);
}
