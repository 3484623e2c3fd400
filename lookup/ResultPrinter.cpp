#include "lookup/ResultPrinter.h"

#include "data/DbAccess.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>

namespace ResultPrinter {
namespace {

// JSON carries the texts as the dictionary has them: its escapes keep any character harmless.
QJsonValue TextOrNull(const std::optional<QString>& text) {
    return text && !text->isEmpty() ? QJsonValue(*text) : QJsonValue();
}

// The entry's copy text, as the Copy command puts it on the clipboard, with "\n" line ends and
// the abbreviation in bold; then its related words, underlined as the references they are.
QString EntryBlock(const DbAccess::Dictionary& db, qint32 id, const LookupOutput& out) {
    const QString copy = db.GetEntryCopyText(id);
    if (copy.isEmpty())
        return {};
    const qsizetype abbrEnd = copy.indexOf(QLatin1String("\r\n"));
    QString block =
        out.Bold(PrintableText(copy.left(abbrEnd), true)) + PrintableText(copy.mid(abbrEnd));
    StoringSink related;
    db.LoadLinkList(id, related);
    QStringList words;
    for (const StoringSink::Item& item : related.items)
        words << out.Underlined(PrintableText(item.text, true));
    if (!words.isEmpty())
        block += QStringLiteral("関連語: ") + words.join(QLatin1String(", ")) + QLatin1Char('\n');
    return block;
}

QJsonObject EntryJson(const LookupDictionary::Entry& e,
                      const QList<LookupDictionary::Category>& categories) {
    QJsonValue category;
    for (const LookupDictionary::Category& c : categories) {
        if (c.id == e.category)
            category = QJsonObject{{QStringLiteral("id"), c.id},
                                   {QStringLiteral("name"), c.name},
                                   {QStringLiteral("shortName"), c.shortName}};
    }
    QJsonArray related;
    for (const StoringSink::Item& item : e.related)
        related.append(
            QJsonObject{{QStringLiteral("word"), item.text}, {QStringLiteral("id"), item.data}});
    return QJsonObject{{QStringLiteral("id"), e.id},
                       {QStringLiteral("abbr"), e.abbr},
                       {QStringLiteral("letter"), e.letter ? QJsonValue(*e.letter) : QJsonValue()},
                       {QStringLiteral("category"), category},
                       {QStringLiteral("description"), e.description},
                       {QStringLiteral("url"), TextOrNull(e.url)},
                       {QStringLiteral("related"), related}};
}

void WriteJson(const QJsonArray& array, LookupOutput& out) {
    out.Write(QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Indented)));
}

} // namespace

void PrintResults(const QList<StoringSink::Item>& results, LookupOptions::Format format,
                  const LookupDictionary::Opened& dictionary, LookupOutput& out) {
    switch (format) {
    case LookupOptions::Format::Entries:
        for (qsizetype i = 0; i < results.size() && !out.Closed(); ++i)
            out.Write((i > 0 ? QStringLiteral("\n") : QString()) +
                      EntryBlock(dictionary.db, results[i].data, out));
        break;
    case LookupOptions::Format::List:
        for (const StoringSink::Item& item : results) {
            const qsizetype tab = item.text.indexOf(u'\t');
            out.Write(PrintableText(item.text.left(tab), true) + QLatin1Char('\t') +
                      PrintableText(item.text.mid(tab + 1), true) + QLatin1Char('\n'));
        }
        std::fprintf(stderr, "%s\n", qUtf8Printable(QStringLiteral("%1件").arg(results.size())));
        break;
    case LookupOptions::Format::Json: {
        QJsonArray array;
        for (const StoringSink::Item& item : results) {
            if (const auto entry = LookupDictionary::ReadEntry(dictionary.db, item.data))
                array.append(EntryJson(*entry, dictionary.categories));
        }
        WriteJson(array, out);
        break;
    }
    }
}

void PrintFoundLines(const QList<TextAbbreviations::Found>& found, LookupOutput& out) {
    for (const TextAbbreviations::Found& f : found)
        out.Write(QStringList{PrintableText(f.written, true), out.Bold(PrintableText(f.abbr, true)),
                              PrintableText(f.letter, true), PrintableText(f.japaneseTerm, true)}
                      .join(QLatin1Char('\t')) +
                  QLatin1Char('\n'));
}

void PrintFoundJson(const QList<TextAbbreviations::Found>& found, LookupOutput& out) {
    QJsonArray array;
    for (const TextAbbreviations::Found& f : found)
        array.append(
            QJsonObject{{QStringLiteral("word"), f.written},
                        {QStringLiteral("id"), f.id},
                        {QStringLiteral("abbr"), f.abbr},
                        {QStringLiteral("letter"), f.letter},
                        {QStringLiteral("term"),
                         f.japaneseTerm.isEmpty() ? QJsonValue() : QJsonValue(f.japaneseTerm)}});
    WriteJson(array, out);
}

} // namespace ResultPrinter
