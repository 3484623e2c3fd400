#include "entryview/NoResultMarkup.h"

namespace HyperText {
namespace {

constexpr QStringView kNotFound = u" は見つかりませんでした。";
constexpr QStringView kDidYouMean = u"もしかして: ";
constexpr QStringView kSeparator = u"、";
constexpr QChar kEllipsis = u'…';

QString Sentence(const QString& typed) {
    QString sentence = QLatin1Char('"') + typed + QLatin1Char('"');
    sentence += kNotFound;
    return sentence;
}

QString LinkText(const SuggestionLink& s) {
    QString text = s.abbr;
    if (!s.letter.isEmpty())
        text += QStringLiteral(" (") + s.letter + QLatin1Char(')');
    if (!s.otherCategory.isEmpty())
        text += QStringLiteral(" [") + s.otherCategory + QLatin1Char(']');
    return text;
}

// The text as the renderer draws it once made plain: control characters would end a line or
// vanish, so they show as spaces.
QString AsDrawn(QString text) {
    for (QChar& c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = u' ';
    }
    return text;
}

} // namespace

QString PlainTextMarkup(const QString& text) {
    QString plain;
    plain.reserve(text.size());
    for (const QChar c : AsDrawn(text)) {
        if (c == u'\\')
            plain += QStringLiteral("\\\\");
        else
            plain += c;
    }
    return plain;
}

QString NoResultMarkup(const NoResult& noResult) {
    QString markup = PlainTextMarkup(Sentence(noResult.typed));
    if (noResult.suggestions.isEmpty())
        return markup;
    markup += QLatin1Char('\n');
    markup += kDidYouMean;
    for (qsizetype i = 0; i < noResult.suggestions.size(); ++i) {
        const SuggestionLink& s = noResult.suggestions[i];
        if (i > 0)
            markup += kSeparator;
        // The separator after the number is consumed, never drawn.
        markup += QStringLiteral("\\J%1 ").arg(s.id) + PlainTextMarkup(LinkText(s)) +
                  QStringLiteral("\\j");
    }
    return markup;
}

QString FitTypedToLine(DrawSurface& surface, const DisplayFont& font, const QString& typed) {
    surface.SetFontName(font.name);
    surface.SetFontSize(font.size);
    surface.SetFontBold(false);
    surface.SetFontItalic(false);
    // As the renderer measures its lines. It adds up the widths of words and characters, each
    // rounded on its own, so a full-width character is kept in hand for what rounding adds.
    const qint32 margin = surface.TextHeight(QStringLiteral(" ")) / 10;
    const qint32 usable =
        surface.ScaleWidth() - 2 * margin - surface.TextWidth(QStringLiteral("。"));
    const QString shown = AsDrawn(typed);
    if (surface.TextWidth(Sentence(shown)) <= usable)
        return shown;
    const qint32 room =
        usable - surface.TextWidth(Sentence(QString())) - surface.TextWidth(QString(kEllipsis));
    qsizetype kept = room > 0 ? surface.FittingLength(shown, 0, shown.size(), room) : 0;
    if (kept > 0 && shown.at(kept - 1).isHighSurrogate())
        --kept; // never half a character
    return shown.left(kept) + kEllipsis;
}

} // namespace HyperText
