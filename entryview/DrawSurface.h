#pragma once

#include <QString>
#include <QtGlobal>

namespace HyperText {

// A colour as the description box understands it. Kept free of QtGui so that the renderer and its
// tests need nothing but QtCore.
struct RgbColor {
    quint8 r = 0;
    quint8 g = 0;
    quint8 b = 0;

    friend constexpr bool operator==(const RgbColor&, const RgbColor&) = default;
};

// What the description renderer needs of the box it draws into. The description widget implements
// it on a real paint device; tests implement it with fixed metrics. Every length is in twips
// (1/1440 inch) of the box's client area.
class DrawSurface {
public:
    DrawSurface() = default;
    virtual ~DrawSurface() = default;
    Q_DISABLE_COPY_MOVE(DrawSurface)

    // Erases everything drawn and puts the pen at (0, 0).
    virtual void Cls() = 0;

    virtual void SetFontName(const QString& name) = 0;
    virtual void SetFontSize(double points) = 0;
    virtual void SetFontBold(bool on) = 0;
    virtual void SetFontItalic(bool on) = 0;
    virtual void SetFontUnderline(bool on) = 0;
    virtual void SetForeColor(RgbColor color) = 0;

    // The system's window-text colour, the colour of ordinary description text.
    virtual RgbColor WindowTextColor() const = 0;
    // The colour the text is drawn on; link colours are chosen to stand out from it.
    virtual RgbColor BackgroundColor() const { return RgbColor{255, 255, 255}; }

    // Size of `text` in the current font. A longer piece is never narrower than its beginning.
    virtual qint32 TextWidth(const QString& text) const = 0;
    // How many characters of `text` from `start`, at most `length`, fit in `width` together: the
    // largest n with TextWidth(text.mid(start, n)) <= width (0 when not even one fits). The
    // default asks TextWidth a logarithmic number of times; a surface that can add up widths
    // as it goes answers in one pass.
    virtual qsizetype FittingLength(const QString& text, qsizetype start, qsizetype length,
                                    qint32 width) const;
    virtual qint32 TextHeight(const QString& text) const = 0;

    // Inner width of the box.
    virtual qint32 ScaleWidth() const = 0;

    // The pen: where the top-left corner of the next printed text goes.
    virtual qint32 CurrentX() const = 0;
    virtual qint32 CurrentY() const = 0;
    virtual void SetCurrentX(qint32 x) = 0;
    virtual void SetCurrentY(qint32 y) = 0;

    // Draws `text` in the current font and colour with its top-left corner at the pen, then moves
    // the pen right by the text's width; the pen's y stays.
    virtual void Print(const QString& text) = 0;
};

} // namespace HyperText
