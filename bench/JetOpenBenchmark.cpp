#include "JetTestFiles.h"

#include "data/DbAccess.h"
#include "data/ListSink.h"
#include "data/Strings.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

// Opening a Jet dictionary of about 12 000 entries, as the program does at start-up: the file
// is read in the child process, copied, indexed and loaded into memory, and the categories are
// listed. The target is under 300 ms.
namespace {

constexpr int kEntries = 12000;
constexpr int kCategories = 9;

QString Word(QRandomGenerator& rng, int minLength, int maxLength) {
    QString w;
    const int n = minLength + rng.bounded(maxLength - minLength + 1);
    for (int i = 0; i < n; ++i)
        w += QChar(u'a' + rng.bounded(26));
    return w;
}

// A dictionary shaped like the real one: short abbreviations, spelled-out forms of a few words,
// descriptions of some hundred characters with markup and references, two or three related
// words per entry and a web address for some.
QString BuildDictionary(const QString& path) {
    QRandomGenerator rng(20000601);
    JetDictionary d;
    for (int c = 1; c <= kCategories; ++c)
        d.AddCategory(c, QStringLiteral("分類%1").arg(c), QStringLiteral("C%1").arg(c));
    for (qint32 id = 1; id <= kEntries; ++id) {
        const QString abbr = Word(rng, 2, 6).toUpper() + QString::number(id % 97);
        QStringList words;
        for (int w = 0; w < 2 + rng.bounded(4); ++w)
            words << Word(rng, 3, 10);
        QString text;
        while (text.size() < 200 + rng.bounded(900))
            text += QStringLiteral("%1 は %2 の略で、\\L%3\\l と関係する。 ")
                        .arg(abbr, words.join(QLatin1Char(' ')))
                        .arg(1 + rng.bounded(kEntries));
        d.AddEntry({id, Strings::NormalizeKey(abbr), abbr, words.join(QLatin1Char(' ')),
                    1 + rng.bounded(kCategories), text, text.left(text.size() / 2),
                    rng.bounded(3) == 0 ? QVariant(QStringLiteral("https://%1.example/").arg(id))
                                        : QVariant()});
        for (int l = 0; l < 2 + rng.bounded(2); ++l)
            d.AddLink(id, Word(rng, 2, 6).toUpper(), 1 + rng.bounded(kEntries));
    }
    return d.Writer().WriteTo(path) ? path : QString();
}

void BM_OpenJetDictionary(benchmark::State& state) {
    static QTemporaryDir dir;
    static const QString path = BuildDictionary(dir.filePath(QStringLiteral("ABBR.MDB")));
    if (path.isEmpty()) {
        state.SkipWithError("the dictionary could not be written");
        return;
    }
    // The reading happens in a child process, whose time the benchmark's CPU column does not
    // count: it is reported separately.
    auto childCpu = [] {
        struct rusage usage {};
        ::getrusage(RUSAGE_CHILDREN, &usage);
        return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
               double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
    };
    const double childStart = childCpu();
    for (auto _ : state) {
        CountingSink categories;
        DbAccess::Dictionary dictionary;
        const qint16 count = dictionary.Open(path, categories);
        dictionary.Close();
        if (count != kCategories) {
            state.SkipWithError("the dictionary did not open");
            break;
        }
    }
    state.counters["file_MB"] = double(QFileInfo(path).size()) / (1 << 20);
    state.counters["child_cpu_ms"] =
        benchmark::Counter((childCpu() - childStart) / double(state.iterations()));
}
BENCHMARK(BM_OpenJetDictionary)->Unit(benchmark::kMillisecond)->MinTime(3.0);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
