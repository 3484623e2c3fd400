#pragma once

#include "support/DataFixtures.h"

#include <QByteArray>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

// The built tessarine-lookup, run as a user runs it: without any display, with a cache folder of
// its own (where the full-text indexes go), its output read back as bytes.
struct LookupResult {
    int status = -1;
    QByteArray out;
    QByteArray err;
    QString Out() const { return QString::fromUtf8(out); }
    QString Err() const { return QString::fromUtf8(err); }
};

class LookupRunner {
public:
    static QString Program() { return QStringLiteral(TESSARINE_BIN_DIR "/tessarine-lookup"); }

    LookupRunner() { EXPECT_TRUE(cache_.isValid()); }

    QString CacheDir() const { return cache_.path(); }

    // The environment of every run: no display of any kind, the private cache.
    QProcessEnvironment Environment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "NO_COLOR"})
            env.remove(QLatin1String(name));
        env.insert(QStringLiteral("XDG_CACHE_HOME"), cache_.path());
        return env;
    }

    LookupResult Run(const QStringList& arguments, const QByteArray& input = QByteArray(),
                     int timeoutMs = 60000) const {
        QProcess process;
        process.setProcessEnvironment(Environment());
        process.start(Program(), arguments);
        return Finish(process, input, timeoutMs);
    }

    // Runs a bash command line with the program in $0 and `arguments` in $1...; for what QProcess
    // cannot pass (bytes that are not UTF-8, pipes to other programs).
    LookupResult Shell(const QString& script, const QStringList& arguments = {},
                       const QByteArray& input = QByteArray()) const {
        QProcess process;
        process.setProcessEnvironment(Environment());
        process.start(QStringLiteral("bash"),
                      QStringList{QStringLiteral("-c"), script, Program()} + arguments);
        return Finish(process, input, 60000);
    }

    // Runs the program with a terminal for its output and error output, as script(1) gives one
    // (their text arrives together, as out); `settings` are variables for the run ("TERM=dumb").
    LookupResult OnTerminal(const QStringList& arguments, const QString& settings = {}) const {
        return Shell(settings + QStringLiteral(" script -qec \"$(printf '%q ' \"$0\" \"$@\")\" "
                                               "/dev/null"),
                     arguments);
    }
    static bool CanGiveATerminal() {
        return !QStandardPaths::findExecutable(QStringLiteral("script")).isEmpty();
    }

private:
    static LookupResult Finish(QProcess& process, const QByteArray& input, int timeoutMs) {
        LookupResult result;
        if (!process.waitForStarted(10000)) {
            ADD_FAILURE() << "cannot start: " << process.errorString().toStdString();
            return result;
        }
        if (!input.isEmpty())
            process.write(input);
        process.closeWriteChannel();
        if (!process.waitForFinished(timeoutMs)) {
            ADD_FAILURE() << "still running after " << timeoutMs << " ms";
            process.kill();
            process.waitForFinished(5000);
            return result;
        }
        result.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        result.out = process.readAllStandardOutput();
        result.err = process.readAllStandardError();
        return result;
    }

    QTemporaryDir cache_;
};

// Tests of one suite that share a dictionary file, made once by Make.
template <std::unique_ptr<TestDictionary> (*Make)()> class LookupSuite : public ::testing::Test {
protected:
    static void SetUpTestSuite() { dictionary_ = Make().release(); }
    static void TearDownTestSuite() {
        delete dictionary_;
        dictionary_ = nullptr;
    }
    // Runs the program on the suite's dictionary.
    LookupResult Lookup(QStringList arguments, const QByteArray& input = QByteArray()) const {
        return runner_.Run(QStringList{QStringLiteral("-d"), dictionary_->Path()} + arguments,
                           input);
    }

    static inline TestDictionary* dictionary_ = nullptr;
    LookupRunner runner_;
};
