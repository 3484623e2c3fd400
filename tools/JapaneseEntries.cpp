// The part of the merge that the Japanese-English word lists contribute.
#include "tools/DictdImport.h"

#include "tools/EdrdgNotice.h"
#include "tools/JapaneseMarkup.h"
#include "tools/VeraRecord.h"

#include <QSet>

namespace {

const QLatin1String kLineEnd("\r\n");

} // namespace

void DictdImport::ReadWordList(EdictFile& file, const Progress& progress) {
    const EdictSource source =
        file.FileKind() == EdictFile::Kind::Compdic ? EdictSource::Compdic : EdictSource::Edict;
    file.Read(
        [this, source](const EdictEntry& entry) {
            glossary_.Add(entry, source);
            ++stats_.wordListEntries;
        },
        progress);
    stats_.wordListSkips.append({EdictFile::KindName(file.FileKind()), file.SkippedLines()});
}

void DictdImport::AddHeadwordEntries() {
    const AbbreviationHeadwords& abbreviations = glossary_.Abbreviations();
    stats_.headwordsWithoutExpansion = abbreviations.WithoutExpansion();
    stats_.headwordsOutsideComputing = abbreviations.OutsideComputing();
    headwords_ = abbreviations.Candidates();
    const QList<AbbreviationHeadword>& headwords = headwords_;
    if (headwords.isEmpty())
        return;
    QHash<QString, QSet<QString>> formsByKey;
    for (const Candidate& c : candidates_) {
        for (const QString& form : AbbreviationHeadwords::SameExpansionForms(c.letter))
            formsByKey[c.key].insert(form);
    }
    const qsizetype first = candidates_.size();
    for (int h = 0; h < headwords.size(); ++h) {
        const AbbreviationHeadword& headword = headwords.at(h);
        // An entry with the abbreviation and one of the sense's glosses as its expansion gets
        // the reading instead (through the glossary, as every entry does).
        bool known = false;
        const auto forms = formsByKey.constFind(headword.key);
        for (qsizetype g = 0; forms != formsByKey.constEnd() && g < headword.glosses.size(); ++g) {
            for (const QString& form :
                 AbbreviationHeadwords::SameExpansionForms(headword.glosses.at(g)))
                known = known || forms->contains(form);
        }
        const QString sense = SenseKey(headword.key, headword.expansion);
        if (known || candidateBySense_.contains(sense))
            continue;
        candidateBySense_.insert(sense, int(candidates_.size()));
        Candidate c{headword.abbr, headword.key, headword.expansion, {}, -1, false, false};
        c.headword = h;
        candidates_.append(c);
    }
    AttachArticles(first);
}

void DictdImport::AddNoticeEntry() {
    if (glossary_.IsEmpty())
        return;
    const QString abbr = QString::fromLatin1(EdrdgNotice::kAbbr);
    Candidate c{abbr, EntryKeyOf(abbr), QString::fromLatin1(EdrdgNotice::kExpansion), {}, -1, false,
                false};
    c.notice = true;
    candidates_.append(c);
}

QString DictdImport::JapaneseLead(const Candidate& c, qint32 noticeId) {
    if (glossary_.IsEmpty() || c.notice)
        return QString();
    QStringList lines;
    const JapaneseTerms terms = glossary_.TermsFor(c.key, c.letter);
    if (!terms.IsEmpty())
        lines << JapaneseTermsLine(terms);
    if (!terms.terms.isEmpty())
        ++stats_.japaneseEntries;
    if (!terms.abbreviationReadings.isEmpty())
        ++stats_.abbreviationReadings;
    if (c.headword >= 0)
        lines << HeadwordGlossesLine(headwords_.at(c.headword), noticeId);
    return lines.join(kLineEnd);
}
