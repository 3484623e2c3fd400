// The articles tessarine-export writes from a description. Input: the description as UTF-8.
// The HTML must be well formed, and what a browser shows of it must be the text the entry view
// draws; the plain text must hold no control character but line ends.

#include "FuzzCheck.h"
#include "entryview/DrawnText.h"
#include "export/ArticleHtml.h"
#include "export/ArticleText.h"
#include "export/HeadwordText.h"

#include <QString>
#include <vector>

namespace {

// Walks the HTML of a description: tags must nest, and the text between them, with its
// character references read back and <br> as a line end, is returned.
QString VisibleText(const QString& html) {
    std::vector<QString> open;
    QString text;
    for (qsizetype i = 0; i < html.size();) {
        const QChar c = html[i];
        if (c == u'<') {
            const qsizetype end = html.indexOf(u'>', i);
            FUZZ_CHECK(end > i);
            const QString tag = html.mid(i + 1, end - i - 1);
            if (tag == QLatin1String("br")) {
                text += u'\n';
            } else if (tag.startsWith(u'/')) {
                FUZZ_CHECK(!open.empty() && open.back() == tag.mid(1));
                open.pop_back();
            } else {
                FUZZ_CHECK(tag == QLatin1String("b") || tag == QLatin1String("i") ||
                           tag == QLatin1String("u") || tag == QLatin1String("p") ||
                           tag.startsWith(QLatin1String("a href=\"bword://")));
                open.push_back(tag.section(u' ', 0, 0));
            }
            i = end + 1;
        } else if (c == u'&') {
            const qsizetype end = html.indexOf(u';', i);
            FUZZ_CHECK(end > i);
            const QString entity = html.mid(i, end - i + 1);
            if (entity == QLatin1String("&amp;"))
                text += u'&';
            else if (entity == QLatin1String("&lt;"))
                text += u'<';
            else if (entity == QLatin1String("&gt;"))
                text += u'>';
            else if (entity == QLatin1String("&quot;"))
                text += u'"';
            else
                FUZZ_CHECK(false);
            i = end + 1;
        } else {
            FUZZ_CHECK(c != u'>' && c != u'"');
            text += c;
            ++i;
        }
    }
    FUZZ_CHECK(open.empty());
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString markup = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    ExportEntry entry;
    entry.abbr = QStringLiteral("X");
    entry.description = DescriptionRuns::Read(markup);
    entry.hasDescription = true;
    for (const DescriptionRuns::Run& run : entry.description.runs) {
        FUZZ_CHECK(run.kind == DescriptionRuns::Run::Kind::LineBreak || !run.text.isEmpty());
        // Every other reference leads to an entry, whose name needs escaping.
        if (run.link > 0 && run.link % 2 == 0)
            entry.linkTargets.insert(run.link, QStringLiteral("T&<\">%1").arg(run.link));
    }

    // Without a spelled-out form or category the title paragraph is empty; the description
    // paragraph follows.
    QString html = QString::fromUtf8(ArticleHtml::Article({entry}));
    const QLatin1String head("<p></p><p>");
    FUZZ_CHECK(html.startsWith(head) && html.endsWith(QLatin1String("</p>")));
    html = html.mid(head.size(), html.size() - head.size() - 4);
    QString drawn;
    for (const QChar c : HyperText::DrawnText(markup)) {
        if (!HeadwordText::IsStrayControl(c.unicode()))
            drawn += c;
    }
    FUZZ_CHECK(VisibleText(html) == drawn);

    const QString text = QString::fromUtf8(ArticleText::Article(entry));
    for (const QChar c : text)
        FUZZ_CHECK(c == u'\n' ||
                   (c.unicode() >= 0x20 && !HeadwordText::IsStrayControl(c.unicode())));
    return 0;
}
