#pragma once

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

// A copy of the built program in a directory of its own, started as real processes on the
// offscreen platform. Every copy has a private temporary directory, where the program keeps
// its single-copy socket and lock, so that runs of the tests never meet each other or a
// program the user is running.
class ProgramCopy {
public:
    ProgramCopy() {
        EXPECT_TRUE(dir_.isValid() && tmp_.isValid());
        const QString program = QStringLiteral(TESSARINE_BIN_DIR "/tessarine");
        EXPECT_TRUE(QFile::copy(program, ProgramPath())) << qPrintable(program);
        QFile::setPermissions(ProgramPath(), QFile::permissions(program));
        QDir(tmp_.path()).mkdir(QStringLiteral("runtime"));
        QFile::setPermissions(tmp_.filePath(QStringLiteral("runtime")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    ~ProgramCopy() {
        for (const auto& p : processes_) {
            if (p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished(5000);
            }
        }
    }

    QString Dir() const { return dir_.path(); }
    QString ProgramPath() const { return dir_.filePath(QStringLiteral("tessarine")); }
    QString DictionaryPath() const { return dir_.filePath(QStringLiteral("ABBR.MDB")); }
    QString TempDir() const { return tmp_.path(); }

    // Puts the bundled dictionary beside the program.
    void AddBundledDictionary() {
        EXPECT_TRUE(QFile::copy(QStringLiteral(TESSARINE_BIN_DIR "/ABBR.MDB"), DictionaryPath()));
    }
    void WriteDictionary(const QByteArray& bytes) {
        QFile file(DictionaryPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    // Starts the program; the process belongs to this copy and is killed with it.
    QProcess* Start() {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("TMPDIR"), tmp_.path());
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), tmp_.filePath(QStringLiteral("runtime")));
        env.remove(QStringLiteral("QT_SCALE_FACTOR"));
        process->setProcessEnvironment(env);
        process->setWorkingDirectory(tmp_.path());
        process->start(ProgramPath(), {});
        EXPECT_TRUE(process->waitForStarted(10000)) << qPrintable(process->errorString());
        processes_.push_back(std::move(process));
        return processes_.back().get();
    }

    // True once a started copy listens for later starts (its socket is in the private
    // temporary directory), within timeoutMs.
    bool WaitUntilListening(int timeoutMs = 15000) const {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < timeoutMs) {
            const QFileInfoList entries = QDir(tmp_.path())
                                              .entryInfoList(QDir::Files | QDir::System |
                                                             QDir::Hidden | QDir::NoDotAndDotDot);
            for (const QFileInfo& entry : entries) {
                if (!entry.fileName().endsWith(QLatin1String(".lock")))
                    return true;
            }
            QThread::msleep(20);
        }
        return false;
    }

private:
    QTemporaryDir dir_;
    QTemporaryDir tmp_;
    std::vector<std::unique_ptr<QProcess>> processes_;
};

// Waits for the process to end; false when it is still running after timeoutMs.
inline bool Ends(QProcess* process, int timeoutMs) {
    return process->state() == QProcess::NotRunning || process->waitForFinished(timeoutMs);
}

// True when the process is still running after waiting ms.
inline bool StillRunningAfter(QProcess* process, int ms) {
    return !process->waitForFinished(ms) && process->state() == QProcess::Running;
}
