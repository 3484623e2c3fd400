// Speed of the suggestions for a search that found nothing, on the million-entry dictionary:
// mistyped keys (one letter replaced, dropped, added or two swapped), plurals, spelled-out forms
// typed as keys, Japanese readings (through the descriptions' terms and through the full-text
// index) and the longest key that still gets edits; and what the first miss pays once, reading
// how often related words name each entry and the terms of the descriptions, on the million
// entries and on the 13 000 of scripts/run-large.
#include "bench/BenchDictionary.h"
#include "bench/BenchRandom.h"
#include "data/DbAccess.h"
#include "data/DictionaryFile.h"
#include "data/ListSink.h"
#include "data/Recordset.h"
#include "data/Strings.h"
#include "data/Suggestions.h"
#include "fulltext/ExistingIndexSearch.h"
#include "fulltext/IndexFiles.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>

namespace {

DbAccess::Dictionary* Million() {
    static DbAccess::Dictionary dictionary;
    static const bool open = [] {
        CountingSink categories;
        return BenchDictionary::EnsureLargeDictionary() &&
               dictionary.Open(BenchDictionary::LargeDictionaryPath(), categories) > 0;
    }();
    return open ? &dictionary : nullptr;
}

bool IsMiss(DbAccess::Dictionary& dictionary, const QString& key) {
    CountingSink results;
    return dictionary.SearchEntries(key, QString(), 0, results) == 0;
}

// Keys of the dictionary, spread over the file, each mistyped one way that finds nothing.
QStringList MistypedKeys(DbAccess::Dictionary& dictionary, int count) {
    QStringList keys;
    BenchRandom random(22);
    while (keys.size() < count) {
        std::optional<Recordset> rs = Recordset::Open(
            dictionary.Db(), QStringLiteral("SELECT AbbrKey FROM AbbrTB WHERE AbbrID = %1")
                                 .arg(random.Between(1, BenchDictionary::kDefaultCount)));
        if (!rs || rs->Eof())
            continue;
        QString key = rs->Text("AbbrKey");
        const int at = random.Below(int(key.size()));
        switch (keys.size() % 4) {
        case 0:
            key[at] = QChar(u'A' + random.Below(26));
            break;
        case 1:
            key.remove(at, 1);
            break;
        case 2:
            key.insert(at, QChar(u'A' + random.Below(26)));
            break;
        default:
            if (at + 1 < key.size())
                std::swap(key[at], key[at + 1]);
            break;
        }
        if (key.size() >= 2 && IsMiss(dictionary, key))
            keys << key.toLower();
    }
    return keys;
}

// The full-text index of the million entries where the full-text benchmarks keep it, built
// there first when missing (about a minute and a half).
QString FullTextIndexDir() {
    static const QString dir = [] {
        const QString path = BenchDictionary::DataDir() + QStringLiteral("/fulltext");
        const IndexKey key = IndexKeys::Of(BenchDictionary::LargeDictionaryPath());
        if (!IndexFiles::OpenValid(IndexFiles::PathFor(path, key), key)) {
            std::fprintf(stderr, "Building the full-text index into %s ...\n", qPrintable(path));
            SqliteDb db = DictionaryFile::OpenSqlite(BenchDictionary::LargeDictionaryPath());
            if (IndexFiles::Build(path, key, db.get(), {}).outcome != IndexFiles::Outcome::Ready)
                return QString();
        }
        return path;
    }();
    return dir;
}

void RunMisses(benchmark::State& state, const QStringList& typed, bool withIndex = false) {
    DbAccess::Dictionary* dictionary = Million();
    if (!dictionary) {
        state.SkipWithError("no million-entry dictionary");
        return;
    }
    Suggestions::Finder finder(*dictionary);
    if (withIndex) {
        if (FullTextIndexDir().isEmpty()) {
            state.SkipWithError("no full-text index");
            return;
        }
        auto index = std::make_shared<ExistingIndexSearch>(BenchDictionary::LargeDictionaryPath(),
                                                           FullTextIndexDir());
        finder.SetTextSearch(
            [index](const QString& text, int limit) { return index->Find(text, limit); });
    }
    for (const QString& key : typed) // what the first miss reads once
        finder.For({key, QString(), 0});
    qsizetype next = 0;
    qint64 offered = 0;
    for (auto _ : state) {
        const QList<Suggestions::Suggestion> s = finder.For({typed[next], QString(), 0});
        offered += s.size();
        next = (next + 1) % typed.size();
    }
    state.counters["suggestions"] =
        benchmark::Counter(double(offered), benchmark::Counter::kAvgIterations);
}

void Mistyped(benchmark::State& state) {
    static const QStringList keys = Million() ? MistypedKeys(*Million(), 200) : QStringList();
    RunMisses(state, keys);
}

void Plural(benchmark::State& state) {
    RunMisses(state, {QStringLiteral("cpus"), QStringLiteral("TCP/IPs"), QStringLiteral("GPU's")});
}

void SpelledOut(benchmark::State& state) {
    RunMisses(state, {QStringLiteral("central processing unit"),
                      QStringLiteral("graphics processing unit")});
}

void JapaneseReading(benchmark::State& state) {
    RunMisses(state, {QStringLiteral("シーピーユー"), QStringLiteral("中央処理装置")});
}

// Words of the descriptions' text, found through the full-text index: a common one and a rare one.
void JapaneseThroughIndex(benchmark::State& state) {
    RunMisses(state, {QStringLiteral("データベース"), QStringLiteral("暗号技術")}, true);
}

void LongestEditedKey(benchmark::State& state) {
    RunMisses(state, {QString(Suggestions::kLongestEditedKey, u'Q')});
}

// The dictionary of scripts/run-large, when it has been built beside the benchmark data.
DbAccess::Dictionary* Large() {
    static DbAccess::Dictionary dictionary;
    static const bool open = [] {
        CountingSink categories;
        return dictionary.Open(BenchDictionary::DataDir() + QStringLiteral("/../large/ABBR.MDB"),
                               categories) > 0;
    }();
    return open ? &dictionary : nullptr;
}

// What the first miss reads once: the related words' counts, and the terms of every
// description.
void FirstMiss(benchmark::State& state, const QStringList& typed, bool large = false) {
    DbAccess::Dictionary* dictionary = large ? Large() : Million();
    if (!dictionary) {
        state.SkipWithError(large ? "no dictionary in build/large (scripts/run-large builds it)"
                                  : "no million-entry dictionary");
        return;
    }
    for (auto _ : state) {
        Suggestions::Finder finder(*dictionary);
        for (const QString& key : typed)
            benchmark::DoNotOptimize(finder.For({key, QString(), 0}));
    }
}

void FirstMistypedMiss(benchmark::State& state) {
    FirstMiss(state, {QStringLiteral("cpv")});
}

void FirstJapaneseMiss(benchmark::State& state) {
    FirstMiss(state, {QStringLiteral("シーピーユー")});
}

void FirstMissesOfTheLargeDictionary(benchmark::State& state) {
    FirstMiss(state, {QStringLiteral("エイチティーティーピー"), QStringLiteral("htpp")}, true);
}

} // namespace

BENCHMARK(Mistyped)->Unit(benchmark::kMillisecond);
BENCHMARK(Plural)->Unit(benchmark::kMillisecond);
BENCHMARK(SpelledOut)->Unit(benchmark::kMillisecond);
BENCHMARK(JapaneseReading)->Unit(benchmark::kMillisecond);
BENCHMARK(JapaneseThroughIndex)->Unit(benchmark::kMillisecond);
BENCHMARK(LongestEditedKey)->Unit(benchmark::kMillisecond);
BENCHMARK(FirstMistypedMiss)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(FirstJapaneseMiss)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(FirstMissesOfTheLargeDictionary)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
