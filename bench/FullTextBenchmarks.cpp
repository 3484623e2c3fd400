// Speed of the full-text search on the million-entry dictionary: building its index, queries of
// long and short terms through the index alone (as the sqlite3 shell can run them) and with the
// lines the window lists, the first result of a scan, and how soon a new query takes over from a
// running scan. The index is built into the build tree once and reused; the build benchmark
// itself writes into a directory of its own.
#include "bench/BenchDictionary.h"
#include "bench/BenchmarkMain.h"
#include "data/DictionaryFile.h"
#include "fulltext/FullTextQuery.h"
#include "fulltext/FullTextService.h"
#include "fulltext/HitReader.h"
#include "fulltext/IndexFiles.h"
#include "fulltext/IndexSearch.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>
#include <atomic>
#include <benchmark/benchmark.h>
#include <climits>
#include <cstdio>
#include <thread>

namespace {

QString IndexDir() {
    return BenchDictionary::DataDir() + QStringLiteral("/fulltext");
}

struct Opened {
    SqliteDb dictionary;
    SqliteDb index;
    IndexKey key;
};

// The million-entry dictionary and its index, made on first use.
Opened* Million() {
    static Opened* opened = [] {
        if (!BenchDictionary::EnsureLargeDictionary())
            return static_cast<Opened*>(nullptr);
        auto* o = new Opened;
        o->dictionary = DictionaryFile::OpenSqlite(BenchDictionary::LargeDictionaryPath());
        o->key = IndexKeys::Of(BenchDictionary::LargeDictionaryPath());
        o->index = IndexFiles::OpenValid(IndexFiles::PathFor(IndexDir(), o->key), o->key);
        if (!o->index) {
            std::fprintf(stderr, "Building the full-text index of %s ...\n",
                         qPrintable(BenchDictionary::LargeDictionaryPath()));
            QElapsedTimer clock;
            clock.start();
            IndexFiles::BuildResult built =
                IndexFiles::Build(IndexDir(), o->key, o->dictionary.get(), {});
            if (built.outcome != IndexFiles::Outcome::Ready) {
                std::fprintf(stderr, "cannot build the index: %s\n", qPrintable(built.error));
                return static_cast<Opened*>(nullptr);
            }
            std::fprintf(stderr, "Built in %.1f s\n", double(clock.elapsed()) / 1000.0);
            o->index = std::move(built.db);
        }
        std::fprintf(stderr, "Index: %s, %.1f MB\n",
                     qPrintable(IndexFiles::PathFor(IndexDir(), o->key)),
                     double(QFileInfo(IndexFiles::PathFor(IndexDir(), o->key)).size()) / 1e6);
        return o;
    }();
    return opened;
}

QStringList Terms(const char* query) {
    return FullTextQuery::Parse(QString::fromUtf8(query)).terms;
}

qint64 MatchCount(sqlite3* index, const QStringList& terms) {
    qint64 count = 0;
    IndexSearch::Run(index, terms, INT_MAX, {}, [&](const IndexSearch::Hit&) { ++count; });
    return count;
}

// The index alone: the ids of the first 500 entries in listing order. The time to the first of
// them is kept as a counter.
void IndexOnly(benchmark::State& state, const char* query) {
    Opened* o = Million();
    if (!o) {
        state.SkipWithError("no benchmark dictionary or index");
        return;
    }
    const QStringList terms = Terms(query);
    int hits = 0;
    double firstMs = 0;
    QElapsedTimer clock;
    for (auto _ : state) {
        hits = 0;
        clock.start();
        qint64 firstNs = -1;
        IndexSearch::Run(o->index.get(), terms, FullTextLimits::kMaxResults, {},
                         [&](const IndexSearch::Hit& hit) {
                             if (firstNs < 0)
                                 firstNs = clock.nsecsElapsed();
                             benchmark::DoNotOptimize(hit);
                             ++hits;
                         });
        firstMs += double(std::max<qint64>(firstNs, 0)) / 1e6;
    }
    state.counters["rows"] = hits;
    state.counters["first_ms"] = benchmark::Counter(firstMs, benchmark::Counter::kAvgIterations);
    state.counters["matched"] = double(MatchCount(o->index.get(), terms));
}

// What the window receives: each result with its abbreviation, spelled-out form and excerpt.
void Listed(benchmark::State& state, const char* query) {
    Opened* o = Million();
    if (!o) {
        state.SkipWithError("no benchmark dictionary or index");
        return;
    }
    const QStringList terms = Terms(query);
    HitReader reader(o->dictionary.get());
    int hits = 0;
    for (auto _ : state) {
        QList<FullTextHit> listed;
        IndexSearch::Run(
            o->index.get(), terms, FullTextLimits::kMaxResults, {},
            [&](const IndexSearch::Hit& hit) { listed.append(reader.Read(hit.entry, terms)); });
        hits = int(listed.size());
        benchmark::DoNotOptimize(listed);
    }
    state.counters["rows"] = hits;
}

// The queries the speed targets are set for: one term of three characters or more with well
// over 500 matches, two such terms, and one- and two-character terms: common, rare and absent.
BENCHMARK_CAPTURE(IndexOnly, one_term, "暗号技術")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(IndexOnly, two_terms, "暗号技術 標準化委員会")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(IndexOnly, two_terms_other, "暗号技術 誤りを検出")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(IndexOnly, short_common, "技術")->Unit(benchmark::kMillisecond);
// 295 entries spread over the whole list: read for a moment, then found through the vocabulary.
BENCHMARK_CAPTURE(IndexOnly, short_rare, "zz")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(IndexOnly, short_absent, "ぬぬ")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(IndexOnly, one_char_absent, "ゑ")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(IndexOnly, long_and_short, "暗号技術 ぬ")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(Listed, one_term, "暗号技術")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Listed, two_terms, "暗号技術 標準化委員会")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Listed, short_common, "技術")->Unit(benchmark::kMillisecond);

// A new query while the texts are being read for an absent short term (which goes on for 50 ms
// before the vocabulary is asked): the time from asking to the new query's last result, through
// the worker thread as the window uses it.
void NewQueryDuringScan(benchmark::State& state) {
    if (!Million()) {
        state.SkipWithError("no benchmark dictionary or index");
        return;
    }
    FullTextService service(WorkerDictionary::Of(BenchDictionary::LargeDictionaryPath(), nullptr),
                            IndexDir());
    QEventLoop loop;
    bool ready = false;
    quint64 waitingFor = 0;
    QObject::connect(&service, &FullTextService::Ready, &loop, [&] {
        ready = true;
        loop.quit();
    });
    QObject::connect(&service, &FullTextService::SearchFinished, &loop, [&](quint64 search) {
        if (search == waitingFor)
            loop.quit();
    });
    service.Start();
    if (!ready)
        loop.exec();
    QElapsedTimer clock;
    for (auto _ : state) {
        state.PauseTiming();
        service.Search(QStringLiteral("ぬぬ"));
        QTimer::singleShot(25, &loop, &QEventLoop::quit); // the reading is under way
        loop.exec();
        state.ResumeTiming();
        waitingFor = service.Search(QStringLiteral("暗号技術"));
        loop.exec();
    }
}
BENCHMARK(NewQueryDuringScan)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

// How soon a search stops once cancelled, in the middle of reading every text (the vocabulary
// is never asked here, so the reading would take the whole table).
void CancelReading(benchmark::State& state) {
    Opened* o = Million();
    if (!o) {
        state.SkipWithError("no benchmark dictionary or index");
        return;
    }
    const QStringList terms = Terms("ぬぬ");
    for (auto _ : state) {
        std::atomic<bool> stop{false};
        std::atomic<qint64> stoppedAt{0};
        QElapsedTimer clock;
        std::thread search([&] {
            IndexSearch::Run(
                o->index.get(), terms, FullTextLimits::kMaxResults, [&] { return stop.load(); },
                [](const IndexSearch::Hit&) {}, {std::chrono::hours(1)});
            stoppedAt = clock.nsecsElapsed();
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        clock.start();
        stop = true;
        search.join();
        state.SetIterationTime(double(stoppedAt.load()) / 1e9);
    }
}
BENCHMARK(CancelReading)->Unit(benchmark::kMillisecond)->Iterations(5)->UseManualTime();

// Building the index, with its size.
void Build(benchmark::State& state, const QString& dictionary) {
    if (!QFileInfo::exists(dictionary)) {
        state.SkipWithError(qPrintable(QStringLiteral("no dictionary at ") + dictionary));
        return;
    }
    SqliteDb db = DictionaryFile::OpenSqlite(dictionary);
    const IndexKey key = IndexKeys::Of(dictionary);
    const QString dir = BenchDictionary::DataDir() + QStringLiteral("/fulltext-build");
    qint64 size = 0;
    for (auto _ : state) {
        IndexFiles::BuildResult built = IndexFiles::Build(dir, key, db.get(), {});
        if (built.outcome != IndexFiles::Outcome::Ready) {
            state.SkipWithError(qPrintable(built.error));
            return;
        }
        built.db.reset();
        size = QFileInfo(IndexFiles::PathFor(dir, key)).size();
        QFile::remove(IndexFiles::PathFor(dir, key));
    }
    state.counters["index_MB"] = double(size) / 1e6;
    state.counters["dictionary_MB"] = double(QFileInfo(dictionary).size()) / 1e6;
}
BENCHMARK_CAPTURE(Build, bundled, QStringLiteral(TESSARINE_BIN_DIR "/ABBR.MDB"))
    ->Unit(benchmark::kMillisecond);
// The dictionary scripts/run-large builds from the dictd databases and word lists.
BENCHMARK_CAPTURE(Build, dictd_large, QStringLiteral(TESSARINE_BIN_DIR "/../large/ABBR.MDB"))
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(Build, million, BenchDictionary::LargeDictionaryPath())
    ->Unit(benchmark::kSecond)
    ->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    // The worker thread reports through queued signals, which need an application.
    QCoreApplication app(argc, argv);
    return RunBenchmarks(argc, argv);
}
