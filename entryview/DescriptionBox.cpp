#include "entryview/DescriptionBox.h"

#include "app/Artwork.h"
#include "app/Twips.h"
#include "entryview/DescriptionAccessible.h"
#include "entryview/LinkHitTest.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>
#include <cmath>
#include <optional>

namespace {
HyperText::RgbColor ToRgb(const QColor& c) {
    return {quint8(c.red()), quint8(c.green()), quint8(c.blue())};
}
} // namespace

DescriptionBox::DescriptionBox(QWidget* parent)
    : QWidget(parent), scrollBar_(new QScrollBar(Qt::Vertical, this)) {
    DescriptionAccessibility::Install();
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    drawFont_ = font();
    // Descriptions are plain Japanese and Latin text measured a piece at a time: without kerning
    // and shaping a piece is as wide as its characters together, and measuring is far quicker.
    drawFont_.setKerning(false);
    drawFont_.setStyleStrategy(QFont::PreferNoShaping);
    color_ = WindowTextColor();

    scrollBar_->setObjectName(QStringLiteral("pbxDescriptionScrollBar"));
    // The box itself takes the keys; the bar must not add a stop to the tab order.
    scrollBar_->setFocusPolicy(Qt::NoFocus);
    scrollBar_->setRange(0, 0);
    scrollBar_->hide();
    connect(scrollBar_, &QScrollBar::valueChanged, this, &DescriptionBox::Scrolled);
}

qint16 DescriptionBox::ShowDescription(const QString& text, const HyperText::DisplayFont& font,
                                       bool fromTop) {
    const QString previousText = reading_.text;
    const int previousLink = currentLink_;
    DescriptionAccessibility::LinksRemoving(this);
    regionCount_ = HyperText::RenderScrolling(*this, text, regions_, font, reading_);
    links_ = HyperText::DescriptionLinks(regions_, regionCount_, reading_);
    ++drawingNumber_;
    // The same text drawn again (a new width) keeps the framed link; another text starts afresh.
    currentLink_ = !fromTop && reading_.text == previousText && previousLink < links_.LinkCount()
                       ? previousLink
                       : -1;
    {
        // A new drawing is not a scroll: the pointer's cursor is set from the new table at its
        // next movement.
        const QSignalBlocker quiet(scrollBar_);
        UpdateScrollRange();
        if (fromTop)
            scrollBar_->setValue(0);
    }
    update();
    DescriptionAccessibility::DrawingReplaced(this, previousText);
    return regionCount_;
}

void DescriptionBox::Cls() {
    drawing_.clear();
    penX_ = 0;
    penY_ = 0;
    update();
}

void DescriptionBox::FontChanged() {
    for (auto& advances : charAdvances_)
        advances.clear();
}

// Every rendering sets the face and size again; the measured widths stay while they are the same.
void DescriptionBox::SetFontName(const QString& name) {
    if (drawFont_.family() == name)
        return;
    drawFont_.setFamily(name);
    FontChanged();
}

void DescriptionBox::SetFontSize(double points) {
    if (points <= 0 || drawFont_.pointSizeF() == points)
        return;
    drawFont_.setPointSizeF(points);
    FontChanged();
}

void DescriptionBox::SetFontBold(bool on) {
    drawFont_.setBold(on);
}

void DescriptionBox::SetFontItalic(bool on) {
    drawFont_.setItalic(on);
}

void DescriptionBox::SetFontUnderline(bool on) {
    drawFont_.setUnderline(on); // underline does not change any width
}

void DescriptionBox::SetForeColor(HyperText::RgbColor color) {
    color_ = color;
}

HyperText::RgbColor DescriptionBox::WindowTextColor() const {
    return ToRgb(palette().color(QPalette::Text));
}

HyperText::RgbColor DescriptionBox::BackgroundColor() const {
    return ToRgb(palette().color(backgroundRole()));
}

qreal DescriptionBox::AdvanceAt(const QString& text, qsizetype& i,
                                std::optional<QFontMetricsF>& metrics) const {
    // Without kerning and shaping a piece is as wide as its characters together, so the widths
    // of single characters, kept per weight and slant, measure every piece.
    auto& advances = charAdvances_[(drawFont_.bold() ? 2 : 0) + (drawFont_.italic() ? 1 : 0)];
    const QChar c = text.at(i);
    if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
        if (!metrics)
            metrics.emplace(drawFont_);
        ++i;
        return metrics->horizontalAdvance(text.mid(i - 1, 2));
    }
    auto found = advances.constFind(c.unicode());
    if (found == advances.constEnd()) {
        if (!metrics)
            metrics.emplace(drawFont_);
        found = advances.insert(c.unicode(), metrics->horizontalAdvance(c));
    }
    return found.value();
}

qint32 DescriptionBox::TextWidth(const QString& text) const {
    std::optional<QFontMetricsF> metrics;
    qreal total = 0;
    for (qsizetype i = 0; i < text.size(); ++i)
        total += AdvanceAt(text, i, metrics);
    return Twips::FromPixels(total);
}

qsizetype DescriptionBox::FittingLength(const QString& text, qsizetype start, qsizetype length,
                                        qint32 width) const {
    std::optional<QFontMetricsF> metrics;
    qreal total = 0;
    const qsizetype end = std::min(text.size(), start + length);
    qsizetype fitting = 0;
    for (qsizetype i = start; i < end; ++i) {
        total += AdvanceAt(text, i, metrics);
        if (Twips::FromPixels(total) > width)
            break;
        fitting = i + 1 - start;
    }
    return fitting;
}

qint32 DescriptionBox::TextHeight(const QString&) const {
    return Twips::FromPixels(QFontMetricsF(drawFont_).height());
}

qint32 DescriptionBox::ScaleWidth() const {
    return qint32(width() - (scrollBarShown_ ? ScrollBarWidth() : 0)) * Twips::kPerPixel;
}

qint32 DescriptionBox::ScaleHeight() const {
    return qint32(height()) * Twips::kPerPixel;
}

int DescriptionBox::ScrollBarWidth() const {
    return std::min(style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scrollBar_), width());
}

void DescriptionBox::SetScrollBarShown(bool shown) {
    scrollBarShown_ = shown;
    scrollBar_->setVisible(shown);
    scrollBar_->setGeometry(width() - ScrollBarWidth(), 0, ScrollBarWidth(), height());
}

void DescriptionBox::Print(const QString& text) {
    if (text.isEmpty())
        return;
    drawing_.push_back({text, penX_, penY_, drawFont_, color_});
    penX_ += TextWidth(text);
    update();
}

// --- Scrolling --------------------------------------------------------------------------------

int DescriptionBox::ScrollOffset() const {
    return scrollBar_->value();
}

void DescriptionBox::ScrollTo(int pixels) {
    scrollBar_->setValue(pixels);
}

void DescriptionBox::ScrollToShow(qint32 topTwips, qint32 bottomTwips) {
    // With the renderer's margin around it, so that the first line comes with the space above it
    // and the last with the space below.
    const qint32 margin = TextHeight(QString()) / 10;
    const int top = int(std::floor(double(topTwips - margin) / Twips::kPerPixel));
    const int bottom = int(std::ceil(double(bottomTwips + margin) / Twips::kPerPixel));
    ScrollTo(HyperText::OffsetShowing(ScrollOffset(), height(), top, bottom));
}

QRect DescriptionBox::ViewRect(qint32 left, qint32 top, qint32 right, qint32 bottom) const {
    const auto px = [](qint32 twips) { return double(twips) / Twips::kPerPixel; };
    return QRectF(QPointF(px(left), px(top) - ScrollOffset()),
                  QPointF(px(right), px(bottom) - ScrollOffset()))
        .toAlignedRect();
}

void DescriptionBox::UpdateScrollRange() {
    const int content = int(std::ceil(double(reading_.contentHeight) / Twips::kPerPixel));
    // A description that fits is never scrolled, so it is drawn where it always was.
    scrollBar_->setRange(0, scrollBarShown_ ? std::max(content - height(), 0) : 0);
    scrollBar_->setPageStep(std::max(height(), 1));
    scrollBar_->setSingleStep(std::max(int(std::lround(QFontMetricsF(font()).height())), 1));
}

void DescriptionBox::Scrolled() {
    update();
    // The pointer now stands over another part of the drawing: the cursor follows what is under
    // it, as if it had moved.
    if (underMouse())
        PointAt(mapFromGlobal(QCursor::pos()));
}

void DescriptionBox::wheelEvent(QWheelEvent* event) {
    if (!scrollBarShown_) {
        event->ignore();
        return;
    }
    int pixels = event->pixelDelta().y();
    if (pixels == 0) {
        // One notch (120) scrolls the desktop's number of lines.
        pixels = int(std::lround(event->angleDelta().y() / 120.0 *
                                 QApplication::wheelScrollLines() * scrollBar_->singleStep()));
    }
    const int before = ScrollOffset();
    ScrollTo(before - pixels);
    if (ScrollOffset() == before)
        event->ignore();
    else
        event->accept();
}

void DescriptionBox::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    scrollBar_->setGeometry(width() - ScrollBarWidth(), 0, ScrollBarWidth(), height());
    UpdateScrollRange();
}

// --- Keys and the focus frame -------------------------------------------------------------------

void DescriptionBox::keyPressEvent(QKeyEvent* event) {
    // Alt and Ctrl keep their own meanings (the history keys, the menu shortcuts).
    if (event->modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier)) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Left:
        StepLink(false);
        return;
    case Qt::Key_Right:
        StepLink(true);
        return;
    case Qt::Key_Up:
        ScrollTo(ScrollOffset() - scrollBar_->singleStep());
        return;
    case Qt::Key_Down:
        ScrollTo(ScrollOffset() + scrollBar_->singleStep());
        return;
    case Qt::Key_PageUp:
        ScrollTo(ScrollOffset() - scrollBar_->pageStep());
        return;
    case Qt::Key_PageDown:
        ScrollTo(ScrollOffset() + scrollBar_->pageStep());
        return;
    case Qt::Key_Home:
        ScrollTo(0);
        return;
    case Qt::Key_End:
        ScrollTo(scrollBar_->maximum());
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (currentLink_ >= 0) {
            FollowLink(links_.Link(currentLink_).firstRegion);
            return;
        }
        break;
    default:
        break;
    }
    QWidget::keyPressEvent(event);
}

// Enter on a framed link follows the link: the box claims the key before the window's key
// preview would take it for a search.
bool DescriptionBox::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool plain =
            !(key->modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier));
        if (plain && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            currentLink_ >= 0) {
            event->accept();
            return true;
        }
    }
    return QWidget::event(event);
}

void DescriptionBox::StepLink(bool forward) {
    const qint32 viewTop = ScrollOffset() * Twips::kPerPixel;
    const int next =
        links_.Step(currentLink_, forward, viewTop, viewTop + height() * Twips::kPerPixel);
    if (next >= 0)
        SetCurrentLink(next);
}

void DescriptionBox::SetCurrentLink(int link) {
    if (link < -1 || link >= links_.LinkCount())
        return;
    currentLink_ = link;
    if (link >= 0)
        ScrollToShow(links_.Link(link).top, links_.Link(link).bottom);
    update();
    DescriptionAccessibility::CurrentLinkChanged(this);
}

void DescriptionBox::FollowLink(int region) {
    if (region < 0 || region >= regionCount_ || region >= int(regions_.size()))
        return;
    emit LinkChosen(regions_[size_t(region)].LinkId);
}

void DescriptionBox::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void DescriptionBox::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

void DescriptionBox::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        emit PaletteChanged();
}

// --- Painting and the mouse ---------------------------------------------------------------------

void DescriptionBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const double offset = ScrollOffset();
    for (const DrawnText& piece : drawing_) {
        const QFontMetricsF metrics(piece.font);
        const QPointF topLeft(double(piece.x) / Twips::kPerPixel,
                              double(piece.y) / Twips::kPerPixel - offset);
        if (topLeft.y() + metrics.height() < 0 || topLeft.y() > height())
            continue; // scrolled out of view
        painter.setFont(piece.font);
        painter.setPen(QColor(piece.color.r, piece.color.g, piece.color.b));
        painter.drawText(topLeft + QPointF(0, metrics.ascent()), piece.text);
    }
    if (hasFocus())
        PaintFocusFrame(painter);
}

// A dotted frame in the text colour: around the current link's parts, or around the whole box
// while no link is current, so that a keyboard user always sees where the focus is.
void DescriptionBox::PaintFocusFrame(QPainter& painter) const {
    QPen pen(palette().color(QPalette::Text), 1, Qt::DotLine);
    pen.setCosmetic(true);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    if (currentLink_ < 0) {
        const int right = width() - (scrollBarShown_ ? ScrollBarWidth() : 0);
        painter.drawRect(QRect(0, 0, right, height()).adjusted(0, 0, -1, -1));
        return;
    }
    const HyperText::DescriptionLink& link = links_.Link(currentLink_);
    for (int region = link.firstRegion; region <= link.lastRegion; ++region) {
        const HyperText::LinkRegion& r = links_.Region(region);
        if (r.Right <= r.Left)
            continue;
        // A pixel clear of the letters on either side, within the line's own height.
        painter.drawRect(ViewRect(r.Left, r.Top, r.Right, r.Bottom).adjusted(-2, 0, 1, -1));
    }
}

int DescriptionBox::RegionAt(QPointF pixels) const {
    // In twips of the whole drawing, wherever it is scrolled to.
    return HyperText::HitTestLink(regions_, regionCount_, pixels.x() * Twips::kPerPixel,
                                  (pixels.y() + ScrollOffset()) * Twips::kPerPixel);
}

// Set on every movement, whether or not it changes.
void DescriptionBox::PointAt(QPointF pixels) {
    if (RegionAt(pixels) >= 0)
        setCursor(Artwork::HandCursor(devicePixelRatioF()));
    else
        unsetCursor();
}

void DescriptionBox::mouseMoveEvent(QMouseEvent* event) {
    PointAt(event->position());
}

// Any button, with any modifier; only where it is released counts.
void DescriptionBox::mouseReleaseEvent(QMouseEvent* event) {
    FollowLink(RegionAt(event->position()));
}
