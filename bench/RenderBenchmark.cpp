// Speed of the entry view in the real window: drawing a description of the longest length that
// is read (4096 bytes) into the description box, with and without its text for screen readers,
// scrolling it, and showing an entry end to end on the dictionary of a million entries. Runs on the
// offscreen platform unless another is chosen.
#include "app/frmMain.h"
#include "base/MessageBox.h"
#include "bench/BenchDictionary.h"
#include "bench/BenchRandom.h"
#include "data/DbAccess.h"
#include "data/Strings.h"
#include "entryview/DescriptionBox.h"
#include "entryview/DescriptionLinks.h"
#include "entryview/HyperText.h"

#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QListWidget>
#include <QScrollBar>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int kEntries = BenchDictionary::kDefaultCount;

// A description as long as the program reads one: Japanese text with links, Latin words that
// must be kept whole, bold and italic runs and paragraph breaks, cut to 4096 Shift-JIS bytes,
// behind the title line that the data layer puts in front.
QString LongDescription() {
    const QString paragraph = QStringLiteral(
        "コンピュータの中で命令を読み出し、解釈し、実行する中心的な装置で、日本語では"
        "中央処理装置と呼ばれます。プログラムとデータは\\J2 主記憶\\jに置かれ、CPU は"
        "そこから命令を一つずつ取り出して計算や判断を行います。内部は \\J3 ALU\\j、"
        "制御装置、レジスタなどから構成され、\\Bclock frequency\\b や \\Iinstructions "
        "per cycle\\i が性能の目安です。The Central Processing Unit executes programs "
        "stored in memory, one instruction after another.\n\\F");
    QString body;
    while (body.size() < 4096)
        body += paragraph;
    return QStringLiteral("\\HCentral Processing Unit [HW]\\h") +
           Strings::CutToCodePageBytes(body, DbAccess::kDescriptionBytes);
}

void RenderDescription(benchmark::State& state) {
    DescriptionBox box;
    box.resize(420, 330); // the description box of a window at its start-up size
    box.show();
    QApplication::processEvents();
    const QString text = LongDescription();
    const HyperText::DisplayFont font{QApplication::font().family(), 9.0};
    HyperText::LinkRegions regions;
    qint16 count = 0;
    for (auto _ : state) {
        count = HyperText::RenderDescription(box, text, regions, font);
        benchmark::DoNotOptimize(count);
    }
    state.counters["chars"] = double(text.size());
    state.counters["regions"] = count;
    state.counters["pieces"] = double(box.Drawing().size());
}
BENCHMARK(RenderDescription)->Unit(benchmark::kMicrosecond);

// The same drawing, keeping what is drawn as text for screen readers and grouping its links: the
// difference to RenderDescription is what reading adds to showing an entry.
void RenderDescriptionWithReadingText(benchmark::State& state) {
    DescriptionBox box;
    box.resize(420, 330);
    box.show();
    QApplication::processEvents();
    const QString text = LongDescription();
    const HyperText::DisplayFont font{QApplication::font().family(), 9.0};
    HyperText::LinkRegions regions;
    HyperText::ReadingText reading;
    int links = 0;
    for (auto _ : state) {
        const qint16 count = HyperText::RenderDescription(box, text, regions, font, &reading);
        const HyperText::DescriptionLinks grouped(regions, count, reading);
        links = grouped.LinkCount();
        benchmark::DoNotOptimize(links);
    }
    state.counters["readChars"] = double(reading.text.size());
    state.counters["links"] = links;
}
BENCHMARK(RenderDescriptionWithReadingText)->Unit(benchmark::kMicrosecond);

// Everything the description box does for a newly shown entry: the drawing, its text and links,
// the scroll bar (a description this long overflows the box and is laid out again beside the
// bar) and the word to an accessibility interface that a screen reader has asked for.
void ShowDescriptionInTheBox(benchmark::State& state) {
    DescriptionBox box;
    box.resize(420, 330);
    box.show();
    QApplication::processEvents();
    QAccessible::queryAccessibleInterface(&box);
    const QString text = LongDescription();
    const HyperText::DisplayFont font{QApplication::font().family(), 9.0};
    for (auto _ : state)
        benchmark::DoNotOptimize(box.ShowDescription(text, font, true));
    state.counters["scrollBar"] = box.ScrollBar()->isVisible() ? 1 : 0;
    state.counters["contentPx"] = box.Reading().contentHeight / 15.0;
}
BENCHMARK(ShowDescriptionInTheBox)->Unit(benchmark::kMicrosecond);

// Scrolling to the end and back: the drawing is only moved and painted, never laid out.
void ScrollAndPaint(benchmark::State& state) {
    DescriptionBox box;
    box.resize(420, 330);
    box.show();
    QApplication::processEvents();
    const HyperText::DisplayFont font{QApplication::font().family(), 9.0};
    box.ShowDescription(LongDescription(), font, true);
    QImage canvas(box.size(), QImage::Format_ARGB32_Premultiplied);
    int step = 0;
    for (auto _ : state) {
        box.ScrollTo(step++ % 2 ? 0 : box.ScrollBar()->maximum());
        box.render(&canvas);
    }
    state.counters["drawings"] = double(box.DrawingNumber());
}
BENCHMARK(ScrollAndPaint)->Unit(benchmark::kMicrosecond);

// The first drawing after the display font changed, when no character has been measured yet.
void RenderDescriptionAfterFontChange(benchmark::State& state) {
    DescriptionBox box;
    box.resize(420, 330);
    box.show();
    QApplication::processEvents();
    const QString text = LongDescription();
    HyperText::DisplayFont font{QApplication::font().family(), 9.0};
    HyperText::LinkRegions regions;
    qint16 count = 0;
    for (auto _ : state) {
        font.size = font.size == 9.0 ? 10.0 : 9.0;
        count = HyperText::RenderDescription(box, text, regions, font);
        benchmark::DoNotOptimize(count);
    }
    state.counters["regions"] = count;
}
BENCHMARK(RenderDescriptionAfterFontChange)->Unit(benchmark::kMicrosecond);

// The worst shape for the layout: one word as long as a description can be, in the widest box
// with characters about a pixel (15 twips) wide, so that every line holds some 2 000 of them.
void RenderWidestWord(benchmark::State& state) {
    DescriptionBox box;
    box.resize(2400, 330); // wider than the 32 767 twips a line may use
    box.show();
    QApplication::processEvents();
    const QString text = QString(4096, QLatin1Char('w'));
    const HyperText::DisplayFont font{QApplication::font().family(), 1.5};
    HyperText::LinkRegions regions;
    for (auto _ : state) {
        benchmark::DoNotOptimize(HyperText::RenderDescription(box, text, regions, font));
    }
    state.counters["lines"] = double(box.Drawing().size());
    state.counters["twipsPerChar"] = double(box.TextWidth(text)) / text.size();
}
BENCHMARK(RenderWidestWord)->Unit(benchmark::kMicrosecond);

QString ProgramDir() {
    return BenchDictionary::ProgramDirFor(BenchDictionary::LargeDictionaryPath(),
                                          BenchDictionary::DataDir(), QStringLiteral("window"));
}

void ShowKeyword(benchmark::State& state) {
    if (!BenchDictionary::EnsureLargeDictionary()) {
        state.SkipWithError("no benchmark dictionary");
        return;
    }
    // A box would wait for a click that never comes; note it and go on.
    QString failure;
    const MessageHandler previous = SetMessageHandler([&failure](const MessageRequest& r) {
        failure = r.text;
        return MessageAnswer::Ok;
    });
    auto window = std::make_unique<frmMain>();
    if (!window->Form_Load(ProgramDir())) {
        SetMessageHandler(previous);
        state.SkipWithError(qPrintable(QStringLiteral("the window did not start: ") + failure));
        return;
    }
    QApplication::processEvents();

    // Entries spread over the whole file, as following references and the history do.
    BenchRandom random(2000);
    std::vector<qint32> ids(4096);
    for (qint32& id : ids)
        id = random.Between(1, kEntries);
    size_t next = 0;
    for (auto _ : state) {
        window->ShowKeyword(ids[next]);
        next = (next + 1) % ids.size();
    }
    state.counters["related"] = window->findChild<QListWidget*>(QStringLiteral("lstLink"))->count();
    state.counters["regions"] =
        window->findChild<DescriptionBox*>(QStringLiteral("pbxDescription"))->RegionCount();
    window.reset();
    QApplication::processEvents();
    SetMessageHandler(previous);
}
BENCHMARK(ShowKeyword)->Unit(benchmark::kMicrosecond);

} // namespace
