#include "fulltext/FullTextQuery.h"

#include "fulltext/TextFold.h"

namespace FullTextQuery {
namespace {

// Characters a query cannot hold: control characters other than white space (NUL among them),
// and halves of surrogate pairs, which are no characters at all.
bool HasForbiddenCharacter(const QString& query) {
    for (qsizetype i = 0; i < query.size(); ++i) {
        const QChar c = query[i];
        if (c.isHighSurrogate() && i + 1 < query.size() && query[i + 1].isLowSurrogate()) {
            ++i;
            continue;
        }
        if (c.isSurrogate())
            return true;
        if (c.category() == QChar::Other_Control && !c.isSpace())
            return true;
    }
    return false;
}

} // namespace

Parsed Parse(const QString& query) {
    Parsed parsed;
    if (HasForbiddenCharacter(query)) {
        parsed.error = QStringLiteral("検索語に使えない文字（制御文字など）が含まれています。");
        return parsed;
    }
    const QString trimmed = query.trimmed();
    if (trimmed.size() > kMaxLength) {
        parsed.error = QStringLiteral("検索語が長すぎます（%1 文字まで）。").arg(kMaxLength);
        return parsed;
    }

    QStringList terms;
    QString current;
    auto finishTerm = [&] {
        if (!current.isEmpty())
            terms.append(TextFold::Fold(current));
        current.clear();
    };
    for (const QChar c : trimmed) {
        if (c.isSpace())
            finishTerm();
        else
            current += c;
    }
    finishTerm();

    // A term that another term contains adds nothing: "ab abc" asks no more than "abc".
    for (qsizetype i = 0; i < terms.size(); ++i) {
        const QString& term = terms[i];
        if (term.isEmpty())
            continue;
        bool implied = false;
        for (qsizetype j = 0; j < terms.size() && !implied; ++j) {
            if (j == i || terms[j].isEmpty())
                continue;
            // Of two equal terms the first stays.
            implied = terms[j].contains(term) && (terms[j].size() > term.size() || j < i);
        }
        if (!implied)
            parsed.terms.append(term);
    }
    return parsed;
}

qsizetype CharacterCount(const QString& term) {
    qsizetype count = 0;
    for (qsizetype i = 0; i < term.size(); ++i) {
        if (term[i].isHighSurrogate() && i + 1 < term.size() && term[i + 1].isLowSurrogate())
            ++i;
        ++count;
    }
    return count;
}

bool IsIndexed(const QString& term) {
    return CharacterCount(term) >= kIndexedTermLength;
}

bool NeedsConfirmation(const QString& term) {
    return CharacterCount(term) > kIndexedTermLength;
}

QString IndexMatchExpression(const QStringList& terms) {
    QStringList trigrams;
    for (const QString& term : terms) {
        if (!IsIndexed(term))
            continue;
        // Where each character begins, so that a character of two units stays whole.
        QList<qsizetype> starts;
        for (qsizetype i = 0; i < term.size(); ++i) {
            starts.append(i);
            if (term[i].isHighSurrogate() && i + 1 < term.size() && term[i + 1].isLowSurrogate())
                ++i;
        }
        starts.append(term.size());
        const qsizetype characters = starts.size() - 1;
        const qsizetype last = characters - kIndexedTermLength; // start of the last trigram
        QList<qsizetype> picked;
        for (qsizetype at = 0; at < last; at += kIndexedTermLength)
            picked.append(at);
        picked.append(last);
        if (picked.size() > kMaxTrigramsPerTerm) {
            QList<qsizetype> spread;
            for (int k = 0; k < kMaxTrigramsPerTerm; ++k)
                spread.append(last * k / (kMaxTrigramsPerTerm - 1));
            picked = spread;
        }
        for (const qsizetype at : picked) {
            QString trigram = term.mid(starts[at], starts[at + kIndexedTermLength] - starts[at]);
            trigram.replace(u'"', QStringLiteral("\"\""));
            trigram = u'"' + trigram + u'"';
            if (!trigrams.contains(trigram))
                trigrams.append(trigram);
        }
    }
    return trigrams.join(QStringLiteral(" AND "));
}

} // namespace FullTextQuery
