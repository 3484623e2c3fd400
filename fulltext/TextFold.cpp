#include "fulltext/TextFold.h"

#include "search/ClipboardWord.h"

#include <QCryptographicHash>

#include <array>
#include <memory>
#include <unicode/uchar.h>

namespace TextFold {
namespace {

// What one unit of the Basic Multilingual Plane folds to: up to three units (a voiced katakana
// becomes two), or a separator.
struct Folded {
    char16_t units[3] = {0, 0, 0};
    quint8 length = 0;
    bool separator = false;
};

bool IsSurrogate(char16_t u) {
    return u >= 0xD800 && u <= 0xDFFF;
}

bool SeparatesTerms(char16_t u) {
    const QChar c(u);
    return c.isSpace() || c.category() == QChar::Other_Control;
}

class FoldTable {
public:
    FoldTable() : table_(std::make_unique<std::array<Folded, 0x10000>>()) {
        // Every character on a line of its own, narrowed by ICU in one call: lines keep one
        // character's result apart from the next.
        QString all;
        all.reserve(0x10000 * 2);
        for (char32_t u = 1; u < 0x10000; ++u) {
            if (IsSurrogate(char16_t(u)) || u == u'\n')
                continue;
            all += QChar(char16_t(u));
            all += u'\n';
        }
        const QString narrow = ClipboardWord::WideToNarrow(all);
        const QList<QStringView> pieces = QStringView(narrow).split(u'\n');

        qsizetype piece = 0;
        for (char32_t u = 0; u < 0x10000; ++u) {
            Folded& f = (*table_)[u];
            const char16_t unit = char16_t(u);
            QStringView source(&unit, 1);
            if (u != 0 && u != u'\n' && !IsSurrogate(unit) && piece < pieces.size())
                source = pieces[piece++];
            if (source.isEmpty() || source.size() > 3)
                source = QStringView(&unit, 1); // never seen; kept rather than lost
            for (const QChar c : source) {
                const char16_t lower = char16_t(u_foldCase(c.unicode(), U_FOLD_CASE_DEFAULT));
                f.units[f.length++] = lower;
                f.separator |= SeparatesTerms(lower);
            }
            f.separator |= SeparatesTerms(unit) || IsSurrogate(unit);
        }
    }

    const Folded& operator[](char16_t u) const { return (*table_)[u]; }

    QByteArray Signature() const {
        QCryptographicHash hash(QCryptographicHash::Sha256);
        for (const Folded& f : *table_) {
            hash.addData(QByteArrayView(reinterpret_cast<const char*>(f.units), sizeof f.units));
            const char flags[2] = {char(f.length), char(f.separator)};
            hash.addData(QByteArrayView(flags, 2));
        }
        return hash.result().toHex();
    }

private:
    std::unique_ptr<std::array<Folded, 0x10000>> table_;
};

const FoldTable& Table() {
    static const FoldTable table;
    return table;
}

// Folds one character starting at text[i]; returns how many units of text it took.
template <typename Emit> qsizetype FoldAt(QStringView text, qsizetype i, Emit&& sink) {
    const char16_t u = text[i].unicode();
    if (QChar::isHighSurrogate(u) && i + 1 < text.size() &&
        QChar::isLowSurrogate(text[i + 1].unicode())) {
        const char32_t folded =
            u_foldCase(QChar::surrogateToUcs4(u, text[i + 1].unicode()), U_FOLD_CASE_DEFAULT);
        sink(folded);
        return 2;
    }
    const Folded& f = Table()[u];
    for (quint8 k = 0; k < f.length; ++k)
        sink(char32_t(f.units[k]));
    return 1;
}

void AppendUtf8(char32_t c, std::string& out) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

void AppendUtf16(char32_t c, QString& out) {
    if (c >= 0x10000) {
        out += QChar(QChar::highSurrogate(c));
        out += QChar(QChar::lowSurrogate(c));
    } else {
        out += QChar(char16_t(c));
    }
}

} // namespace

QString Fold(QStringView text) {
    QString folded;
    folded.reserve(text.size());
    for (qsizetype i = 0; i < text.size();)
        i += FoldAt(text, i, [&folded](char32_t c) { AppendUtf16(c, folded); });
    return folded;
}

QString Fold(QStringView text, QList<qsizetype>& origin) {
    QString folded;
    folded.reserve(text.size());
    origin.clear();
    origin.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        i += FoldAt(text, i, [&](char32_t c) {
            const qsizetype before = folded.size();
            AppendUtf16(c, folded);
            for (qsizetype k = before; k < folded.size(); ++k)
                origin.append(i);
        });
    }
    return folded;
}

QByteArray Signature() {
    static const QByteArray signature = Table().Signature();
    return signature;
}

bool IsSeparator(char16_t unit) {
    return Table()[unit].separator;
}

void AppendIndexText(QStringView text, std::string& out) {
    const FoldTable& table = Table();
    for (qsizetype i = 0; i < text.size();) {
        const char16_t u = text[i].unicode();
        if (u < 0x80 && u > 0x20 && u != 0x7F) { // printable ASCII: the bulk of many texts
            out += char(u >= 'A' && u <= 'Z' ? u + ('a' - 'A') : u);
            ++i;
            continue;
        }
        const bool pair = QChar::isHighSurrogate(u) && i + 1 < text.size() &&
                          QChar::isLowSurrogate(text[i + 1].unicode());
        if (!pair && table[u].separator) {
            // A run of separators is one: a term can no more span two than one.
            if (out.empty() || out.back() != '\n')
                out += '\n';
            ++i;
            continue;
        }
        i += FoldAt(text, i, [&out](char32_t c) { AppendUtf8(c, out); });
    }
}

} // namespace TextFold
