#include "export/ArticleText.h"

namespace ArticleText {
namespace {

const QLatin1String kIndent("   ");

// A reference that already says its target is the braced target itself; any other keeps its
// words and names the target after them: "主記憶 {RAM}".
QString Reference(const QString& text, const QString& target) {
    if (text.trimmed().compare(target, Qt::CaseInsensitive) == 0)
        return QLatin1Char('{') + target + QLatin1Char('}');
    return text + QLatin1String(" {") + target + QLatin1Char('}');
}

QStringList DescriptionLines(const ExportEntry& entry) {
    QStringList lines{QString()};
    QString linkText;
    qint32 openLink = 0;
    auto closeLink = [&] {
        if (openLink == 0)
            return;
        const QString target = entry.linkTargets.value(openLink);
        lines.last() += target.isEmpty() ? linkText : Reference(linkText, target);
        linkText.clear();
        openLink = 0;
    };
    for (const DescriptionRuns::Run& run : entry.description.runs) {
        if (run.link != openLink)
            closeLink();
        if (run.kind == DescriptionRuns::Run::Kind::LineBreak) {
            lines << QString();
        } else if (run.link > 0) {
            openLink = run.link;
            linkText += run.text;
        } else {
            lines.last() += run.text;
        }
    }
    closeLink();
    return lines;
}

// The description indented, paragraphs apart by one empty line however many breaks the markup
// has between them.
QStringList BodyLines(const ExportEntry& entry) {
    QStringList body;
    for (const QString& line : DescriptionLines(entry)) {
        if (!line.trimmed().isEmpty())
            body << kIndent + line;
        else if (!body.isEmpty() && !body.last().isEmpty())
            body << QString();
    }
    if (!body.isEmpty() && body.last().isEmpty())
        body.removeLast();
    return body;
}

} // namespace

QByteArray Article(const ExportEntry& entry) {
    QString text = entry.abbr + QLatin1Char('\n');
    QString title = entry.letter;
    if (!entry.label.isEmpty())
        title += (title.isEmpty() ? QLatin1String("[") : QLatin1String(" [")) + entry.label +
                 QLatin1Char(']');
    if (!title.isEmpty())
        text += kIndent + title + QLatin1Char('\n');
    if (entry.hasDescription)
        text += QLatin1Char('\n') + BodyLines(entry).join(QLatin1Char('\n')) + QLatin1Char('\n');
    if (!entry.related.empty()) {
        QStringList words;
        for (const ExportEntry::RelatedWord& r : entry.related)
            words << (r.target.isEmpty() ? r.word : Reference(r.word, r.target));
        text += QLatin1Char('\n') + kIndent + QStringLiteral("See also: ") +
                words.join(QLatin1String(", ")) + QLatin1Char('\n');
    }
    if (!entry.url.isEmpty())
        text += QLatin1Char('\n') + kIndent + entry.url + QLatin1Char('\n');
    return text.toUtf8();
}

} // namespace ArticleText
