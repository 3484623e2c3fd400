#include "tools/ReferenceResolver.h"

#include "tools/VeraRecord.h"

#include <QSet>
#include <algorithm>
#include <cmath>

namespace {

// A shared word of the sense's expansion says most about it, one of its tags less, one of its
// text least.
constexpr float kExpansionWeight = 3.0f;
constexpr float kTagWeight = 2.0f;
constexpr float kTextWeight = 1.0f;
// About as much as one rare shared word of a text.
constexpr float kCategoryBonus = 4.0f;
constexpr float kDemotedPenalty = 6.0f;
// The sense whose expansion is the title of the article the encyclopaedia links to.
constexpr float kNamedBonus = 20.0f;
// Per doubling of the references to a sense from the rest of the dictionary.
constexpr float kReferencesWeight = 0.7f;
// How far the best sense must lead the next to win on evidence.
constexpr float kClearLead = 3.0f;

// Remarks in square brackets ("Internet Protocol [version 4]") are no part of the expansion.
QString WithoutRemarks(const QString& letter) {
    QString bare;
    int depth = 0;
    for (const QChar c : letter) {
        if (c == QLatin1Char('['))
            ++depth;
        else if (c == QLatin1Char(']') && depth > 0)
            --depth;
        else if (depth == 0)
            bare += c;
    }
    return bare;
}

QString RemarksOf(const QString& letter) {
    return letter.size() == WithoutRemarks(letter).size() ? QString() : letter;
}

bool HasLowerCase(const QString& text) {
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.isLower(); });
}

const QSet<QString>& CommonWords() {
    static const QSet<QString> words = [] {
        QSet<QString> set;
        for (const char* w :
             {"a",     "an",    "and",   "are",   "as",   "at",   "be",    "by",   "can",
              "for",   "from",  "has",   "have",  "in",   "into", "is",    "it",   "its",
              "may",   "not",   "of",    "on",    "one",  "or",   "other", "see",  "such",
              "that",  "the",   "their", "these", "this", "to",   "used",  "was",  "were",
              "which", "with",  "also",  "all",   "any",  "some", "more",  "most", "than",
              "when",  "where", "who",   "what",  "but",  "if",   "so",    "two",  "eg",
              "ie",    "etc",   "been",  "there", "they", "only", "both",  "each", "many"})
            set.insert(QString::fromLatin1(w));
        return set;
    }();
    return words;
}

// Calls f with each word of the text: lower case, letters and digits with at least one letter,
// two characters or more.
template <typename F> void ForEachWord(const QString& text, F f) {
    const QString lower = text.toLower();
    const QChar* const data = lower.constData();
    const qsizetype n = lower.size();
    auto inWord = [data](qsizetype at) {
        return data[at].unicode() < 0x3000 && data[at].isLetterOrNumber();
    };
    for (qsizetype i = 0; i < n;) {
        if (!inWord(i)) {
            ++i;
            continue;
        }
        const qsizetype start = i;
        bool letter = false;
        for (; i < n && inWord(i); ++i)
            letter = letter || data[i].isLetter();
        if (i - start < 2 || !letter)
            continue;
        f(QString(data + start, i - start));
    }
}

} // namespace

struct ReferenceResolver::Scored {
    qint32 id;
    float evidence; // shared words and the category
    float total;    // evidence less the penalty for slang and old terms
};

QStringList ReferenceResolver::Words(const QString& text) {
    QStringList words;
    ForEachWord(text, [&words](const QString& word) {
        if (!CommonWords().contains(word))
            words.append(word);
    });
    return words;
}

// One look-up per word: the commonest words are entered first, as -1.
int ReferenceResolver::WordId(const QString& word) {
    if (wordIds_.isEmpty()) {
        for (const QString& common : CommonWords())
            wordIds_.insert(common, -1);
    }
    const auto found = wordIds_.constFind(word);
    if (found != wordIds_.constEnd())
        return found.value();
    const int id = int(documentFrequency_.size());
    wordIds_.insert(word, id);
    documentFrequency_.append(0);
    return id;
}

qint32 ReferenceResolver::Add(const Sense& sense) {
    Entry entry{sense.abbr,
                WithoutRemarks(sense.letter).simplified().toCaseFolded(),
                sense.category,
                sense.demoted,
                {},
                {}};
    auto weigh = [&](const QString& text, float weight) {
        ForEachWord(text, [&](const QString& word) {
            if (const int id = WordId(word); id >= 0)
                entry.bag.append({id, weight});
        });
    };
    weigh(WithoutRemarks(sense.letter), kExpansionWeight);
    weigh(sense.tags.join(QLatin1Char(' ')) + QLatin1Char(' ') + RemarksOf(sense.letter),
          kTagWeight);
    weigh(sense.text, kTextWeight);
    // Each word once, with the most it weighs.
    std::sort(entry.bag.begin(), entry.bag.end(), [](const Weighted& a, const Weighted& b) {
        return a.word != b.word ? a.word < b.word : a.weight > b.weight;
    });
    entry.bag.erase(
        std::unique(entry.bag.begin(), entry.bag.end(),
                    [](const Weighted& a, const Weighted& b) { return a.word == b.word; }),
        entry.bag.end());
    for (const Weighted& w : entry.bag) {
        entry.context.append(w.word);
        ++documentFrequency_[w.word];
    }
    // As the referring entry, its own abbreviation is evidence too: a sense that mentions it.
    ForEachWord(sense.abbr, [&](const QString& word) {
        if (const int id = WordId(word); id >= 0)
            entry.context.append(id);
    });
    std::sort(entry.context.begin(), entry.context.end());
    entry.context.erase(std::unique(entry.context.begin(), entry.context.end()),
                        entry.context.end());

    senses_.append(entry);
    const qint32 id = qint32(senses_.size());
    byFoldedAbbr_[sense.abbr.toCaseFolded()].append(id);
    const QString key = EntryKeyOf(sense.abbr);
    if (!key.isEmpty())
        byKey_[key].append(id);
    return id;
}

void ReferenceResolver::CountReferenceTo(qint32 id) {
    if (id > 0 && id <= senses_.size())
        ++senses_[id - 1].referenceCount;
}

QList<qint32> ReferenceResolver::FormCandidates(const QString& reference) const {
    QList<qint32> senses = byFoldedAbbr_.value(reference.toCaseFolded());
    if (senses.isEmpty()) {
        if (HasLowerCase(reference))
            return {};
        return byKey_.value(EntryKeyOf(reference));
    }
    QList<qint32> exact;
    bool exactCounts = false;
    for (const qint32 id : senses) {
        const Entry& e = senses_.at(id - 1);
        if (e.abbr == reference) {
            exact.append(id);
            exactCounts = exactCounts || !e.demoted;
        }
    }
    return exactCounts ? exact : senses;
}

float ReferenceResolver::WordEvidence(const Entry& candidate, const Entry& referrer,
                                      const QList<int>& excluded) const {
    const float documents = float(senses_.size());
    float sum = 0;
    auto c = candidate.bag.cbegin();
    for (const int word : referrer.context) {
        while (c != candidate.bag.cend() && c->word < word)
            ++c;
        if (c == candidate.bag.cend())
            break;
        if (c->word != word || excluded.contains(word))
            continue;
        sum += c->weight * std::log(1.0f + documents / float(documentFrequency_.at(word)));
    }
    return sum;
}

ReferenceResolver::Result ReferenceResolver::Weigh(const QList<qint32>& senses,
                                                   const QString& reference, qint32 from,
                                                   qint32 named) const {
    QList<int> excluded;
    for (const QString& word : Words(reference))
        excluded.append(wordIds_.value(word, -1));
    const Entry* referrer = from > 0 && from <= senses_.size() ? &senses_.at(from - 1) : nullptr;
    const QString namedLetter = named > 0 ? senses_.at(named - 1).letter : QString();
    QList<Scored> scored;
    for (const qint32 id : senses) {
        const Entry& e = senses_.at(id - 1);
        float evidence = 0;
        if (referrer) {
            evidence = WordEvidence(e, *referrer, excluded);
            if (e.category >= 0 && e.category == referrer->category)
                evidence += kCategoryBonus;
        }
        if (!namedLetter.isEmpty() && e.letter == namedLetter)
            evidence += kNamedBonus;
        const float prior = kReferencesWeight * std::log2(1.0f + float(e.referenceCount)) -
                            (e.demoted ? kDemotedPenalty : 0.0f);
        scored.append({id, evidence, evidence + prior});
    }
    std::stable_sort(scored.begin(), scored.end(),
                     [](const Scored& a, const Scored& b) { return a.total > b.total; });
    const Scored& best = scored.at(0);
    const Scored& next = scored.at(1);
    if (best.total - next.total >= kClearLead && best.evidence > next.evidence)
        return {best.id, How::Evidence};
    // No sense leads clearly: of those close to the lead, the one referred to most, slang and old
    // terms last, then the one with more evidence.
    const auto common = std::min_element(scored.cbegin(), scored.cend(),
                                         [this, &best](const Scored& a, const Scored& b) {
                                             const bool aClose = best.total - a.total < kClearLead;
                                             const bool bClose = best.total - b.total < kClearLead;
                                             if (aClose != bClose)
                                                 return aClose;
                                             const Entry& x = senses_.at(a.id - 1);
                                             const Entry& y = senses_.at(b.id - 1);
                                             if (x.demoted != y.demoted)
                                                 return !x.demoted;
                                             if (x.referenceCount != y.referenceCount)
                                                 return x.referenceCount > y.referenceCount;
                                             return a.total > b.total;
                                         });
    return {common->id, How::Uncertain};
}

ReferenceResolver::Result ReferenceResolver::Resolve(const QString& reference, qint32 from,
                                                     qint32 named) const {
    const QString written = reference.trimmed();
    if (written.isEmpty())
        return {};
    const QList<qint32> senses = FormCandidates(written);
    if (named == from && from > 0)
        return {};
    if (senses.isEmpty())
        return named > 0 ? Result{named, How::Exact} : Result{};
    if (senses.contains(from))
        return {};
    if (senses.contains(named) || senses.size() == 1)
        return {senses.contains(named) ? named : senses.first(), How::Exact};
    return Weigh(senses, written, from, named);
}
