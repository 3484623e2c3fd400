#include "tools/JapaneseGlossary.h"

#include "tools/VeraRecord.h"

#include <QRegularExpression>
#include <algorithm>

namespace {

// Glosses longer than this are explanations, never an abbreviation's spelled-out form.
constexpr int kLongestGloss = 120;
// Headwords and readings longer than this are phrases, not terms for a description's first line.
constexpr int kLongestWord = 64;

bool IsHyphen(QChar c) {
    return c == QLatin1Char('-') || c == QChar(u'\u2010') || c == QChar(u'\u2011');
}

// A gloss that is itself an abbreviation: "CPU", "CD-DA", "PCIe".
bool LooksLikeAbbreviation(const QString& gloss) {
    if (gloss.size() > 16 || gloss.contains(QLatin1Char(' ')))
        return false;
    for (const QChar c : gloss) {
        if (c.isUpper())
            return true;
    }
    return false;
}

QString WithoutParenthesised(const QString& text) {
    static const QRegularExpression remark(QStringLiteral(R"(\s*\([^()]*\))"));
    QString out = text;
    out.remove(remark);
    return out.trimmed();
}

QString WithoutBracketed(const QString& text) {
    static const QRegularExpression remark(QStringLiteral(R"(\s*\[[^\]]*\])"));
    QString out = text;
    out.remove(remark);
    return out.trimmed();
}

// Words that differ only by a middle dot or a long vowel mark are one word written two ways
// ("ウェブ・サーバー", "ウェブサーバ").
QString Variant(const QString& word) {
    QString out;
    out.reserve(word.size());
    for (const QChar c : word) {
        if (c != QChar(u'・') && c != QChar(u'ー') && c != QChar(u'･') && c != QChar(u'ｰ'))
            out += c;
    }
    return out;
}

void AppendNew(QStringList* list, const QString& text, qsizetype most) {
    if (!text.isEmpty() && !list->contains(text) && list->size() < most)
        list->append(text);
}

} // namespace

QString JapaneseGlossary::Folded(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (!c.isSpace() && !IsHyphen(c))
            out += c.toLower();
    }
    return out;
}

void JapaneseGlossary::Add(const EdictEntry& entry, EdictSource source) {
    if (entry.headword.size() > kLongestWord || entry.reading.size() > kLongestWord)
        return;
    if (AbbreviationHeadwords::IsAbbreviationHeadword(entry.headword)) {
        abbreviations_.Add(entry, source);
        return;
    }
    const int word = int(words_.size());
    words_.append({entry.headword, entry.reading, source});
    if (entry.common)
        common_.insert(entry.headword);
    for (const EdictSense& sense : entry.senses) {
        const bool computing = source == EdictSource::Compdic || sense.Computing();
        QStringList keys;
        for (const QString& gloss : sense.glosses) {
            if (LooksLikeAbbreviation(gloss))
                AppendNew(&keys, EntryKeyOf(gloss), 16);
        }
        int keysIndex = -1;
        if (!keys.isEmpty()) {
            keysIndex = int(abbreviationKeys_.size());
            abbreviationKeys_.append(keys);
        }
        for (qsizetype g = 0; g < sense.glosses.size(); ++g) {
            const QString& gloss = sense.glosses.at(g);
            if (gloss.size() > kLongestGloss)
                continue;
            const QString folded = Folded(gloss);
            if (folded.isEmpty())
                continue;
            byGloss_[folded].append({word, computing, false, g == 0, keysIndex});
            if (!computing)
                continue;
            const QString bare = Folded(WithoutParenthesised(gloss));
            if (!bare.isEmpty() && bare != folded)
                byGloss_[bare].append({word, computing, true, g == 0, keysIndex});
        }
    }
}

struct JapaneseGlossary::Ranked {
    int word;
    bool computing;
    bool loose;
    bool namesAbbreviation;
    bool common;
    bool first;
    qsizetype length;
};

JapaneseTerms JapaneseGlossary::TermsFor(const QString& key, const QString& expansion) const {
    QList<Ranked> found;
    auto collect = [&](const QString& form, bool looseForm) {
        const auto hit = byGloss_.constFind(form);
        if (form.isEmpty() || hit == byGloss_.constEnd())
            return;
        for (const Occurrence& o : hit.value()) {
            if (looseForm && !o.computing)
                continue;
            const bool names =
                o.abbreviationKeys >= 0 && abbreviationKeys_.at(o.abbreviationKeys).contains(key);
            const Word& w = words_.at(o.word);
            found.append({o.word, o.computing, o.loose || looseForm, names,
                          common_.contains(w.headword), o.first, Variant(w.headword).size()});
        }
    };
    const QString exact = Folded(expansion);
    collect(exact, false);
    const QString bare = Folded(WithoutBracketed(expansion));
    if (bare != exact)
        collect(bare, true);
    JapaneseTerms result;
    result.abbreviationReadings = abbreviations_.ReadingsFor(key, expansion);

    std::stable_sort(found.begin(), found.end(), [this](const Ranked& a, const Ranked& b) {
        const Word& x = words_.at(a.word);
        const Word& y = words_.at(b.word);
        if (x.source != y.source)
            return x.source < y.source;
        if (a.computing != b.computing)
            return a.computing;
        if (a.loose != b.loose)
            return b.loose;
        if (a.namesAbbreviation != b.namesAbbreviation)
            return a.namesAbbreviation;
        if (a.common != b.common)
            return a.common;
        if (a.first != b.first)
            return a.first;
        if (a.length != b.length)
            return a.length < b.length;
        return a.word < b.word;
    });

    QHash<QString, int> termByVariant;
    for (const Ranked& r : found) {
        const Word& w = words_.at(r.word);
        const QString variant = Variant(w.headword);
        const auto same = termByVariant.constFind(variant);
        if (same != termByVariant.constEnd()) {
            JapaneseTerm& term = result.terms[same.value()];
            if (term.word == w.headword)
                AppendNew(&term.readings, w.reading, kMostTerms);
            continue;
        }
        if (result.terms.size() >= kMostTerms)
            continue;
        termByVariant.insert(variant, int(result.terms.size()));
        JapaneseTerm term{w.headword, {}};
        AppendNew(&term.readings, w.reading, kMostTerms);
        result.terms.append(term);
    }
    return result;
}
