#include "HelpSources.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QXmlStreamReader>

QString SourcePath(const QString& relative) {
    return QStringLiteral(TESSARINE_SOURCE_DIR "/") + relative;
}

QString HelpPagePath(const QString& file) {
    return QFileInfo(QStringLiteral(TESSARINE_HELP_PROJECT)).absolutePath() + u'/' + file;
}

QString ReadTextFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

HelpProject ReadHelpProject() {
    HelpProject project;
    QFile file(QStringLiteral(TESSARINE_HELP_PROJECT));
    if (!file.open(QIODevice::ReadOnly)) {
        project.error = file.errorString();
        return project;
    }
    QXmlStreamReader xml(&file);
    bool inFiles = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const auto attributes = xml.attributes();
            const auto value = [&](const char* name) {
                return attributes.value(QLatin1String(name)).toString();
            };
            if (xml.name() == QStringLiteral("keyword"))
                project.keywords.append({value("name"), value("id"), value("ref")});
            else if (xml.name() == QStringLiteral("section"))
                project.contents.append({value("title"), value("ref")});
            else if (xml.name() == QStringLiteral("files"))
                inFiles = true;
            else if (inFiles && xml.name() == QStringLiteral("file"))
                project.files << xml.readElementText();
        } else if (xml.isEndElement() && xml.name() == QStringLiteral("files")) {
            inFiles = false;
        }
    }
    if (xml.hasError())
        project.error = xml.errorString();
    return project;
}

QString VisibleText(const QString& html) {
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    QString text = html;
    text.remove(tag);
    text.replace(QStringLiteral("&lt;"), QStringLiteral("<"))
        .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
        .replace(QStringLiteral("&quot;"), QStringLiteral("\""))
        .replace(QStringLiteral("&nbsp;"), QStringLiteral(" "))
        .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return text;
}

namespace {
QStringList Captures(const QString& text, const QRegularExpression& pattern) {
    QStringList values;
    for (const QRegularExpressionMatch& match : pattern.globalMatch(text))
        values << match.captured(1);
    return values;
}
} // namespace

QStringList LinkTargets(const QString& html) {
    static const QRegularExpression href(QStringLiteral("<a\\s[^>]*href=\"([^\"]*)\""));
    return Captures(html, href);
}

QStringList Anchors(const QString& html) {
    static const QRegularExpression anchor(QStringLiteral("\\s(?:name|id)=\"([^\"]*)\""));
    return Captures(html, anchor);
}

namespace {

// The rows of the first table under the heading `## title`, each a list of its cells; the
// header row and the rule under it are left out.
QList<QStringList> TableUnder(const QString& markdown, const QString& title) {
    QList<QStringList> rows;
    bool inSection = false;
    int tableLine = 0;
    for (const QString& line : markdown.split(u'\n')) {
        if (line.startsWith(QStringLiteral("## "))) {
            if (inSection)
                break;
            inSection = line.mid(3).trimmed() == title;
            continue;
        }
        if (!inSection)
            continue;
        if (!line.startsWith(u'|')) {
            if (tableLine > 0)
                break;
            continue;
        }
        if (++tableLine <= 2)
            continue;
        QStringList cells = line.split(u'|');
        cells = cells.mid(1, cells.size() - 2);
        for (QString& cell : cells)
            cell = cell.trimmed();
        rows << cells;
    }
    return rows;
}

} // namespace

StyleSheet ReadStyleSheet() {
    const QString markdown = ReadTextFile(SourcePath(QStringLiteral("auxiliary/help/STYLE.md")));
    StyleSheet style;
    for (const QStringList& row : TableUnder(markdown, QStringLiteral("使わない語")))
        if (row.size() >= 2)
            style.avoided.append({row[0], row[1]});
    for (const QStringList& row : TableUnder(markdown, QStringLiteral("画面のとおりに書く表示")))
        if (!row.isEmpty())
            style.quotedAsShown << row[0];
    for (const QStringList& row : TableUnder(markdown, QStringLiteral("索引だけに置く言い換え")))
        if (!row.isEmpty())
            style.indexOnly << row[0];
    return style;
}

QStringList AvoidedTermsIn(const StyleSheet& style, QString text) {
    for (const QString& shown : style.quotedAsShown)
        text.replace(shown, QStringLiteral(" "));
    QStringList found;
    for (const StyleSheet::Term& term : style.avoided) {
        const bool useBeginsWithIt = term.use.startsWith(term.avoid);
        for (qsizetype at = text.indexOf(term.avoid); at >= 0;
             at = text.indexOf(term.avoid, at + 1)) {
            if (useBeginsWithIt && QStringView(text).mid(at).startsWith(term.use))
                continue;
            found << term.avoid;
            break;
        }
    }
    return found;
}
