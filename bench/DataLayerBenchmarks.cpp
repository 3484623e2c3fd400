// Speed of the data layer on a dictionary of a million entries: the searches of the search
// panel, showing one entry, and opening the file at start-up. The dictionary is generated into
// the build tree the first time it is needed and reused afterwards.
#include "bench/BenchDictionary.h"
#include "data/DbAccess.h"
#include "data/ListSink.h"
#include "data/Recordset.h"
#include "entryview/EntryMarkup.h"

#include <QDir>
#include <QElapsedTimer>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

// The dictionary the benchmarks read, opened once.
DbAccess::Dictionary& Db() {
    static DbAccess::Dictionary dictionary;
    return dictionary;
}

constexpr int kEntries = BenchDictionary::kDefaultCount;

// Opens the dictionary as start-up does, unless it is open already.
bool EnsureOpen(benchmark::State& state) {
    if (!BenchDictionary::EnsureLargeDictionary()) {
        state.SkipWithError("no benchmark dictionary");
        return false;
    }
    if (Db().Db())
        return true;
    StoringSink categories;
    if (Db().Open(BenchDictionary::LargeDictionaryPath(), categories) <= 0) {
        state.SkipWithError("cannot open the benchmark dictionary");
        return false;
    }
    return true;
}

// How many entries the search matches in all, beyond the 500 it lists.
qint64 MatchCount(const QString& key, const QString& letter, qint16 category) {
    QString sql = DbAccess::BuildSearchSql(key, letter, category);
    sql.replace(QLatin1String("SELECT * FROM"), QLatin1String("SELECT count(*) AS Matched FROM"));
    sql.remove(QLatin1String(" ORDER BY [Abbr],[Letter]"));
    std::optional<Recordset> rs = Recordset::Open(Db().Db(), sql);
    return rs ? rs->Integer("Matched") : -1;
}

void Search(benchmark::State& state, const char* key, const char* letter, int category) {
    if (!EnsureOpen(state))
        return;
    const QString k = QString::fromUtf8(key);
    const QString l = QString::fromUtf8(letter);
    StoringSink results;
    qint16 rows = 0;
    for (auto _ : state) {
        rows = Db().SearchEntries(k, l, qint16(category), results);
        benchmark::DoNotOptimize(rows);
    }
    state.counters["rows"] = rows;
    state.counters["matched"] = double(MatchCount(k, l, qint16(category)));
}

// The searches the speed targets are set for.
BENCHMARK_CAPTURE(Search, exact_cpu, "cpu", "", 0)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Search, prefix_c, "C*", "", 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Search, everything, "*", "", 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Search, pattern_any_pu, "?PU", "", 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Search, pattern_net, "*NET*", "", 0)->Unit(benchmark::kMillisecond);
// Further searches a user makes: a narrower prefix, by the spelled-out form, by category alone.
BENCHMARK_CAPTURE(Search, prefix_cp, "CP*", "", 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Search, letter_prefix_central, "", "central*", 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Search, category_only, "", "", 3)->Unit(benchmark::kMillisecond);

// What showing an entry reads: its display text and its related words.
QString ShownText(qint32 id) {
    const std::optional<DbAccess::EntryRecord> entry = Db().GetEntry(id);
    return entry ? HyperText::EntryMarkup(entry->abbr, entry->letter, entry->categoryShortName,
                                          entry->hyperText)
                 : QString();
}

void ShowEntry(qint32 id) {
    StoringSink links;
    const QString text = ShownText(id);
    benchmark::DoNotOptimize(text.data());
    links.Clear();
    Db().LoadLinkList(id, links);
}

void EntryRetrieval(benchmark::State& state) {
    if (!EnsureOpen(state))
        return;
    StoringSink results;
    if (Db().SearchEntries(QStringLiteral("cpu"), QString(), 0, results) < 1) {
        state.SkipWithError("CPU is not in the dictionary");
        return;
    }
    const qint32 id = results.items.front().data;
    QString text;
    StoringSink links;
    qint16 linkCount = 0;
    for (auto _ : state) {
        text = ShownText(id);
        links.Clear();
        linkCount = Db().LoadLinkList(id, links);
        benchmark::DoNotOptimize(text.data());
    }
    state.counters["text_chars"] = double(text.size());
    state.counters["links"] = linkCount;
}
BENCHMARK(EntryRetrieval)->Unit(benchmark::kMicrosecond);

// The same over entries spread across the whole file, as following references does.
void EntryRetrievalSpread(benchmark::State& state) {
    if (!EnsureOpen(state))
        return;
    quint32 next = 1;
    for (auto _ : state) {
        next = next * 1103515245u + 12345u;
        ShowEntry(qint32(next % kEntries) + 1);
    }
}
BENCHMARK(EntryRetrievalSpread)->Unit(benchmark::kMicrosecond);

// Start-up's part: open the file, read the categories, close it again.
void OpenDictionary(benchmark::State& state) {
    if (!EnsureOpen(state))
        return;
    qint16 categories = 0;
    for (auto _ : state) {
        StoringSink list;
        DbAccess::Dictionary dictionary;
        categories = dictionary.Open(BenchDictionary::LargeDictionaryPath(), list);
        dictionary.Close();
        benchmark::DoNotOptimize(categories);
    }
    state.counters["categories"] = categories;
    if (categories <= 0)
        state.SkipWithError("the dictionary did not open");
}
BENCHMARK(OpenDictionary)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
