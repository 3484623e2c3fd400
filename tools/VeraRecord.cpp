#include "tools/VeraRecord.h"

#include "data/Strings.h"

#include <QRegularExpression>

QString EntryKeyOf(const QString& abbr) {
    QString key = Strings::NormalizeKey(abbr);
    key.remove(QLatin1Char('*'));
    key.remove(QLatin1Char('?'));
    return key;
}

namespace {

// Where the parenthesised group that ends the text begins, or -1.
qsizetype OpeningOfFinalGroup(const QString& text) {
    if (!text.endsWith(QLatin1Char(')')))
        return -1;
    int depth = 0;
    for (qsizetype i = text.size() - 1; i >= 0; --i) {
        if (text.at(i) == QLatin1Char(')'))
            ++depth;
        else if (text.at(i) == QLatin1Char('(') && --depth == 0)
            return i;
    }
    return -1;
}

// Splits at the commas that stand outside brackets: "(2^10)^3, IEC" is two items.
QStringList SplitTags(const QString& text) {
    QStringList tags;
    int depth = 0;
    QString current;
    auto flush = [&] {
        const QString tag = current.trimmed();
        if (!tag.isEmpty() && tag != QLatin1String("..."))
            tags.append(tag);
        current.clear();
    };
    for (const QChar c : text) {
        if (c == QLatin1Char('(') || c == QLatin1Char('['))
            ++depth;
        else if ((c == QLatin1Char(')') || c == QLatin1Char(']')) && depth > 0)
            --depth;
        if (c == QLatin1Char(',') && depth == 0)
            flush();
        else
            current += c;
    }
    flush();
    return tags;
}

} // namespace

VeraParse ParseVeraRecord(const QString& text, VeraRecord* record) {
    *record = VeraRecord();
    const QStringList lines = text.split(QLatin1Char('\n'));
    qsizetype i = 0;
    while (i < lines.size() && lines.at(i).trimmed().isEmpty())
        ++i;
    if (i == lines.size())
        return VeraParse::NoAbbreviation;
    const QString headword = lines.at(i++).trimmed();

    // The expansion is the first paragraph; anything after a blank line is not part of it.
    QStringList paragraph;
    for (; i < lines.size(); ++i) {
        const QString line = lines.at(i).trimmed();
        if (line.isEmpty()) {
            if (paragraph.isEmpty())
                continue;
            break;
        }
        paragraph.append(line);
    }
    QString rest = paragraph.join(QLatin1Char(' ')).simplified();

    // Spellings in quotes at the end, possibly several: , "DCE/RPC" , "DCE RPC"
    static const QRegularExpression trailingQuote(QStringLiteral(R"re(\s*,?\s*"([^"]*)"\s*$)re"));
    // A record carries one or two; a bound keeps a damaged one from taking long.
    QStringList spellings;
    for (QRegularExpressionMatch m = trailingQuote.match(rest);
         m.hasMatch() && m.capturedStart() > 0 && spellings.size() < 4;
         m = trailingQuote.match(rest)) {
        spellings.prepend(m.captured(1).trimmed());
        rest.truncate(m.capturedStart());
    }
    rest = rest.trimmed();

    const qsizetype open = OpeningOfFinalGroup(rest);
    if (open > 0) {
        record->tags = SplitTags(rest.mid(open + 1, rest.size() - open - 2));
        rest = rest.left(open).trimmed();
        if (rest.endsWith(QLatin1Char(',')))
            rest = rest.chopped(1).trimmed();
    }
    record->expansion = rest;

    record->abbr = headword;
    const QString headKey = EntryKeyOf(headword);
    for (const QString& spelling : spellings) {
        if (!spelling.isEmpty() && EntryKeyOf(spelling) == headKey) {
            record->abbr = spelling;
            break;
        }
    }
    record->key = EntryKeyOf(record->abbr);
    if (record->key.isEmpty())
        return VeraParse::NoAbbreviation;
    if (record->expansion.isEmpty())
        return VeraParse::NoExpansion;
    return VeraParse::Ok;
}
