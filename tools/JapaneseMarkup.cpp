#include "tools/JapaneseMarkup.h"

#include "tools/EdrdgNotice.h"

namespace {

QString Escaped(const QString& text) {
    QString out = text;
    out.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    return out;
}

QString Readings(const QStringList& readings) {
    QStringList escaped;
    for (const QString& r : readings)
        escaped << Escaped(r);
    return escaped.join(QChar(u'、'));
}

} // namespace

QString JapaneseTermsLine(const JapaneseTerms& terms) {
    QStringList parts;
    for (const JapaneseTerm& term : terms.terms) {
        QString part = QLatin1String("\\B") + Escaped(term.word) + QLatin1String("\\b");
        if (!term.readings.isEmpty())
            part += QChar(u'（') + Readings(term.readings) + QChar(u'）');
        parts << part;
    }
    QString line = parts.join(QChar(u'、'));
    if (!terms.abbreviationReadings.isEmpty()) {
        if (!line.isEmpty())
            line += QChar(u'　');
        line += QStringLiteral("読み：") + Readings(terms.abbreviationReadings);
    }
    return line;
}

QString HeadwordGlossesLine(const AbbreviationHeadword& headword, qint32 noticeId) {
    // Real senses have a handful of short glosses; a damaged list is not let crowd out the rest
    // of the description.
    constexpr qsizetype kMostCharacters = 400;
    QString line;
    for (const QString& gloss : headword.glosses) {
        if (!line.isEmpty() && line.size() + gloss.size() > kMostCharacters)
            break;
        if (!line.isEmpty())
            line += QLatin1String("; ");
        line += Escaped(gloss.left(kMostCharacters));
    }
    if (noticeId > 0)
        line += QStringLiteral("（出典：\\J%1 %2\\j）")
                    .arg(noticeId)
                    .arg(QLatin1String(EdrdgNotice::kAbbr));
    return line;
}
