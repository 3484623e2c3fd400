#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <vector>

// A desktop of the test's own, made of real peer programs: an X server (Xvfb), for Wayland a
// compositor (Weston) nested in it, and a session bus. Everything it starts gets a private
// runtime folder, so that nothing meets the user's desktop, another test or another copy of the
// program; everything it started ends with it.
//
// Xvfb picks a free display number itself; TESSARINE_TEST_X_DISPLAY=N asks for display :N.
class TestDesktop {
public:
    enum class Kind { X11, Wayland };

    explicit TestDesktop(Kind kind);
    ~TestDesktop();
    TestDesktop(const TestDesktop&) = delete;
    TestDesktop& operator=(const TestDesktop&) = delete;

    // Empty when the desktop is up; otherwise why not, for the test to skip with.
    QString Problem() const { return problem_; }

    Kind kind() const { return kind_; }
    QString SessionBusAddress() const { return busAddress_; }

    // The environment of a program started on this desktop, on Qt's matching platform, with
    // accessibility on as a screen reader turns it on.
    QProcessEnvironment Environment() const;
    // A variable for every program started from now on.
    void SetVariable(const QString& name, const QString& value) { extra_.insert(name, value); }

    // Starts a program on this desktop; it ends with the desktop at the latest.
    QProcess* Start(const QString& program, const QStringList& arguments,
                    const QByteArray& input = QByteArray());
    // Runs a program to its end and returns its exit code (-1 when it did not end in time).
    int Run(const QString& program, const QStringList& arguments, QString* errors = nullptr,
            int timeoutMs = 15000);

    // Whether a program is installed, by name.
    static bool Installed(const QString& program);

private:
    bool StartX();
    bool StartCompositor();
    bool StartSessionBus();
    QProcess* Launch(const QString& program, const QStringList& arguments,
                     const QProcessEnvironment& environment);

    Kind kind_;
    QTemporaryDir dir_;
    QString runtimeDir_;
    QString display_;
    QString waylandSocket_;
    QString busAddress_;
    QString problem_;
    QProcessEnvironment extra_;
    std::vector<std::unique_ptr<QProcess>> processes_;
};
