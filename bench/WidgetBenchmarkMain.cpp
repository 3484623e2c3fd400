// The main of the benchmarks that need a QApplication: the offscreen platform unless another is
// chosen, then Google Benchmark's own command line.
#include "bench/BenchmarkMain.h"

#include <QApplication>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return RunBenchmarks(argc, argv);
}
