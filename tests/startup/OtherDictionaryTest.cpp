// A later start that names a dictionary meets a running copy: it hands over only when the copy
// shows that very file, and otherwise says so and ends with status 1, leaving the copy alone.
#include "window/ShellProcess.h"

#include "app/SingleInstance.h"
#include "support/ScopedEnvironment.h"

#include <QCoreApplication>
#include <atomic>
#include <optional>

namespace {
constexpr int kQuickExitMs = 8000;

struct Outcome {
    int exitCode = -1;
    QString err;
};

Outcome Finish(QProcess* process) {
    Outcome outcome;
    EXPECT_TRUE(Ends(process, kQuickExitMs)) << "the later start keeps running";
    outcome.exitCode = process->exitCode();
    outcome.err = QString::fromUtf8(process->readAllStandardError());
    return outcome;
}
} // namespace

// The running copy is a SingleInstance in this process, as the program makes it: it counts the
// requests to come forward that later starts of the real program send.
class OtherDictionaryTest : public ::testing::Test {
protected:
    void SetUp() override {
        copy_.ShareRuntimeWith(environment_);
        copy_.AddBundledDictionary();
        other_ = QDir(copy_.TempDir()).filePath(QStringLiteral("別の 辞書.mdb"));
        ASSERT_TRUE(QFile::copy(copy_.DictionaryPath(), other_));

        running_ = std::make_unique<SingleInstance>(copy_.DictionaryPath());
        ASSERT_TRUE(running_->BecomePrimary());
        ASSERT_EQ(running_->SocketPath(), copy_.SocketPath());
        QObject::connect(
            running_.get(), &SingleInstance::ActivationRequested, running_.get(),
            [this] { ++activations_; }, Qt::DirectConnection);
        running_->SetReady();
    }
    void TearDown() override { running_.reset(); }
    Outcome Later(const QStringList& arguments) {
        return Finish(copy_.Start(QStringLiteral(":0"), {}, arguments));
    }

    ProgramCopy copy_;
    QString other_;
    std::unique_ptr<SingleInstance> running_;
    std::atomic<int> activations_ = 0;
    ScopedEnvironment environment_;
};

TEST_F(OtherDictionaryTest, AnotherDictionaryIsRefusedWithStatusOneAndNothingComesForward) {
    const Outcome later = Later({QStringLiteral("-d"), other_});
    EXPECT_EQ(later.exitCode, 1);
    EXPECT_TRUE(later.err.contains(QStringLiteral("a running copy shows the dictionary %1; %2 was "
                                                  "not opened")
                                       .arg(copy_.DictionaryPath(), other_)))
        << later.err.toStdString();
    // The message box; without a display it is written out.
    EXPECT_TRUE(later.err.contains(QStringLiteral("Tessarine 2000: 別の辞書を表示している")))
        << later.err.toStdString();
    EXPECT_EQ(activations_, 0);
}

TEST_F(OtherDictionaryTest, AMissingNamedFileIsAnotherDictionaryAndIsNeverOpened) {
    const QString missing = QDir(copy_.TempDir()).filePath(QStringLiteral("missing.mdb"));
    const Outcome later = Later({QStringLiteral("-d"), missing});
    EXPECT_EQ(later.exitCode, 1);
    EXPECT_TRUE(later.err.contains(missing)) << later.err.toStdString();
    EXPECT_FALSE(later.err.contains(QStringLiteral("データベースが開けません")));
    EXPECT_EQ(activations_, 0);
}

TEST_F(OtherDictionaryTest, TheSameFileByAnyNameHandsOver) {
    const QString link = QDir(copy_.TempDir()).filePath(QStringLiteral("link.mdb"));
    ASSERT_TRUE(QFile::link(copy_.DictionaryPath(), link));
    const QString viaDots =
        copy_.Dir() + QStringLiteral("/../") + QFileInfo(copy_.Dir()).fileName() + "/ABBR.MDB";
    int expected = 0;
    for (const QString& name : {copy_.DictionaryPath(), link, viaDots}) {
        const Outcome later = Later({QStringLiteral("--dictionary"), name});
        EXPECT_EQ(later.exitCode, 0) << later.err.toStdString();
        EXPECT_EQ(activations_, ++expected) << name.toStdString();
    }
}

TEST_F(OtherDictionaryTest, AStartThatNamesNoDictionaryHandsOverToAnyCopy) {
    // The running copy shows a named file; a plain start (the menu entry) brings it forward.
    running_.reset();
    running_ = std::make_unique<SingleInstance>(other_);
    ASSERT_TRUE(running_->BecomePrimary());
    QObject::connect(
        running_.get(), &SingleInstance::ActivationRequested, running_.get(),
        [this] { ++activations_; }, Qt::DirectConnection);
    const Outcome later = Later({});
    EXPECT_EQ(later.exitCode, 0) << later.err.toStdString();
    EXPECT_EQ(activations_, 1);
}

// Two real copies of the program.
TEST(OtherDictionaryProgramTest, TheRunningCopyKeepsItsDictionaryAndLaterStartsAreToldWhy) {
    ProgramCopy copy;
    copy.AddBundledDictionary();
    const QString named = QDir(copy.TempDir()).filePath(QStringLiteral("大きい 辞書.mdb"));
    ASSERT_TRUE(QFile::copy(copy.DictionaryPath(), named));

    QProcess* first = copy.Start(QStringLiteral(":0"), {}, {QStringLiteral("-d"), named});
    QElapsedTimer timer;
    timer.start();
    const QByteArray ready = "tessarine-2000 ready " + QUrl::toPercentEncoding(named);
    while (ProgramCopy::Status(copy.SocketPath()) != ready && timer.elapsed() < 30000)
        ASSERT_FALSE(first->waitForFinished(20)) << first->readAllStandardError().toStdString();
    ASSERT_EQ(ProgramCopy::Status(copy.SocketPath()), ready);

    // The dictionary beside the program is another one.
    const Outcome refused =
        Finish(copy.Start(QStringLiteral(":0"), {}, {QStringLiteral("-d"), copy.DictionaryPath()}));
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(named)) << refused.err.toStdString();

    const Outcome same = Finish(copy.Start(QStringLiteral(":0"), {}, {named}));
    EXPECT_EQ(same.exitCode, 0) << same.err.toStdString();
    const Outcome plain = Finish(copy.Start());
    EXPECT_EQ(plain.exitCode, 0) << plain.err.toStdString();

    EXPECT_EQ(first->state(), QProcess::Running);
    EXPECT_EQ(ProgramCopy::Status(copy.SocketPath()), ready);
}
