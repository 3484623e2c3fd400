#include "tools/FoldocMarkup.h"

#include "data/Strings.h"

#include <QRegularExpression>

namespace {

const QLatin1String kLineEnd("\r\n");
// A paragraph ends its line and leaves half a line free.
const QLatin1String kParagraphEnd("\r\n\\F");
const QLatin1String kEllipsis(" ...");

QString Escaped(const QString& text) {
    QString out = text;
    out.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    return out;
}

struct Paragraph {
    QString markup;
    // Places where the markup may be cut: before a space or a line end outside a link, and
    // before and after each link.
    QList<qsizetype> cuts;
    QList<FoldocMarkup::Named> named;
};

class Converter {
public:
    Converter(const FoldocResolve& resolve, qint32 selfId, FoldocMarkup* out)
        : resolve_(resolve), selfId_(selfId), out_(out) {}

    Paragraph Convert(const FoldocParagraph& source) {
        Paragraph p;
        for (const FoldocPiece& piece : source.pieces) {
            switch (piece.kind) {
            case FoldocPiece::Kind::Text:
                AddText(piece.text, &p);
                break;
            case FoldocPiece::Kind::Reference:
                AddReference(piece, &p);
                break;
            case FoldocPiece::Kind::WebLink:
                AddText(piece.text.isEmpty()
                            ? piece.address
                            : piece.text + QLatin1String(" (") + piece.address + QLatin1Char(')'),
                        &p);
                break;
            case FoldocPiece::Kind::LineBreak:
                p.cuts.append(p.markup.size());
                p.markup += kLineEnd;
                break;
            }
        }
        return p;
    }

private:
    static void AddText(const QString& text, Paragraph* p) {
        for (const QChar c : text) {
            if (c == QLatin1Char(' '))
                p->cuts.append(p->markup.size());
            p->markup += c == QLatin1Char('\\') ? QStringLiteral("\\\\") : QString(c);
        }
    }

    void AddReference(const FoldocPiece& piece, Paragraph* p) {
        const qint32 id = resolve_(piece);
        p->cuts.append(p->markup.size());
        if (id > 0 && id != selfId_) {
            p->markup += QLatin1String("\\J") + QString::number(id) + QLatin1Char(' ') +
                         Escaped(piece.text) + QLatin1String("\\j");
            p->named.append({id, piece.text});
            ++out_->links;
        } else {
            p->markup += Escaped(piece.text);
            ++out_->plainReferences;
        }
        p->cuts.append(p->markup.size());
    }

    const FoldocResolve& resolve_;
    qint32 selfId_;
    FoldocMarkup* out_;
};

// Whole paragraphs while they fit, then the next one up to a place where it may be cut, leaving
// room for its end and the ellipsis.
QString CutToFit(const QList<Paragraph>& paragraphs, int maxBytes) {
    const int limit = maxBytes - int(kParagraphEnd.size() + kEllipsis.size());
    QString text;
    int used = 0;
    for (const Paragraph& p : paragraphs) {
        const int separator = text.isEmpty() ? 0 : int(kParagraphEnd.size());
        const int length = Strings::CodePageLength(p.markup);
        if (used + separator + length <= limit) {
            if (separator)
                text += kParagraphEnd;
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
                text += kParagraphEnd;
            text += p.markup.left(best) + kEllipsis;
        } else {
            text += (text.isEmpty() ? QString() : QString(kParagraphEnd)) + kEllipsis.mid(1);
        }
        break;
    }
    return text;
}

} // namespace

FoldocMarkup FoldocToHyperText(const QList<FoldocParagraph>& paragraphs,
                               const FoldocResolve& resolve, qint32 selfId, int maxBytes) {
    FoldocMarkup result;
    Converter converter(resolve, selfId, &result);
    QList<Paragraph> converted;
    QStringList whole;
    for (const FoldocParagraph& source : paragraphs) {
        converted.append(converter.Convert(source));
        whole.append(converted.last().markup);
        if (!source.seeAlso)
            continue;
        for (const FoldocMarkup::Named& named : converted.last().named) {
            if (!result.seeAlso.contains(named))
                result.seeAlso.append(named);
        }
    }
    result.hyperText = whole.join(kParagraphEnd);
    if (Strings::CodePageLength(result.hyperText) > maxBytes) {
        result.cut = true;
        result.hyperText = CutToFit(converted, maxBytes);
    }
    return result;
}

FoldocMarkup FoldocBodyToHyperText(const QStringList& bodyLines,
                                   const std::function<qint32(const QString&)>& resolve,
                                   qint32 selfId, int maxBytes) {
    const FoldocResolve byNames = [&resolve](const FoldocPiece& piece) {
        for (const QString& name : piece.names) {
            if (const qint32 id = resolve(name); id > 0)
                return id;
        }
        return qint32(0);
    };
    return FoldocToHyperText(LayOutFoldocBody(bodyLines), byNames, selfId, maxBytes);
}
