#include "tools/AbbreviationHeadwords.h"

#include "tools/VeraRecord.h"

#include <QRegularExpression>
#include <algorithm>

namespace {

// The hyphens and the minus sign that EUC-JP's dashes become, in "ＣＤ−ＲＯＭ" and "Ｗｉ‐Ｆｉ".
bool IsDash(QChar c) {
    return c == QChar(u'\u2010') || c == QChar(u'\u2011') || c == QChar(u'\u2212');
}

QString LooselyFolded(QStringView text) {
    QString out;
    QString word;
    auto flush = [&] {
        if (word.size() > 3 && word.endsWith(QLatin1Char('s')) &&
            !word.endsWith(QLatin1String("ss")))
            word.chop(1);
        out += word;
        word.clear();
    };
    for (const QChar c : text) {
        if (c.isLetterOrNumber())
            word += c.toLower();
        else
            flush();
    }
    flush();
    return out;
}

QString SenseOf(const QString& key, const QString& form) {
    return key + QLatin1Char('\t') + form;
}

// Whether the letters of the key stand in the text in order, the first one first: "JPEG" in
// "Joint Photographic Experts Group", not in "language".
bool Spells(const QString& key, const QString& text) {
    const QString lowerKey = key.toLower();
    QString letters;
    for (const QChar c : text) {
        if (c.isLetterOrNumber())
            letters += c.toLower();
    }
    if (letters.isEmpty() || lowerKey.isEmpty() || letters.at(0) != lowerKey.at(0))
        return false;
    qsizetype k = 0;
    for (const QChar c : letters) {
        if (k < lowerKey.size() && c == lowerKey.at(k))
            ++k;
    }
    return k == lowerKey.size();
}

// Another abbreviation, or a name: "JPG", "Shift_JIS".
bool IsOneWordWithCapitals(const QString& gloss) {
    if (gloss.contains(QLatin1Char(' ')))
        return false;
    for (const QChar c : gloss) {
        if (c.isUpper())
            return true;
    }
    return false;
}

// The glosses of a sense as the headword is compared and spelled out by. A gloss that is the
// abbreviation with its expansion in parentheses, "JPEG (Joint Photographic Experts Group)",
// gives that expansion; one that is the abbreviation with another remark, "BASIC (language)", is
// the abbreviation itself.
QStringList ExpandedGlosses(const QString& key, const QStringList& glosses) {
    static const QRegularExpression withRemark(QStringLiteral(R"(^(.*\S)\s*\(([^()]+)\)$)"));
    QStringList out;
    for (const QString& gloss : glosses) {
        const QRegularExpressionMatch m = withRemark.match(gloss);
        if (m.hasMatch() && EntryKeyOf(m.captured(1)) == key) {
            out << (Spells(key, m.captured(2)) ? m.captured(2).trimmed() : m.captured(1));
            continue;
        }
        out << gloss;
    }
    return out;
}

} // namespace

bool AbbreviationHeadwords::IsAbbreviationHeadword(QStringView headword) {
    bool letter = false;
    for (const QChar c : headword) {
        const char16_t u = c.unicode();
        const bool fullWidth = u >= 0xFF01 && u <= 0xFF5E;
        const bool ascii = u > 0x20 && u < 0x7F;
        if (!fullWidth && !ascii && !IsDash(c))
            return false;
        const char16_t half = fullWidth ? char16_t(u - 0xFF01 + 0x21) : u;
        if ((half >= u'A' && half <= u'Z') || (half >= u'a' && half <= u'z'))
            letter = true;
    }
    return letter;
}

QString AbbreviationHeadwords::HalfWidth(QStringView text) {
    QString out = text.toString().normalized(QString::NormalizationForm_KC);
    for (QChar& c : out) {
        if (IsDash(c))
            c = QLatin1Char('-');
    }
    return out;
}

QStringList AbbreviationHeadwords::SameExpansionForms(const QString& text) {
    static const QRegularExpression remarks(QStringLiteral(R"(\s*(\[[^\]]*\]|\([^()]*\)))"));
    QStringList forms;
    const QString full = LooselyFolded(text);
    if (!full.isEmpty())
        forms << full;
    QString bare = text;
    bare.remove(remarks);
    const QString folded = LooselyFolded(bare);
    if (!folded.isEmpty() && folded != full)
        forms << folded;
    return forms;
}

void AbbreviationHeadwords::Add(const EdictEntry& entry, EdictSource source) {
    const QString abbr = HalfWidth(entry.headword);
    const QString key = EntryKeyOf(abbr);
    if (key.isEmpty())
        return;
    for (const EdictSense& sense : entry.senses) {
        const QStringList glosses = ExpandedGlosses(key, sense.glosses);
        for (const QString& gloss : glosses) {
            for (const QString& form : SameExpansionForms(gloss)) {
                QList<Reading>& readings = readingsBySense_[SenseOf(key, form)];
                auto same = std::find_if(readings.begin(), readings.end(), [&](const Reading& r) {
                    return r.reading == entry.reading;
                });
                if (same == readings.end())
                    readings.append({entry.reading, entry.common, source});
                else
                    same->common = same->common || entry.common;
            }
        }

        QString expansion;
        for (const QString& gloss : glosses) {
            if (EntryKeyOf(gloss) != key && !IsOneWordWithCapitals(gloss)) {
                expansion = gloss;
                break;
            }
        }
        const QStringList forms = SameExpansionForms(expansion);
        const QString senseKey = SenseOf(key, forms.value(0));
        const bool computing = source == EdictSource::Compdic || sense.Computing();
        if (!computing) {
            generalInEdict_.insert(senseKey);
            continue;
        }
        if (forms.isEmpty()) {
            withoutExpansion_.insert(key);
            continue;
        }
        const bool fromEdict = source == EdictSource::Edict;
        const auto found = candidateBySense_.constFind(senseKey);
        if (found != candidateBySense_.constEnd()) {
            Candidate& c = candidates_[found.value()];
            c.computingInEdict = c.computingInEdict || fromEdict;
            continue;
        }
        candidateBySense_.insert(senseKey, int(candidates_.size()));
        candidates_.append({{abbr, key, expansion, sense.glosses}, senseKey, fromEdict});
    }
}

QStringList AbbreviationHeadwords::ReadingsFor(const QString& key, const QString& expansion) const {
    QList<Reading> found;
    for (const QString& form : SameExpansionForms(expansion)) {
        for (const Reading& r : readingsBySense_.value(SenseOf(key, form))) {
            auto same = std::find_if(found.begin(), found.end(),
                                     [&](const Reading& f) { return f.reading == r.reading; });
            if (same == found.end())
                found.append(r);
            else
                same->common = same->common || r.common;
        }
    }
    std::stable_sort(found.begin(), found.end(), [](const Reading& a, const Reading& b) {
        if (a.common != b.common)
            return a.common;
        return a.source < b.source;
    });
    QStringList readings;
    for (const Reading& r : found) {
        if (!r.reading.isEmpty() && readings.size() < kMostReadings)
            readings << r.reading;
    }
    return readings;
}

bool AbbreviationHeadwords::IsOutsideComputing(const Candidate& c) const {
    return !c.computingInEdict && generalInEdict_.contains(c.sense);
}

QList<AbbreviationHeadword> AbbreviationHeadwords::Candidates() const {
    QList<AbbreviationHeadword> kept;
    for (const Candidate& c : candidates_) {
        if (!IsOutsideComputing(c))
            kept.append(c.headword);
    }
    return kept;
}

int AbbreviationHeadwords::OutsideComputing() const {
    return int(std::count_if(candidates_.begin(), candidates_.end(),
                             [this](const Candidate& c) { return IsOutsideComputing(c); }));
}
