#include "tools/FoldocMarkup.h"

#include "data/Strings.h"

#include <QRegularExpression>

namespace {

const QLatin1String kLineEnd("\r\n");
const QLatin1String kEllipsis(" ...");

int Indentation(const QString& line) {
    int column = 0;
    for (const QChar c : line) {
        if (c == QLatin1Char(' '))
            ++column;
        else if (c == QLatin1Char('\t'))
            column = (column / 8 + 1) * 8;
        else
            break;
    }
    return column;
}

// The paragraphs of the body, each as one text: joined lines, with "\n" before each line that is
// indented further than the body's text.
QStringList LogicalParagraphs(const QStringList& bodyLines) {
    int base = INT_MAX;
    for (const QString& line : bodyLines) {
        if (!line.trimmed().isEmpty())
            base = qMin(base, Indentation(line));
    }
    QStringList paragraphs;
    QString current;
    bool previousIndented = false;
    for (const QString& line : bodyLines) {
        const QString content = line.trimmed();
        if (content.isEmpty()) {
            if (!current.isEmpty())
                paragraphs.append(current);
            current.clear();
            continue;
        }
        const int extra = Indentation(line) - base;
        if (extra > 0) {
            if (!current.isEmpty())
                current += QLatin1Char('\n');
            current += QString(extra, QLatin1Char(' ')) + content;
        } else if (current.isEmpty()) {
            current = content;
        } else {
            current += (previousIndented ? QLatin1Char('\n') : QLatin1Char(' ')) + content;
        }
        previousIndented = extra > 0;
    }
    if (!current.isEmpty())
        paragraphs.append(current);
    return paragraphs;
}

QString Escaped(const QString& text) {
    QString out = text;
    out.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    return out;
}

// "{text (http://example.org/)}" and "{More (about.html)}": a reference with an address.
bool SplitAddress(const QString& reference, QString* text) {
    static const QRegularExpression withAddress(QStringLiteral(R"(^(.*\S)\s*\(([^()\s]+)\)$)"));
    const QRegularExpressionMatch m = withAddress.match(reference);
    if (!m.hasMatch())
        return false;
    const QString address = m.captured(2);
    if (!address.contains(QLatin1Char(':')) && !address.contains(QLatin1Char('.')))
        return false;
    *text = m.captured(1);
    return true;
}

struct Paragraph {
    QString markup;
    // Places where the markup may be cut: before a space or a line end outside a link, and
    // before and after each link.
    QList<qsizetype> cuts;
    QList<FoldocMarkup::Named> named;
    bool seeAlso = false;
};

class Converter {
public:
    Converter(const std::function<qint32(const QString&)>& resolve, qint32 selfId,
              FoldocMarkup* out)
        : resolve_(resolve), selfId_(selfId), out_(out) {}

    Paragraph Convert(const QString& text) {
        Paragraph p;
        static const QRegularExpression seeAlso(QStringLiteral(R"(^see\b)"),
                                                QRegularExpression::CaseInsensitiveOption);
        p.seeAlso = seeAlso.match(text).hasMatch();
        // The next "}" and "{" after the current brace, found by scans that only move forward,
        // so that a text full of unmatched braces still takes linear time.
        qsizetype close = -1;
        qsizetype reopen = -1;
        auto nextAfter = [&text](qsizetype& cached, QChar brace, qsizetype from) {
            if (cached != text.size() && cached < from) {
                cached = text.indexOf(brace, from);
                if (cached < 0)
                    cached = text.size();
            }
            return cached;
        };
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text.at(i);
            if (c == QLatin1Char('{')) {
                nextAfter(close, QLatin1Char('}'), i + 1);
                nextAfter(reopen, QLatin1Char('{'), i + 1);
                if (close < text.size() && reopen > close) {
                    Reference(text.mid(i + 1, close - i - 1).simplified(), &p);
                    i = close;
                    continue;
                }
            }
            if (c == QLatin1Char('\n')) {
                p.cuts.append(p.markup.size());
                p.markup += kLineEnd;
            } else if (c == QLatin1Char(' ') || c == QLatin1Char('\t')) {
                p.cuts.append(p.markup.size());
                p.markup += QLatin1Char(' ');
            } else if (c == QLatin1Char('\\')) {
                p.markup += QLatin1String("\\\\");
            } else if (c.unicode() >= 32) {
                p.markup += c;
            }
        }
        return p;
    }

private:
    void Reference(const QString& reference, Paragraph* p) {
        QString shown = reference;
        qint32 id = 0;
        if (!SplitAddress(reference, &shown)) {
            id = resolve_(reference);
            // "{Association for Computing Machinery (ACM)}": the name without its abbreviation.
            QString name;
            static const QRegularExpression trailingGroup(
                QStringLiteral(R"(^(.*\S)\s*\([^()]*\)$)"));
            const QRegularExpressionMatch m = trailingGroup.match(reference);
            if (id <= 0 && m.hasMatch())
                id = resolve_(m.captured(1));
        }
        if (shown.isEmpty())
            return;
        p->cuts.append(p->markup.size());
        if (id > 0 && id != selfId_) {
            p->markup += QLatin1String("\\J") + QString::number(id) + QLatin1Char(' ') +
                         Escaped(shown) + QLatin1String("\\j");
            p->named.append({id, shown});
            ++out_->links;
        } else {
            p->markup += Escaped(shown);
            ++out_->plainReferences;
        }
        p->cuts.append(p->markup.size());
    }

    const std::function<qint32(const QString&)>& resolve_;
    qint32 selfId_;
    FoldocMarkup* out_;
};

} // namespace

FoldocMarkup FoldocBodyToHyperText(const QStringList& bodyLines,
                                   const std::function<qint32(const QString&)>& resolve,
                                   qint32 selfId, int maxBytes) {
    FoldocMarkup result;
    Converter converter(resolve, selfId, &result);
    QList<Paragraph> paragraphs;
    for (const QString& text : LogicalParagraphs(bodyLines)) {
        paragraphs.append(converter.Convert(text));
        if (paragraphs.last().seeAlso) {
            for (const FoldocMarkup::Named& named : paragraphs.last().named) {
                if (!result.seeAlso.contains(named))
                    result.seeAlso.append(named);
            }
        }
    }

    QStringList whole;
    for (const Paragraph& p : paragraphs)
        whole.append(p.markup);
    QString text = whole.join(kLineEnd);
    if (Strings::CodePageLength(text) <= maxBytes) {
        result.hyperText = text;
        return result;
    }

    // Too long: whole paragraphs while they fit, then the next one up to a place where it may be
    // cut, leaving room for the line end and the ellipsis.
    result.cut = true;
    const int limit = maxBytes - int(kLineEnd.size() + kEllipsis.size());
    text.clear();
    int used = 0;
    for (const Paragraph& p : paragraphs) {
        const int separator = text.isEmpty() ? 0 : int(kLineEnd.size());
        const int length = Strings::CodePageLength(p.markup);
        if (used + separator + length <= limit) {
            if (separator)
                text += kLineEnd;
            text += p.markup;
            used += separator + length;
            continue;
        }
        // The cut places come in order, so their lengths are summed as they are passed.
        qsizetype best = 0;
        qsizetype measured = 0;
        int sofar = used + separator;
        for (const qsizetype cut : p.cuts) {
            sofar += Strings::CodePageLength(QStringView(p.markup).mid(measured, cut - measured));
            measured = cut;
            if (sofar > limit)
                break;
            best = cut;
        }
        if (best > 0) {
            if (separator)
                text += kLineEnd;
            text += p.markup.left(best) + kEllipsis;
        } else {
            text += (text.isEmpty() ? QString() : QString(kLineEnd)) + kEllipsis.mid(1);
        }
        break;
    }
    result.hyperText = text;
    return result;
}
