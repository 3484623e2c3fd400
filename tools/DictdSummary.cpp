#include "tools/DictdSummary.h"

#include "data/DbAccess.h"

#include <QSet>
#include <tuple>

namespace {

QString EntryLines(const QString& path, const ImportStats& s, qint64 milliseconds) {
    QString text = QStringLiteral("%1: %2 entries in %3 categories, %4 related words (%5 s)\n")
                       .arg(path)
                       .arg(s.veraEntries + s.foldocEntries + s.headwordEntries + s.noticeEntries +
                            s.termEntries)
                       .arg(s.categories)
                       .arg(s.relatedWords)
                       .arg(double(milliseconds) / 1000.0, 0, 'f', 1);
    text += QStringLiteral("  %1 from VERA, %2 from FOLDOC alone, %3 FOLDOC terms the others "
                           "refer to; %4 described by a FOLDOC article (%5 cut to %6 bytes)\n")
                .arg(s.veraEntries)
                .arg(s.foldocEntries)
                .arg(s.termEntries)
                .arg(s.withArticle)
                .arg(s.articlesCut)
                .arg(DbAccess::kDescriptionBytes);
    if (s.wordListEntries > 0)
        text +=
            QStringLiteral("  from %1 words of EDICT and COMPDIC: Japanese terms for %2 entries, "
                           "the reading of the abbreviation for %3; %4 entries from "
                           "abbreviation headwords, and %5 naming the lists' licence\n")
                .arg(s.wordListEntries)
                .arg(s.japaneseEntries)
                .arg(s.abbreviationReadings)
                .arg(s.headwordEntries)
                .arg(s.noticeEntries);
    text += QStringLiteral("  %1 references linked to entries, %2 left as text\n")
                .arg(s.textLinks)
                .arg(s.plainReferences);
    text += QStringLiteral("  links and related words: %1 resolved exactly, %2 by evidence, %3 "
                           "uncertain (given the sense referred to most)\n")
                .arg(s.resolvedExactly)
                .arg(s.resolvedByEvidence)
                .arg(s.resolvedUncertain);
    return text;
}

QString SkippedLines(const ImportStats& s) {
    const std::pair<int, const char*> skipped[] = {
        {s.veraRepeated, "VERA records that repeat an earlier abbreviation and expansion "
                         "(merged into it)"},
        {s.veraNoExpansion, "VERA records without an expansion"},
        {s.veraNoAbbreviation, "VERA records without letters or digits in the abbreviation"},
        {s.foldocUnrelated, "FOLDOC articles on neither an abbreviation nor an entry's expansion, "
                            "and that no entry refers to"},
        {s.foldocSecond, "FOLDOC articles on an entry that another article already describes"},
        {s.headwordsWithoutExpansion, "abbreviation headwords glossed only by themselves"},
        {s.headwordsOutsideComputing, "abbreviation senses of COMPDIC that EDICT has outside "
                                      "computing"},
    };
    QString lines;
    for (const auto& [count, reason] : skipped) {
        if (count > 0)
            lines += QStringLiteral("  %1 %2\n").arg(count).arg(QLatin1String(reason));
    }
    for (const auto& [list, lost] : s.wordListSkips) {
        const std::tuple<int, int, QString> reasons[] = {
            {lost.notAnEntry, lost.firstNotAnEntry,
             QStringLiteral("lines not of the form HEADWORD [READING] /GLOSS/.../")},
            {lost.notEucJp, lost.firstNotEucJp, QStringLiteral("lines that are not EUC-JP text")},
            {lost.tooLong, lost.firstTooLong,
             QStringLiteral("lines longer than %1 bytes").arg(EdictFile::kLongestLine)},
        };
        for (const auto& [count, first, reason] : reasons) {
            if (count > 0)
                lines += QStringLiteral("  %1 %2 %3 (the first is line %4)\n")
                             .arg(count)
                             .arg(list, reason)
                             .arg(first);
        }
    }
    return lines.isEmpty() ? QStringLiteral("skipped: nothing\n")
                           : QStringLiteral("skipped:\n") + lines;
}

} // namespace

QString DictdSummary(const QString& path, const ImportStats& stats, qint64 milliseconds) {
    return EntryLines(path, stats, milliseconds) + SkippedLines(stats);
}

QString UncertainLinksText(const QList<UncertainLink>& links) {
    QString text;
    QSet<QString> written;
    for (const UncertainLink& link : links) {
        const QString line =
            QStringList{link.fromAbbr, link.fromLetter, link.reference, link.toAbbr, link.toLetter}
                .join(QLatin1Char('\t'));
        if (!written.contains(line)) {
            written.insert(line);
            text += line + QLatin1Char('\n');
        }
    }
    return text;
}
