#include "TestDesktop.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

constexpr int kStartMs = 15000;

// Waits until `ready` holds or the process ends; true when it holds.
template <typename Condition> bool WaitUntil(QProcess* process, Condition ready, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        if (ready())
            return true;
        if (process->state() == QProcess::NotRunning)
            return false;
        process->waitForReadyRead(50);
    }
    return ready();
}

// The first line a process writes on its output, or empty when it ends first.
QString FirstLine(QProcess* process) {
    QByteArray out;
    WaitUntil(
        process,
        [&] {
            out += process->readAllStandardOutput();
            return out.contains('\n');
        },
        kStartMs);
    return QString::fromUtf8(out.left(out.indexOf('\n'))).trimmed();
}

} // namespace

TestDesktop::TestDesktop(Kind kind) : kind_(kind) {
    runtimeDir_ = dir_.filePath(QStringLiteral("runtime"));
    QDir().mkpath(runtimeDir_);
    QFile::setPermissions(runtimeDir_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QDir().mkpath(dir_.filePath(QStringLiteral("cache")));
    for (const char* program : {"Xvfb", "dbus-daemon"}) {
        if (!Installed(QLatin1String(program))) {
            problem_ = QStringLiteral("%1 is not installed").arg(QLatin1String(program));
            return;
        }
    }
    if (kind_ == Kind::Wayland && !Installed(QStringLiteral("weston"))) {
        problem_ = QStringLiteral("weston is not installed");
        return;
    }
    if (StartX() && (kind_ == Kind::X11 || StartCompositor()))
        StartSessionBus();
}

TestDesktop::~TestDesktop() {
    // The last started ends first: programs, the bus, the compositor, the X server.
    for (auto it = processes_.rbegin(); it != processes_.rend(); ++it) {
        QProcess* p = it->get();
        if (p->state() == QProcess::NotRunning)
            continue;
        p->terminate();
        if (!p->waitForFinished(3000)) {
            p->kill();
            p->waitForFinished(3000);
        }
    }
}

bool TestDesktop::Installed(const QString& program) {
    return !QStandardPaths::findExecutable(program).isEmpty();
}

QProcess* TestDesktop::Launch(const QString& program, const QStringList& arguments,
                              const QProcessEnvironment& environment) {
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(environment);
    process->setWorkingDirectory(dir_.path());
    process->start(program, arguments);
    process->waitForStarted(kStartMs);
    processes_.push_back(std::move(process));
    return processes_.back().get();
}

bool TestDesktop::StartX() {
    // Xvfb writes its display number on -displayfd once it accepts clients, which a socket file
    // does not tell: one left behind by an earlier server exists before the new one listens.
    const QStringList common = {QStringLiteral("-displayfd"),   QStringLiteral("1"),
                                QStringLiteral("-screen"),      QStringLiteral("0"),
                                QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
                                QStringLiteral("tcp")};
    const QProcessEnvironment plain = QProcessEnvironment::systemEnvironment();
    // Display numbers of the caller's own: the first one free is taken. Without them Xvfb picks.
    QStringList wanted =
        qEnvironmentVariable("TESSARINE_TEST_X_DISPLAY").split(u' ', Qt::SkipEmptyParts);
    if (wanted.isEmpty())
        wanted << QString();
    for (const QString& number : wanted) {
        // A display that is taken makes Xvfb end without a word.
        QProcess* x =
            Launch(QStringLiteral("Xvfb"),
                   number.isEmpty() ? common : QStringList{u':' + number} + common, plain);
        const QString ready = FirstLine(x);
        if (!ready.isEmpty()) {
            display_ = u':' + ready;
            return true;
        }
    }
    problem_ = QStringLiteral("Xvfb did not start");
    return false;
}

bool TestDesktop::StartCompositor() {
    waylandSocket_ = QStringLiteral("tessarine-%1-test").arg(display_.mid(1));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display_);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir_);
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    QProcess* weston =
        Launch(QStringLiteral("weston"),
               {QStringLiteral("--backend=x11-backend.so"), QStringLiteral("--use-pixman"),
                QStringLiteral("--no-config"), QStringLiteral("--idle-time=0"),
                QStringLiteral("--width=1024"), QStringLiteral("--height=768"),
                QStringLiteral("--socket=") + waylandSocket_},
               env);
    const QString socket = QDir(runtimeDir_).filePath(waylandSocket_);
    if (WaitUntil(
            weston, [&] { return QFileInfo::exists(socket); }, kStartMs))
        return true;
    problem_ = QStringLiteral("weston cannot start: ") +
               QString::fromUtf8(weston->readAllStandardError()).right(400);
    return false;
}

bool TestDesktop::StartSessionBus() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display_);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir_);
    QProcess* bus = Launch(QStringLiteral("dbus-daemon"),
                           {QStringLiteral("--session"), QStringLiteral("--nofork"),
                            QStringLiteral("--print-address=1")},
                           env);
    busAddress_ = FirstLine(bus);
    if (!busAddress_.isEmpty())
        return true;
    problem_ = QStringLiteral("dbus-daemon did not start");
    return false;
}

QProcessEnvironment TestDesktop::Environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"WAYLAND_DISPLAY", "QT_SCALE_FACTOR", "XDG_ACTIVATION_TOKEN",
                             "DESKTOP_STARTUP_ID", "QT_ACCESSIBILITY"})
        env.remove(QLatin1String(name));
    env.insert(QStringLiteral("DISPLAY"), display_);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir_);
    env.insert(QStringLiteral("XDG_CACHE_HOME"), dir_.filePath(QStringLiteral("cache")));
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), busAddress_);
    env.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
    if (kind_ == Kind::Wayland) {
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
        env.insert(QStringLiteral("WAYLAND_DISPLAY"), waylandSocket_);
        // Under the sanitizers: Qt's Wayland client keeps what it bound at start-up to the end,
        // and the leak check tells its memory from ours only by whole allocation stacks, which
        // the fast unwinder cuts off in libwayland-client (see tests/sanitizers/lsan-suppressions).
        if (env.contains(QStringLiteral("ASAN_OPTIONS")))
            env.insert(QStringLiteral("ASAN_OPTIONS"),
                       env.value(QStringLiteral("ASAN_OPTIONS")) +
                           QStringLiteral(":fast_unwind_on_malloc=0"));
    } else {
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    }
    env.insert(extra_);
    return env;
}

QProcess* TestDesktop::Start(const QString& program, const QStringList& arguments,
                             const QByteArray& input) {
    QProcess* process = Launch(program, arguments, Environment());
    if (!input.isNull()) {
        // Written now: the test runs no event loop that would write it later.
        process->write(input);
        while (process->bytesToWrite() > 0 && process->waitForBytesWritten(kStartMs)) {
        }
        process->closeWriteChannel();
    }
    return process;
}

int TestDesktop::Run(const QString& program, const QStringList& arguments, QString* errors,
                     int timeoutMs) {
    QProcess* process = Launch(program, arguments, Environment());
    const bool ended = process->waitForFinished(timeoutMs);
    if (errors)
        *errors = QString::fromUtf8(process->readAllStandardError());
    return ended ? process->exitCode() : -1;
}
