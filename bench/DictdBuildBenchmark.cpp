// Building the large dictionary from Debian's packages, as tessarine-dictd does: VERA and FOLDOC,
// then EDICT and COMPDIC, the articles laid out, every reference resolved and the articles the
// entries refer to made entries of their own; the whole build should stay under 5 s. Skips
// without the packages (scripts/run-large installs them).
#include "tools/DictdDatabase.h"
#include "tools/DictdImport.h"
#include "tools/EdictFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

const char* const kVera = "/usr/share/dictd/vera.index";
const char* const kFoldoc = "/usr/share/dictd/foldoc.index";
const char* const kEdict = "/usr/share/edict/edict";
const char* const kCompdic = "/usr/share/edict/compdic";

bool Installed(benchmark::State& state) {
    for (const char* path : {kVera, kFoldoc, kEdict, kCompdic}) {
        if (!QFile::exists(QString::fromLatin1(path))) {
            state.SkipWithError("dict-vera, dict-foldoc and edict are not all installed");
            return false;
        }
    }
    return true;
}

const auto kQuiet = [](qint64, qint64) {};

// Reading both word lists: decoding, parsing and indexing every gloss.
void ReadWordLists(benchmark::State& state) {
    if (!Installed(state))
        return;
    for (auto _ : state) {
        QString error;
        DictdImport import;
        for (const char* path : {kCompdic, kEdict}) {
            auto list = EdictFile::Open(QString::fromLatin1(path), &error);
            if (!list) {
                state.SkipWithError(qPrintable(error));
                return;
            }
            import.ReadWordList(*list, kQuiet);
        }
        benchmark::DoNotOptimize(import.Stats().wordListEntries);
    }
}
BENCHMARK(ReadWordLists)->Unit(benchmark::kMillisecond)->Iterations(3);

// The whole build, from opening the four inputs to the dictionary file in place.
void BuildWithAllFourInputs(benchmark::State& state) {
    if (!Installed(state))
        return;
    QTemporaryDir dir;
    const QString output = dir.filePath(QStringLiteral("ABBR.MDB"));
    int entries = 0;
    int japanese = 0;
    int terms = 0;
    int uncertain = 0;
    for (auto _ : state) {
        QString error;
        auto vera = DictdDatabase::Open(QString::fromLatin1(kVera), &error);
        auto foldoc = DictdDatabase::Open(QString::fromLatin1(kFoldoc), &error);
        auto edict = EdictFile::Open(QString::fromLatin1(kEdict), &error);
        auto compdic = EdictFile::Open(QString::fromLatin1(kCompdic), &error);
        DictdImport import;
        const bool read = vera && foldoc && edict && compdic &&
                          import.ReadVera(*vera, kQuiet, &error) &&
                          import.ReadFoldoc(*foldoc, kQuiet, &error);
        if (!read) {
            state.SkipWithError(qPrintable(error));
            return;
        }
        import.ReadWordList(*compdic, kQuiet);
        import.ReadWordList(*edict, kQuiet);
        const DictionaryContent dictionary = import.Build();
        if (!WriteDictionary(dictionary, output, &error, kQuiet)) {
            state.SkipWithError(qPrintable(error));
            return;
        }
        entries = int(dictionary.entries.size());
        japanese = import.Stats().japaneseEntries;
        terms = import.Stats().termEntries;
        uncertain = import.Stats().resolvedUncertain;
    }
    state.counters["entries"] = entries;
    state.counters["japanese"] = japanese;
    state.counters["terms"] = terms;
    state.counters["uncertain"] = uncertain;
}
BENCHMARK(BuildWithAllFourInputs)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
