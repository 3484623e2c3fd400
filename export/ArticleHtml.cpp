#include "export/ArticleHtml.h"

namespace ArticleHtml {
namespace {

// Readers look the target up as a headword, as if the user had typed it.
QString LinkStart(const QString& target) {
    return QLatin1String("<a href=\"bword://") + Escaped(target) + QLatin1String("\">");
}

// Each run is wrapped in its own tags, so that codes which overlap in the markup (\B, \I, \b,
// \i) still make well-formed HTML.
QString DescriptionHtml(const ExportEntry& entry) {
    QString html;
    for (const DescriptionRuns::Run& run : entry.description.runs) {
        if (run.kind == DescriptionRuns::Run::Kind::LineBreak) {
            html += QLatin1String("<br>");
            continue;
        }
        const QString target = run.link > 0 ? entry.linkTargets.value(run.link) : QString();
        QString open;
        QString close;
        if (!target.isEmpty()) {
            open += LinkStart(target);
            close.prepend(QLatin1String("</a>"));
        }
        const std::pair<bool, const char*> styles[] = {
            {run.bold, "b"}, {run.italic, "i"}, {run.underline && target.isEmpty(), "u"}};
        for (const auto& [on, tag] : styles) {
            if (!on)
                continue;
            open += QLatin1Char('<') + QLatin1String(tag) + QLatin1Char('>');
            close.prepend(QLatin1String("</") + QLatin1String(tag) + QLatin1Char('>'));
        }
        html += open + Escaped(run.text) + close;
    }
    return html;
}

QString RelatedHtml(const ExportEntry& entry) {
    QStringList words;
    for (const ExportEntry::RelatedWord& r : entry.related)
        words << (r.target.isEmpty()
                      ? Escaped(r.word)
                      : LinkStart(r.target) + Escaped(r.word) + QLatin1String("</a>"));
    return words.join(QStringLiteral("、"));
}

QString SenseHtml(const ExportEntry& entry, int number) {
    QString html = QLatin1String("<p>");
    if (number > 0)
        html += QStringLiteral("<b>%1.</b> ").arg(number);
    if (!entry.letter.isEmpty())
        html += QLatin1String("<b>") + Escaped(entry.letter) + QLatin1String("</b>");
    if (!entry.label.isEmpty())
        html += QLatin1String(" [") + Escaped(entry.label) + QLatin1Char(']');
    html += QLatin1String("</p>");
    if (entry.hasDescription)
        html += QLatin1String("<p>") + DescriptionHtml(entry) + QLatin1String("</p>");
    if (!entry.related.empty())
        html += QStringLiteral("<p>関連語：") + RelatedHtml(entry) + QLatin1String("</p>");
    if (!entry.url.isEmpty())
        html += QLatin1String("<p><a href=\"") + Escaped(entry.url) + QLatin1String("\">") +
                Escaped(entry.url) + QLatin1String("</a></p>");
    return html;
}

} // namespace

QString Escaped(const QString& text) {
    QString out;
    out.reserve(text.size() + 8);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'&':
            out += QLatin1String("&amp;");
            break;
        case u'<':
            out += QLatin1String("&lt;");
            break;
        case u'>':
            out += QLatin1String("&gt;");
            break;
        case u'"':
            out += QLatin1String("&quot;");
            break;
        default:
            out += c;
        }
    }
    return out;
}

QByteArray Article(const std::vector<ExportEntry>& senses) {
    QString html;
    const bool numbered = senses.size() > 1;
    for (std::size_t i = 0; i < senses.size(); ++i)
        html += SenseHtml(senses[i], numbered ? int(i + 1) : 0);
    return html.toUtf8();
}

} // namespace ArticleHtml
