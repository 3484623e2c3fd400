#pragma once

#include "support/ScopedEnvironment.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QUrl>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

// A copy of the built program in a directory of its own, started as real processes on the
// offscreen platform. Every copy has a temporary directory of its own with a private runtime
// folder inside, where the program keeps its single-copy socket and lock, so that runs of the
// tests never meet each other or a program the user is running.
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

    // Starts the program; the process belongs to this copy and is killed with it. `display`
    // is the X display the copy believes it shows its window on.
    QProcess* Start(const QString& display = QStringLiteral(":0"),
                    const QStringList& unset = QStringList(),
                    const QStringList& arguments = QStringList()) {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("TMPDIR"), tmp_.path());
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), RuntimeDir());
        env.insert(QStringLiteral("DISPLAY"), display);
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.remove(QStringLiteral("QT_SCALE_FACTOR"));
        for (const QString& name : unset)
            env.remove(name);
        process->setProcessEnvironment(env);
        process->setWorkingDirectory(tmp_.path());
        process->start(ProgramPath(), arguments);
        EXPECT_TRUE(process->waitForStarted(10000)) << qPrintable(process->errorString());
        processes_.push_back(std::move(process));
        return processes_.back().get();
    }

    // Makes this test process find the copies' socket where the started programs look for it:
    // the same runtime folder and display, for as long as `environment` lives.
    void ShareRuntimeWith(ScopedEnvironment& environment) const {
        environment.Set("XDG_RUNTIME_DIR", RuntimeDir().toLocal8Bit());
        environment.Set("DISPLAY", ":0");
        environment.Set("WAYLAND_DISPLAY", QByteArray());
    }

    // The private runtime folder the copies are given.
    QString RuntimeDir() const { return tmp_.filePath(QStringLiteral("runtime")); }
    // Where a copy started on `display` listens, and its lock.
    QString SocketPath(const QString& display = QStringLiteral(":0")) const {
        return QDir(RuntimeDir())
            .filePath(QStringLiteral("tessarine-2000-") + QString(display).replace(u':', u'_'));
    }
    QString LockPath(const QString& display = QStringLiteral(":0")) const {
        return SocketPath(display) + QStringLiteral(".lock");
    }

    // What the copy listening at `socketPath` says of itself ("tessarine-2000 ready ..."),
    // or an empty text when nothing answers.
    static QByteArray Status(const QString& socketPath) {
        QLocalSocket socket;
        socket.connectToServer(socketPath);
        if (!socket.waitForConnected(1000))
            return {};
        socket.write("status\n");
        QByteArray answer;
        while (!answer.contains('\n') && socket.waitForReadyRead(2000))
            answer += socket.readAll();
        return answer.trimmed();
    }

    // Waits until a copy started on `display` has its window up and answers later starts, or
    // until `process` ends. True when it is ready.
    bool WaitUntilReady(QProcess* process, const QString& display = QStringLiteral(":0"),
                        const QString& socketPath = QString(), int timeoutMs = 30000) const {
        const QString path = socketPath.isEmpty() ? SocketPath(display) : socketPath;
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < timeoutMs) {
            // A copy of this program, and this copy's: it names the dictionary beside it.
            if (Status(path) == "tessarine-2000 ready " + QUrl::toPercentEncoding(DictionaryPath()))
                return process->state() == QProcess::Running;
            if (process->waitForFinished(20) || process->state() == QProcess::NotRunning)
                return false;
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
