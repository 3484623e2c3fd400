// Speed of finding the abbreviations of running text on the million-entry dictionary: a megabyte
// of English technical prose with the dictionary's own abbreviations in it (plurals, possessives,
// full-width forms, lower-case words the dictionary also has), and a megabyte in which every word
// is a different candidate, so that nearly every one is a question to the dictionary.
#include "bench/BenchDictionary.h"
#include "bench/BenchRandom.h"
#include "data/DictionaryFile.h"
#include "data/Recordset.h"
#include "search/TextAbbreviations.h"

#include <benchmark/benchmark.h>

namespace {

constexpr qsizetype kTextLength = 1 << 20;

sqlite3* Million() {
    static SqliteDb db = BenchDictionary::EnsureLargeDictionary()
                             ? DictionaryFile::OpenSqlite(BenchDictionary::LargeDictionaryPath())
                             : nullptr;
    return db.get();
}

// Abbreviations of the dictionary, spread over the whole file.
QStringList SampleAbbreviations(sqlite3* db, int count) {
    QStringList abbreviations;
    BenchRandom random(24);
    while (abbreviations.size() < count) {
        std::optional<Recordset> rs =
            Recordset::Open(db, QStringLiteral("SELECT Abbr FROM AbbrTB WHERE AbbrID = %1")
                                    .arg(random.Between(1, BenchDictionary::kDefaultCount)));
        if (rs && !rs->Eof())
            abbreviations << rs->Text("Abbr");
    }
    return abbreviations;
}

// Sentences of ordinary words with one abbreviation in about every eight words, written the ways
// running text writes them.
QString Prose(const QStringList& abbreviations) {
    static const char* const kWords[] = {
        "the",    "data",     "is",    "sent", "over",      "a",       "network", "and",
        "it",     "arrives",  "at",    "the",  "processor", "which",   "stores",  "results",
        "in",     "memory",   "while", "an",   "interrupt", "signals", "that",    "each",
        "Packet", "protocol", "of",    "this", "system",    "uses",    "for",     "with"};
    BenchRandom random(2026);
    QString text;
    text.reserve(kTextLength + 200);
    while (text.size() < kTextLength) {
        const int words = random.Between(8, 20);
        for (int i = 0; i < words; ++i) {
            if (random.Chance(12)) {
                QString abbr = abbreviations.at(random.Below(int(abbreviations.size())));
                if (random.Chance(10))
                    abbr += QStringLiteral("s");
                else if (random.Chance(5))
                    abbr += QStringLiteral("'s");
                else if (random.Chance(3))
                    abbr = QStringLiteral("（%1）").arg(abbr);
                text += abbr;
            } else {
                text += QLatin1String(random.Pick(kWords));
            }
            text += i + 1 < words ? QStringLiteral(" ") : QStringLiteral(". ");
        }
        if (random.Chance(20))
            text += QLatin1Char('\n');
    }
    return text;
}

// Words of two capitals and a digit or more that are all different: the worst a text can ask.
QString DistinctCandidates() {
    BenchRandom random(7);
    QString text;
    text.reserve(kTextLength + 16);
    while (text.size() < kTextLength) {
        const int length = random.Between(3, 7);
        for (int i = 0; i < length; ++i)
            text += QChar(i == 2 ? u'0' + random.Below(10) : u'A' + random.Below(26));
        text += QLatin1Char(' ');
    }
    return text;
}

void Annotate(benchmark::State& state, bool prose) {
    sqlite3* db = Million();
    if (!db) {
        state.SkipWithError("no benchmark dictionary");
        return;
    }
    const QString text = prose ? Prose(SampleAbbreviations(db, 3000)) : DistinctCandidates();
    qsizetype found = 0;
    for (auto _ : state) {
        // A new finder each time: nothing is remembered from an earlier round.
        found = TextAbbreviations::FindAll(db, text).size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["MB"] = double(text.toUtf8().size()) / 1e6;
    state.counters["words_counted"] = double(TextAbbreviations::CountingWords(text).size());
    state.counters["entries_found"] = double(found);
}
BENCHMARK_CAPTURE(Annotate, prose_1MB, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Annotate, distinct_candidates_1MB, false)->Unit(benchmark::kMillisecond);

// Splitting alone, without the dictionary.
void CountingWords(benchmark::State& state) {
    const QString text = DistinctCandidates();
    for (auto _ : state)
        benchmark::DoNotOptimize(TextAbbreviations::CountingWords(text).size());
}
BENCHMARK(CountingWords)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
