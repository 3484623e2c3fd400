#include "export/ExportEntry.h"

#include "data/DbAccess.h"
#include "data/Strings.h"
#include "export/HeadwordText.h"

namespace {

// Plain text read as runs: its lines, nothing taken for markup.
DescriptionRuns::Description PlainRuns(const QString& text, bool* cleaned) {
    DescriptionRuns::Description plain;
    const QStringList lines =
        HeadwordText::DropStrayControls(text, cleaned).split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            plain.runs.push_back(
                {DescriptionRuns::Run::Kind::LineBreak, {}, false, false, false, 0});
        QString line = lines[i];
        line.remove(QLatin1Char('\r'));
        line.replace(QLatin1Char('\t'), QLatin1Char(' '));
        if (!line.isEmpty())
            plain.runs.push_back({DescriptionRuns::Run::Kind::Text, line, false, false, false, 0});
    }
    return plain;
}

} // namespace

ExportEntry ExportEntry::From(const SourceDictionary::Entry& entry,
                              const SourceDictionary& source) {
    ExportEntry e;
    bool dirty = false;
    e.abbr = HeadwordText::Clean(entry.abbr, &dirty);
    e.cleaned |= dirty;
    e.key = HeadwordText::Clean(entry.key.isEmpty() ? Strings::NormalizeKey(entry.abbr) : entry.key,
                                &dirty);
    e.cleaned |= dirty;
    e.letter = HeadwordText::Clean(entry.letter, &dirty);
    e.cleaned |= dirty;
    e.label = HeadwordText::Clean(source.CategoryLabel(entry.categoryId));
    e.url = HeadwordText::Clean(entry.url, &dirty);
    e.cleaned |= dirty;

    const QString shown = Strings::CutToCodePageBytes(entry.hyperText, DbAccess::kDescriptionBytes);
    if (!shown.isEmpty()) {
        e.description = DescriptionRuns::Read(shown);
        e.cleaned |= e.description.cleaned;
    } else {
        e.description = PlainRuns(entry.description, &e.cleaned);
    }
    for (const DescriptionRuns::Run& run : e.description.runs) {
        if (run.kind == DescriptionRuns::Run::Kind::Text && !run.text.trimmed().isEmpty())
            e.hasDescription = true;
        if (run.link > 0 && !e.linkTargets.contains(run.link))
            e.linkTargets.insert(run.link, HeadwordText::Clean(source.AbbrOf(run.link)));
    }
    e.terms = EntryTerms::Read(entry.hyperText);
    for (const SourceDictionary::RelatedWord& r : entry.related) {
        const QString word = HeadwordText::Clean(r.word, &dirty);
        e.cleaned |= dirty;
        if (!word.isEmpty())
            e.related.push_back({word, HeadwordText::Clean(source.AbbrOf(r.refId))});
    }
    return e;
}

QStringList ExportEntry::LookupWords() const {
    QStringList words;
    auto add = [&](const QString& word) {
        const QString clean = HeadwordText::Clean(word);
        if (!clean.isEmpty() && clean != abbr && !words.contains(clean))
            words << clean;
    };
    add(key);
    add(letter);
    for (const QString& word : terms.Words())
        add(word);
    return words;
}
