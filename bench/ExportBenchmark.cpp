// Exporting a dictionary with tessarine-export, run as the user runs it: the 13 000-entry
// dictionary of tessarine-dictd should take under 3 s per format, the million-entry benchmark
// dictionary under 2 minutes with a peak resident size under 500 MB. The program runs as a child
// process, so that its own peak memory is what is measured (Linux: /proc/PID/status).
#include "BenchDictionary.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

const QString kBin = QStringLiteral(TESSARINE_BIN_DIR);

struct ChildRun {
    int status = -1;
    long peakKilobytes = 0;
};

// The child's own high-water mark of resident memory. The resource usage that wait4 reports
// would not do: a child starts with its parent's resident size counted (on Linux), and this
// process holds a good deal after generating the million entries.
long PeakKilobytes(pid_t pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}

// Runs a program to its end with its output discarded, watching its peak memory meanwhile.
ChildRun Run(const QString& program, const QStringList& arguments) {
    std::vector<QByteArray> words{QFile::encodeName(program)};
    for (const QString& a : arguments)
        words.push_back(QFile::encodeName(a));
    std::vector<char*> argv;
    for (QByteArray& w : words)
        argv.push_back(w.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    ChildRun run;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        // The mark only rises, so reading it now and then until the end misses at most the
        // last few milliseconds.
        while (waitpid(pid, &status, WNOHANG) == 0) {
            run.peakKilobytes = std::max(run.peakKilobytes, PeakKilobytes(pid));
            usleep(20000);
        }
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    return run;
}

// The dictionary scripts/run-large builds; made here from the packages when it is not there.
QString LargeDictionary(benchmark::State& state) {
    const QString built = QDir::cleanPath(kBin + QStringLiteral("/../large/ABBR.MDB"));
    if (QFileInfo::exists(built))
        return built;
    const QStringList inputs{QStringLiteral("/usr/share/dictd/vera.index"),
                             QStringLiteral("/usr/share/dictd/foldoc.index"),
                             QStringLiteral("/usr/share/edict/edict"),
                             QStringLiteral("/usr/share/edict/compdic")};
    for (const QString& input : inputs) {
        if (!QFileInfo::exists(input)) {
            state.SkipWithError("dict-vera, dict-foldoc and edict are not all installed");
            return {};
        }
    }
    QDir().mkpath(QFileInfo(built).path());
    if (Run(kBin + QStringLiteral("/tessarine-dictd"),
            QStringList{QStringLiteral("-o"), built} + inputs)
            .status != 0) {
        state.SkipWithError("tessarine-dictd failed");
        return {};
    }
    return built;
}

void Export(benchmark::State& state, const QString& dictionary, const char* format) {
    if (dictionary.isEmpty())
        return;
    const QString out = BenchDictionary::DataDir() + QStringLiteral("/export/") +
                        QFileInfo(dictionary).dir().dirName() + QLatin1Char('-') +
                        QLatin1String(format);
    long peak = 0;
    for (auto _ : state) {
        const ChildRun run =
            Run(kBin + QStringLiteral("/tessarine-export"),
                {QStringLiteral("--format"), QLatin1String(format), QStringLiteral("-d"),
                 dictionary, QStringLiteral("-o"), out, QStringLiteral("--force")});
        if (run.status != 0) {
            state.SkipWithError("tessarine-export failed");
            return;
        }
        peak = std::max(peak, run.peakKilobytes);
    }
    qint64 bytes = 0;
    for (const QFileInfo& file : QDir(out).entryInfoList(QDir::Files))
        bytes += file.size();
    state.counters["peak_rss_MB"] = double(peak) / 1024.0;
    state.counters["files_MB"] = double(bytes) / 1e6;
}

void ExportLarge(benchmark::State& state, const char* format) {
    Export(state, LargeDictionary(state), format);
}

void ExportMillion(benchmark::State& state, const char* format) {
    if (!BenchDictionary::EnsureLargeDictionary()) {
        state.SkipWithError("the million-entry dictionary could not be generated");
        return;
    }
    Export(state, BenchDictionary::LargeDictionaryPath(), format);
}

BENCHMARK_CAPTURE(ExportLarge, stardict, "stardict")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);
BENCHMARK_CAPTURE(ExportLarge, dictd, "dictd")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);
BENCHMARK_CAPTURE(ExportMillion, stardict, "stardict")
    ->Unit(benchmark::kSecond)
    ->UseRealTime()
    ->Iterations(1);
BENCHMARK_CAPTURE(ExportMillion, dictd, "dictd")
    ->Unit(benchmark::kSecond)
    ->UseRealTime()
    ->Iterations(1);

} // namespace

BENCHMARK_MAIN();
