#include "tools/FoldocLayout.h"

#include <QHash>
#include <QRegularExpression>

namespace {

const QLatin1String kFoldocSite("https://foldoc.org");

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

// The indentation of most lines: the text's own. Some articles indent all their text by four or
// more. Only an address too long for the line starts in the first column, so those lines do not
// count where others are indented.
int TextIndentation(const QStringList& lines) {
    QHash<int, int> counts;
    for (const QString& line : lines) {
        if (!line.trimmed().isEmpty())
            ++counts[Indentation(line)];
    }
    if (counts.size() > 1)
        counts.remove(0);
    int best = 0;
    int bestCount = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > bestCount || (it.value() == bestCount && it.key() < best)) {
            best = it.key();
            bestCount = it.value();
        }
    }
    return best;
}

struct SourceLine {
    QString text; // without its indentation
    int indent = 0;
    bool own = false; // indented further than the text: a line of its own
};
using SourceParagraph = QList<SourceLine>;

// Control characters are never drawn; one before a space must not leave that space in front.
QString WithoutControls(const QString& line) {
    QString text;
    text.reserve(line.size());
    for (const QChar c : line) {
        if (c.unicode() >= 32 || c == QLatin1Char('\t'))
            text += c;
    }
    return text;
}

// A reference whose address did not fit is continued after a blank line:
// "{Home\n   \n(http://example.org/long/address)}".
bool ContinuesAfterBlank(const SourceParagraph& paragraph, const QStringList& lines,
                         qsizetype next) {
    if (paragraph.isEmpty() || next >= lines.size())
        return false;
    qsizetype open = -1;
    qsizetype close = -1;
    for (qsizetype i = 0; i < paragraph.size(); ++i) {
        const QString& text = paragraph.at(i).text;
        if (const qsizetype o = text.lastIndexOf(QLatin1Char('{')); o >= 0)
            open = i * 100000 + o;
        if (const qsizetype c = text.lastIndexOf(QLatin1Char('}')); c >= 0)
            close = i * 100000 + c;
    }
    if (open <= close)
        return false;
    const QString following = WithoutControls(lines.at(next)).trimmed();
    const qsizetype closing = following.indexOf(QLatin1Char('}'));
    const qsizetype reopening = following.indexOf(QLatin1Char('{'));
    return following.startsWith(QLatin1Char('(')) && closing > 0 &&
           (reopening < 0 || reopening > closing);
}

QList<SourceParagraph> SourceParagraphs(const QStringList& lines) {
    const int base = TextIndentation(lines);
    QList<SourceParagraph> paragraphs;
    SourceParagraph current;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString text = WithoutControls(lines.at(i)).trimmed();
        if (text.isEmpty()) {
            qsizetype next = i;
            while (next < lines.size() && WithoutControls(lines.at(next)).trimmed().isEmpty())
                ++next;
            if (ContinuesAfterBlank(current, lines, next)) {
                i = next - 1;
                continue;
            }
            if (!current.isEmpty())
                paragraphs.append(current);
            current.clear();
            continue;
        }
        const int indent = Indentation(lines.at(i));
        current.append({text, indent, indent > base});
    }
    if (!current.isEmpty())
        paragraphs.append(current);
    return paragraphs;
}

// Mostly words: letters, spaces and the punctuation of sentences, not a formula or a program.
bool IsProse(const QString& text) {
    qsizetype words = 0;
    static const QString punctuation = QStringLiteral(" ,.;:!?'\"-");
    for (const QChar c : text) {
        if (c.isLetter() || punctuation.contains(c))
            ++words;
    }
    return !text.isEmpty() && words * 10 >= text.size() * 9;
}

// Whether the text so far, a line of its own or the line before one, was only wrapped there: a
// long line of prose whose sentence goes on in the next.
bool GoesOn(const QString& line, int indent, const SourceLine& next) {
    if (line.size() < 40 || line.count(QLatin1Char(' ')) < 5 || !IsProse(line) ||
        !IsProse(next.text) || !next.text.at(0).isLetter())
        return false;
    const QChar last = line.back();
    return next.text.at(0).isLower() ||
           ((last.isLetter() || last == QLatin1Char(',')) && indent <= next.indent);
}

// The paragraph as one text, with "\n" before and after each line of its own.
QString JoinLines(const SourceParagraph& paragraph) {
    QString text;
    for (qsizetype i = 0; i < paragraph.size(); ++i) {
        const SourceLine& line = paragraph.at(i);
        if (i > 0) {
            const SourceLine& before = paragraph.at(i - 1);
            const QString current = text.mid(text.lastIndexOf(QLatin1Char('\n')) + 1);
            const bool joined = (!line.own && !before.own) || GoesOn(current, before.indent, line);
            text += joined ? QLatin1Char(' ') : QLatin1Char('\n');
        }
        text += line.text;
    }
    return text;
}

// The address in full of what the source writes as one, or nothing: "http://…", "news:…",
// "ftp:host/path", and the encyclopaedia's own pages ("/contents/all.html", "help.html"). A bare
// host name ("lmgtfy.com") counts only in parentheses, where no name of a thing ("Node.js") is.
QString AddressOf(const QString& text, bool inParentheses) {
    static const QRegularExpression scheme(QStringLiteral(R"(^([A-Za-z]+):(\S+)$)"));
    static const QRegularExpression page(QStringLiteral(R"(^[\w./~-]+\.html?(#\S*)?$)"));
    static const QRegularExpression host(
        QStringLiteral(R"(^[a-z0-9-]+(\.[a-z0-9-]+)*\.[a-z]{2,}/?$)"));
    if (text.isEmpty() || text.contains(QLatin1Char(' ')))
        return QString();
    const QRegularExpressionMatch m = scheme.match(text);
    if (m.hasMatch()) {
        const QString name = m.captured(1).toLower();
        const QString rest = m.captured(2);
        if (rest.startsWith(QLatin1String("//")) || name == QLatin1String("mailto") ||
            name == QLatin1String("news"))
            return text;
        if (name == QLatin1String("rfc") && rest.toInt() > 0)
            return QStringLiteral("https://www.rfc-editor.org/rfc/rfc%1").arg(rest.toInt());
        if (name == QLatin1String("img"))
            return kFoldocSite + (rest.startsWith(QLatin1Char('/')) ? rest : u'/' + rest);
        if (name == QLatin1String("ftp") || name == QLatin1String("telnet"))
            return name + QLatin1String("://") + rest;
        return QString();
    }
    if (text.startsWith(QLatin1Char('/')))
        return kFoldocSite + text;
    if (page.match(text).hasMatch())
        return kFoldocSite + u'/' + text;
    if (inParentheses && host.match(text).hasMatch())
        return QLatin1String("http://") + text;
    return QString();
}

// Braces around a formula or a piece of program, not around a reference: "{x | x > 0}",
// "{ *p = nil; }", "{f z : z in Z}", "{x in S: x not in f(x)}".
bool IsFormula(const QString& inner) {
    if (inner.trimmed().isEmpty())
        return true;
    for (qsizetype i = 0; i < inner.size(); ++i) {
        const QChar c = inner.at(i);
        if (c == u'|' || c == u'=' || c == u';' || c == u'<' || c == u'>')
            return true;
        const bool spaced =
            i > 0 && i + 1 < inner.size() && inner.at(i - 1).isSpace() && inner.at(i + 1).isSpace();
        if ((c == u':' && spaced) || (c == u'(' && i > 0 && inner.at(i - 1).isLetterOrNumber()))
            return true;
    }
    return false;
}

// What "{inner}" stands for; false when the braces stay as written.
bool BracePiece(const QString& inner, FoldocPiece* piece) {
    if (inner.contains(QLatin1Char('\n')))
        return false;
    const QString content = inner.simplified();
    // Most braces hold a plain term: no parenthesis, nothing like an address.
    if (!content.contains(u'(') && !content.contains(u':') && !content.contains(u'.')) {
        if (IsFormula(content))
            return false;
        *piece = {FoldocPiece::Kind::Reference, content, {content}, {}};
        return true;
    }
    static const QRegularExpression parenthesised(QStringLiteral(R"(^\((\S+)\)$)"));
    const QRegularExpressionMatch bare = parenthesised.match(content);
    const QString alone = AddressOf(bare.hasMatch() ? bare.captured(1) : content, bare.hasMatch());
    if (!alone.isEmpty()) {
        *piece = {FoldocPiece::Kind::WebLink, QString(), {}, alone};
        return true;
    }
    static const QRegularExpression trailing(QStringLiteral(R"(^(.*\S)\s*\(([^()]*)\)$)"));
    const QRegularExpressionMatch m = trailing.match(content);
    if (m.hasMatch()) {
        const QString address = AddressOf(m.captured(2), true);
        if (!address.isEmpty()) {
            *piece = {FoldocPiece::Kind::WebLink, m.captured(1), {}, address};
            return true;
        }
    }
    if (IsFormula(content))
        return false;
    if (!m.hasMatch()) {
        *piece = {FoldocPiece::Kind::Reference, content, {content}, {}};
        return true;
    }
    // "{loops (loop)}" shows "loops" for the article "loop"; "{Association for Computing
    // Machinery (ACM)}" shows all of it.
    const QString shown = m.captured(1);
    const QString target = m.captured(2).trimmed();
    if (target == target.toLower() && !target.isEmpty())
        *piece = {FoldocPiece::Kind::Reference, shown, {target, content, shown}, {}};
    else
        *piece = {FoldocPiece::Kind::Reference, content, {content, shown, target}, {}};
    return true;
}

// Reads a paragraph's text into pieces: text, references, web links and line ends.
class PieceReader {
public:
    explicit PieceReader(const QString& text) : text_(text) {}

    QList<FoldocPiece> Read() {
        for (i_ = 0; i_ < text_.size(); ++i_) {
            const QChar c = text_.at(i_);
            if (c == QLatin1Char('{') && (InWord() || Nested() || Braced()))
                continue;
            if (c == QLatin1Char('\n')) {
                Append({FoldocPiece::Kind::LineBreak, {}, {}, {}});
            } else if (c == QLatin1Char('\t')) {
                run_ += QLatin1Char(' ');
            } else if (IsStray(c)) {
                continue;
            } else if (c.unicode() >= 32) {
                run_ += c;
            }
        }
        AppendText();
        return pieces_;
    }

private:
    // The next "}" and "{" after the current brace, found by scans that only move forward, so
    // that a text full of unmatched braces still takes linear time.
    qsizetype NextAfter(qsizetype& cached, QChar brace) const {
        if (cached != text_.size() && cached <= i_) {
            cached = text_.indexOf(brace, i_ + 1);
            if (cached < 0)
                cached = text_.size();
        }
        return cached;
    }
    qsizetype Close() { return NextAfter(close_, QLatin1Char('}')); }
    qsizetype Reopen() { return NextAfter(reopen_, QLatin1Char('{')); }

    // "\begin{table}" and "x{i}" are no references: those follow a space or a sign.
    bool InWord() {
        if (i_ == 0 ||
            !(text_.at(i_ - 1).isLetterOrNumber() || text_.at(i_ - 1) == QLatin1Char('\\')))
            return false;
        KeepBrace();
        return true;
    }

    // "{inherits {inheritance}}": shown text, then the article's name in braces of its own.
    bool Nested() {
        static const QRegularExpression nested(QStringLiteral(R"(\{([^{}\n]+)\{([^{}\n]+)\}\})"));
        if (Close() >= text_.size() || Reopen() > Close())
            return false;
        const QRegularExpressionMatch m =
            nested.match(text_, i_, QRegularExpression::NormalMatch,
                         QRegularExpression::AnchorAtOffsetMatchOption);
        if (!m.hasMatch())
            return false;
        const QString shown = m.captured(1).simplified();
        Append({FoldocPiece::Kind::Reference, shown, {m.captured(2).simplified(), shown}, {}});
        i_ = m.capturedEnd() - 1;
        return true;
    }

    // A brace closed before the next one opens: a reference, a web link, or a formula that
    // keeps its braces.
    bool Braced() {
        if (Close() >= text_.size() || Reopen() < Close())
            return false;
        QString inner = text_.mid(i_ + 1, Close() - i_ - 1);
        // "{(http://w3.org/PICS})": the parenthesis closes after the brace.
        const bool swapped = inner.startsWith(QLatin1Char('(')) &&
                             !inner.contains(QLatin1Char(')')) &&
                             text_.mid(Close() + 1, 1) == QLatin1String(")");
        if (swapped)
            inner += QLatin1Char(')');
        FoldocPiece piece;
        if (!BracePiece(inner, &piece)) {
            KeepBrace();
            return true;
        }
        Append(piece);
        i_ = swapped ? Close() + 1 : Close();
        return true;
    }

    // A brace of a formula or a program, shown as written; the one that closes it is too.
    void KeepBrace() {
        run_ += QLatin1Char('{');
        ++kept_;
    }

    // A brace that pairs with none, next to a word: a slip of the source ("a {hard {disk}",
    // "{Macintosh)"), not shown. Others (program text, "{" on a line of its own) stay.
    bool IsStray(QChar c) {
        if (c == QLatin1Char('{'))
            return i_ + 1 < text_.size() && text_.at(i_ + 1).isLetter();
        if (c != QLatin1Char('}'))
            return false;
        if (kept_ > 0) {
            --kept_;
            return false;
        }
        return i_ > 0 && text_.at(i_ - 1).isLetter();
    }

    void AppendText() {
        if (run_.isEmpty())
            return;
        if (!pieces_.isEmpty() && pieces_.last().kind == FoldocPiece::Kind::Text)
            pieces_.last().text += run_;
        else
            pieces_.append({FoldocPiece::Kind::Text, run_, {}, {}});
        run_.clear();
    }
    void Append(const FoldocPiece& piece) {
        AppendText();
        pieces_.append(piece);
    }

    const QString& text_;
    qsizetype i_ = 0;
    qsizetype close_ = -1;
    qsizetype reopen_ = -1;
    int kept_ = 0; // braces shown as written that are still open
    QString run_;
    QList<FoldocPiece> pieces_;
};

} // namespace

QList<FoldocParagraph> LayOutFoldocBody(const QStringList& bodyLines) {
    static const QRegularExpression seeAlso(QStringLiteral(R"(^see\b)"),
                                            QRegularExpression::CaseInsensitiveOption);
    QList<FoldocParagraph> paragraphs;
    for (const SourceParagraph& source : SourceParagraphs(bodyLines)) {
        const QString text = JoinLines(source);
        paragraphs.append({PieceReader(text).Read(), seeAlso.match(text).hasMatch()});
    }
    return paragraphs;
}

bool IsSenseList(const QList<FoldocParagraph>& paragraphs) {
    static const QRegularExpression senseNumber(QStringLiteral(R"(^(\d+)\.\s)"));
    int senses = 0;
    for (const FoldocParagraph& p : paragraphs) {
        if (p.pieces.isEmpty() || p.pieces.first().kind != FoldocPiece::Kind::Text)
            continue;
        const QRegularExpressionMatch m = senseNumber.match(p.pieces.first().text);
        if (m.hasMatch() && m.captured(1).toInt() == senses + 1)
            ++senses;
    }
    return senses >= 2;
}

QString FoldocPlainText(const QList<FoldocParagraph>& paragraphs) {
    QStringList texts;
    for (const FoldocParagraph& p : paragraphs) {
        QString text;
        for (const FoldocPiece& piece : p.pieces) {
            switch (piece.kind) {
            case FoldocPiece::Kind::Text:
            case FoldocPiece::Kind::Reference:
                text += piece.text;
                break;
            case FoldocPiece::Kind::WebLink:
                text += piece.text.isEmpty()
                            ? piece.address
                            : piece.text + QLatin1String(" (") + piece.address + QLatin1Char(')');
                break;
            case FoldocPiece::Kind::LineBreak:
                text += QLatin1Char('\n');
                break;
            }
        }
        texts.append(text);
    }
    return texts.join(QLatin1Char('\n'));
}
