// Start-up of the main window, from constructing it to Form_Load returning with the window
// shown: on the bundled dictionary (target: under 100 ms) and on the dictionary of a million
// entries (target: under 150 ms). Runs on the offscreen platform unless another is chosen.
// Only the start is timed; closing the window again between two starts is not.
#include "app/frmMain.h"
#include "base/MessageBox.h"
#include "bench/BenchDictionary.h"

#include <QApplication>
#include <QElapsedTimer>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>

namespace {

// The dictionary beside the built program.
QString BundledDir() {
    return QStringLiteral(TESSARINE_BIN_DIR);
}

QString LargeDir() {
    return BenchDictionary::ProgramDirFor(BenchDictionary::LargeDictionaryPath(),
                                          BenchDictionary::DataDir(), QStringLiteral("startup"));
}

void StartWindow(benchmark::State& state, const QString& dir, const char* target) {
    // A box would wait for a click that never comes; note it and stop.
    QString failure;
    const MessageHandler previous = SetMessageHandler([&failure](const MessageRequest& r) {
        failure = r.text;
        return MessageAnswer::Ok;
    });
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        auto window = std::make_unique<frmMain>();
        const bool started = window->Form_Load(dir);
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
        window.reset();
        QApplication::processEvents();
        if (!started) {
            state.SkipWithError(qPrintable(QStringLiteral("the window did not start: ") + failure));
            break;
        }
    }
    SetMessageHandler(previous);
    state.SetLabel(target);
}

// The very first start of a run also pays for loading the fonts and styles.
void FirstStart(benchmark::State& state) {
    StartWindow(state, BundledDir(), "bundled dictionary, first window of the process");
}
BENCHMARK(FirstStart)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void StartBundled(benchmark::State& state) {
    StartWindow(state, BundledDir(), "target < 100 ms");
}
BENCHMARK(StartBundled)->UseManualTime()->Unit(benchmark::kMillisecond);

void StartMillionEntries(benchmark::State& state) {
    if (!BenchDictionary::EnsureLargeDictionary()) {
        state.SkipWithError("no benchmark dictionary");
        return;
    }
    StartWindow(state, LargeDir(), "target < 150 ms");
}
BENCHMARK(StartMillionEntries)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
