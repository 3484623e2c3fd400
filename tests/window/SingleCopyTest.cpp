// At most one copy of the program runs: real processes of the built program, each set of them
// with a temporary directory of its own for the socket and the lock.
#include "MainWindowFixture.h"
#include "ShellProcess.h"
#include "ShellTestSupport.h"

#include "app/SingleInstance.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

namespace {
// A later start only knocks and goes; a few seconds are plenty even on a loaded machine.
constexpr int kQuickExitMs = 8000;
} // namespace

class SingleCopyTest : public ::testing::Test {
protected:
    void SetUp() override { copy_.AddBundledDictionary(); }

    QProcess* StartFirst() {
        QProcess* first = copy_.Start();
        EXPECT_TRUE(copy_.WaitUntilListening()) << "the first copy never got ready";
        // It listens before it opens the dictionary; give it the moment its start takes.
        EXPECT_TRUE(StillRunningAfter(first, 1500)) << first->readAllStandardError().toStdString();
        return first;
    }

    ProgramCopy copy_;
};

TEST_F(SingleCopyTest, SecondStartEndsAtOnceAndTheFirstKeepsRunning) {
    QProcess* first = StartFirst();
    // A second start must not even look at the dictionary: make it unusable. The running copy
    // keeps the file it opened.
    ASSERT_TRUE(QFile::remove(copy_.DictionaryPath()));
    copy_.WriteDictionary("not a dictionary");
    QElapsedTimer timer;
    timer.start();
    QProcess* second = copy_.Start();
    ASSERT_TRUE(Ends(second, kQuickExitMs)) << "the second copy keeps running";
    EXPECT_LT(timer.elapsed(), kQuickExitMs);
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_FALSE(
        QString::fromUtf8(second->readAllStandardError()).contains(QStringLiteral("データベース")))
        << "the second copy never opens the dictionary";
    EXPECT_TRUE(StillRunningAfter(first, 500));

    // And again: the first copy still answers.
    QProcess* third = copy_.Start();
    ASSERT_TRUE(Ends(third, kQuickExitMs));
    EXPECT_EQ(third->exitCode(), 0);
    EXPECT_TRUE(StillRunningAfter(first, 300));
}

TEST_F(SingleCopyTest, TwoStartsAtTheSameMomentLeaveOneRunning) {
    QProcess* a = copy_.Start();
    QProcess* b = copy_.Start();
    // One of them hands over and ends; the other stays.
    QElapsedTimer timer;
    timer.start();
    while (a->state() == QProcess::Running && b->state() == QProcess::Running &&
           timer.elapsed() < 20000) {
        a->waitForFinished(50);
        b->waitForFinished(50);
    }
    QThread::msleep(1000);
    QCoreApplication::processEvents();
    a->waitForFinished(10);
    b->waitForFinished(10);
    const int running = int(a->state() == QProcess::Running) + int(b->state() == QProcess::Running);
    ASSERT_EQ(running, 1) << "a: " << a->readAllStandardError().toStdString()
                          << " b: " << b->readAllStandardError().toStdString();
    QProcess* ended = a->state() == QProcess::Running ? b : a;
    QProcess* survivor = ended == a ? b : a;
    EXPECT_EQ(ended->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(ended->exitCode(), 0);
    EXPECT_TRUE(StillRunningAfter(survivor, 500));
}

TEST_F(SingleCopyTest, KilledCopyLeavesNothingThatBlocksTheNextStart) {
    QProcess* first = StartFirst();
    const qint64 deadPid = first->processId();
    first->kill(); // SIGKILL: no clean-up of any kind
    ASSERT_TRUE(first->waitForFinished(5000));

    // What a copy killed at the worst moment could also leave: the lock beside its socket,
    // held by an owner that is gone.
    const QDir tmp(copy_.TempDir());
    const QStringList left = tmp.entryList(QDir::Files | QDir::System | QDir::Hidden);
    ASSERT_FALSE(left.isEmpty()) << "the killed copy left no socket";
    for (const QString& name : left) {
        QFile lock(tmp.filePath(name + QStringLiteral(".lock")));
        ASSERT_TRUE(lock.open(QIODevice::WriteOnly | QIODevice::Truncate));
        lock.write(QByteArray::number(deadPid) + "\ntessarine\n\n");
    }

    QProcess* next = copy_.Start();
    EXPECT_TRUE(StillRunningAfter(next, 2500))
        << "exit " << next->exitCode() << ": " << next->readAllStandardError().toStdString();
    // The new copy is the one that answers now.
    QProcess* later = copy_.Start();
    ASSERT_TRUE(Ends(later, kQuickExitMs));
    EXPECT_EQ(later->exitCode(), 0);
    EXPECT_TRUE(StillRunningAfter(next, 300));
}

// The copy that runs here in the test, with a real second start of the program knocking.
class SingleCopyHandoverTest : public MainWindowTest {
protected:
    void SetUp() override {
        // The socket and the lock of this copy go where the started program looks for them.
        previousTmp_ = qgetenv("TMPDIR");
        hadTmp_ = qEnvironmentVariableIsSet("TMPDIR");
        qputenv("TMPDIR", copy_.TempDir().toLocal8Bit());
        copy_.AddBundledDictionary();
    }
    void TearDown() override {
        instance_.reset();
        MainWindowTest::TearDown();
        if (hadTmp_)
            qputenv("TMPDIR", previousTmp_);
        else
            qunsetenv("TMPDIR");
    }

    ProgramCopy copy_;
    std::unique_ptr<SingleInstance> instance_;
    QByteArray previousTmp_;
    bool hadTmp_ = false;
};

TEST_F(SingleCopyHandoverTest, SecondStartRestoresTheMinimisedFirstCopy) {
    instance_ = std::make_unique<SingleInstance>();
    ASSERT_TRUE(instance_->BecomePrimary());
    ASSERT_TRUE(Start());
    QObject::connect(instance_.get(), &SingleInstance::ActivationRequested, &W(),
                     &frmMain::ActivateFromAnotherStart);
    Search(QStringLiteral("cpu"));
    const QString caption = W().windowTitle();
    ASSERT_EQ(caption, QStringLiteral("Tessarine 2000 - [CPU]"));
    const qint32 shown = W().CurrentId;
    W().showMinimized();
    ShellTest::Settle();
    ASSERT_TRUE(W().isMinimized());

    QProcess* second = copy_.Start();
    QElapsedTimer timer;
    timer.start();
    while (second->state() != QProcess::NotRunning && timer.elapsed() < kQuickExitMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        second->waitForFinished(20);
    }
    ShellTest::Settle();
    ASSERT_EQ(second->state(), QProcess::NotRunning) << "the second copy keeps running";
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_FALSE(W().isMinimized()) << "the first copy was not restored";
    EXPECT_TRUE(W().isVisible());
    EXPECT_EQ(W().windowTitle(), caption);
    EXPECT_EQ(W().CurrentId, shown);
}
