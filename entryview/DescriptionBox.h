#pragma once

#include "entryview/DescriptionLinks.h"
#include "entryview/HyperText.h"
#include "entryview/ReadingText.h"
#include "entryview/ScrollingRender.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QWidget>
#include <array>
#include <optional>
#include <vector>

class QScrollBar;

// The description box: the renderer draws into it through DrawSurface, and it keeps what was
// drawn, so a repaint only replays the drawing and never runs the renderer again. A description
// taller than the box scrolls (wheel, scroll bar, and Up, Down, Page Up, Page Down, Home and End
// while the box has the focus); Left and Right move a focus frame from link to link. Screen
// readers read the drawn text and its links (see DescriptionAccessible.h).
//
// The box owns the link regions of its drawing: it shows the pointing hand over them, and a
// link chosen in any way (a mouse button released over it, Enter on the framed link, a screen
// reader's press) is reported once, by LinkChosen, after the one check that the region belongs
// to the drawing on show.
class DescriptionBox : public QWidget, public HyperText::ScrollingSurface {
    Q_OBJECT
public:
    explicit DescriptionBox(QWidget* parent = nullptr);

    // Draws `text` as RenderDescription does, keeping its link regions, and returns their count.
    // A text that runs below the box gets the scroll bar. `fromTop` shows its beginning;
    // otherwise the view stays where it was as far as the new drawing reaches, as after a resize.
    qint16 ShowDescription(const QString& text, const HyperText::DisplayFont& font, bool fromTop);

    // The link regions of the drawing on show, in twips of the whole drawing, and their count.
    const HyperText::LinkRegions& Regions() const { return regions_; }
    qint16 RegionCount() const { return regionCount_; }

    // HyperText::ScrollingSurface
    void Cls() override;
    void SetFontName(const QString& name) override;
    void SetFontSize(double points) override;
    void SetFontBold(bool on) override;
    void SetFontItalic(bool on) override;
    void SetFontUnderline(bool on) override;
    void SetForeColor(HyperText::RgbColor color) override;
    HyperText::RgbColor WindowTextColor() const override;
    HyperText::RgbColor BackgroundColor() const override;
    qint32 TextWidth(const QString& text) const override;
    qsizetype FittingLength(const QString& text, qsizetype start, qsizetype length,
                            qint32 width) const override;
    qint32 TextHeight(const QString& text) const override;
    qint32 ScaleWidth() const override;
    qint32 ScaleHeight() const override;
    void SetScrollBarShown(bool shown) override;
    bool ScrollBarShown() const override { return scrollBarShown_; }
    qint32 CurrentX() const override { return penX_; }
    qint32 CurrentY() const override { return penY_; }
    void SetCurrentX(qint32 x) override { penX_ = x; }
    void SetCurrentY(qint32 y) override { penY_ = y; }
    void Print(const QString& text) override;

    // One piece of drawn text, as recorded, in twips of the whole (unscrolled) drawing.
    struct DrawnText {
        QString text;
        qint32 x = 0; // twips
        qint32 y = 0;
        QFont font;
        HyperText::RgbColor color;
    };
    const std::vector<DrawnText>& Drawing() const { return drawing_; }
    QFont DrawingFont() const { return drawFont_; }

    // What the last ShowDescription drew, as text and as links.
    const HyperText::ReadingText& Reading() const { return reading_; }
    const HyperText::DescriptionLinks& Links() const { return links_; }
    // Counts the drawings: a link of an earlier drawing is gone, whatever its index.
    quint64 DrawingNumber() const { return drawingNumber_; }

    // Scrolling, in pixels from the top of the drawing.
    QScrollBar* ScrollBar() const { return scrollBar_; }
    int ScrollOffset() const;
    void ScrollTo(int pixels);
    // Scrolls just far enough to show [top, bottom) twips of the drawing.
    void ScrollToShow(qint32 topTwips, qint32 bottomTwips);
    // A rectangle of the drawing in twips, in the box's own pixels as now scrolled.
    QRect ViewRect(qint32 left, qint32 top, qint32 right, qint32 bottom) const;

    // The link with the focus frame, as an index into Links(); -1 for none.
    int CurrentLink() const { return currentLink_; }
    void SetCurrentLink(int link);
    // Follows the link of region `region`, as a click on it does; a region that is not one of
    // the drawing on show leads nowhere.
    void FollowLink(int region);

signals:
    // The user chose the link to entry `entryId`.
    void LinkChosen(qint32 entryId);
    // The colours changed: the description must be drawn again in the new ones.
    void PaletteChanged();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void FontChanged();
    // The advance in pixels of the character at `i`, which moves past a surrogate pair.
    qreal AdvanceAt(const QString& text, qsizetype& i, std::optional<QFontMetricsF>& metrics) const;
    int ScrollBarWidth() const;
    void UpdateScrollRange();
    void Scrolled();
    void StepLink(bool forward);
    void PaintFocusFrame(QPainter& painter) const;
    // The region under a point of the box, in its own pixels as now scrolled; -1 for none.
    int RegionAt(QPointF pixels) const;
    // The pointing hand over a link, the arrow elsewhere.
    void PointAt(QPointF pixels);

    QFont drawFont_;
    HyperText::RgbColor color_;
    qint32 penX_ = 0;
    qint32 penY_ = 0;
    std::vector<DrawnText> drawing_;
    // Advances in pixels of single characters in the current face and size, one table for each
    // combination of bold and italic: every piece is measured from them, and most descriptions
    // use few distinct characters.
    mutable std::array<QHash<char16_t, qreal>, 4> charAdvances_;

    HyperText::LinkRegions regions_;
    qint16 regionCount_ = 0;
    HyperText::ReadingText reading_;
    HyperText::DescriptionLinks links_;
    quint64 drawingNumber_ = 0;
    int currentLink_ = -1;
    QScrollBar* scrollBar_;
    bool scrollBarShown_ = false;
};
