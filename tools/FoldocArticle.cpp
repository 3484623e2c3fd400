#include "tools/FoldocArticle.h"

#include "tools/VeraRecord.h"

#include <QRegularExpression>

namespace {

QString FirstSubject(const QStringList& bodyLines) {
    for (const QString& line : bodyLines) {
        QString text = line.trimmed();
        if (text.isEmpty())
            continue;
        // Articles with several senses number them: "1. <processor> ..."
        static const QRegularExpression senseNumber(QStringLiteral(R"(^\d+\.\s*)"));
        text.remove(senseNumber);
        if (!text.startsWith(QLatin1Char('<')))
            return QString();
        const qsizetype end = text.indexOf(QLatin1Char('>'));
        if (end < 0)
            return QString();
        const QString inner = text.mid(1, end - 1);
        // An e-mail address or a link in angle brackets is not a subject.
        if (inner.contains(QLatin1Char('@')) || inner.contains(QLatin1Char(':')) ||
            inner.contains(QLatin1Char('{')) || inner.size() > 60)
            return QString();
        return inner.section(QLatin1Char(','), 0, 0).trimmed().toLower();
    }
    return QString();
}

// Lower-case words of a name, split at spaces, hyphens and slashes.
QStringList WordsOf(const QString& name) {
    static const QRegularExpression separators(QStringLiteral(R"([\s\-/]+)"));
    QStringList words;
    for (const QString& w : name.toLower().split(separators, Qt::SkipEmptyParts)) {
        QString letters;
        for (const QChar c : w) {
            if (c.isLetterOrNumber())
                letters += c;
        }
        if (!letters.isEmpty())
            words.append(letters);
    }
    return words;
}

// Looks like an abbreviation: no small letters, no spaces, at least two letters or digits.
bool IsAbbreviationForm(const QString& name) {
    if (name.contains(QLatin1Char(' ')) || name.size() > 16)
        return false;
    for (const QChar c : name) {
        if (c.isLower())
            return false;
    }
    return EntryKeyOf(name).size() >= 2;
}

// 2: the key is the initials of the words; 1: its letters occur in the words in order, the
// first one first; 0: neither.
int MatchQuality(const QString& key, const QStringList& words) {
    const QString lowerKey = key.toLower();
    QString initials;
    for (const QString& w : words)
        initials += w.at(0);
    if (initials == lowerKey)
        return 2;
    const QString letters = words.join(QString());
    if (letters.isEmpty() || lowerKey.isEmpty() || letters.at(0) != lowerKey.at(0))
        return 0;
    qsizetype k = 0;
    for (const QChar c : letters) {
        if (k < lowerKey.size() && c == lowerKey.at(k))
            ++k;
    }
    return k == lowerKey.size() ? 1 : 0;
}

} // namespace

FoldocArticle ParseFoldocArticle(const QString& text) {
    FoldocArticle article;
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    qsizetype i = 0;
    while (i < lines.size() && lines.at(i).trimmed().isEmpty())
        ++i;
    for (; i < lines.size() && !lines.at(i).trimmed().isEmpty(); ++i)
        article.names.append(lines.at(i).trimmed());
    while (i < lines.size() && lines.at(i).trimmed().isEmpty())
        ++i;
    qsizetype end = lines.size();
    while (end > i && lines.at(end - 1).trimmed().isEmpty())
        --end;
    article.bodyLines = lines.mid(i, end - i);
    article.subject = FirstSubject(article.bodyLines);
    return article;
}

std::optional<FoldocAcronym> AcronymOf(const QStringList& allNames) {
    // Articles carry a handful of names; a damaged one with thousands is not searched through.
    const QStringList names = allNames.mid(0, 32);
    std::optional<FoldocAcronym> best;
    int bestQuality = 0;
    for (const QString& abbr : names) {
        if (!IsAbbreviationForm(abbr))
            continue;
        const QString key = EntryKeyOf(abbr);
        for (const QString& expansion : names) {
            if (IsAbbreviationForm(expansion))
                continue;
            const QStringList words = WordsOf(expansion);
            if (words.size() < 2)
                continue;
            const int quality = MatchQuality(key, words);
            if (quality > bestQuality) {
                best = FoldocAcronym{abbr, expansion};
                bestQuality = quality;
            }
        }
    }
    return best;
}
