#include "entryview/DescriptionBox.h"

#include "app/Twips.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <optional>

DescriptionBox::DescriptionBox(QWidget* parent) : QWidget(parent) {
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
    const QColor c = palette().color(QPalette::Text);
    return {quint8(c.red()), quint8(c.green()), quint8(c.blue())};
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
    return qint32(width()) * Twips::kPerPixel;
}

void DescriptionBox::Print(const QString& text) {
    if (text.isEmpty())
        return;
    drawing_.push_back({text, penX_, penY_, drawFont_, color_});
    penX_ += TextWidth(text);
    update();
}

void DescriptionBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    for (const DrawnText& piece : drawing_) {
        painter.setFont(piece.font);
        painter.setPen(QColor(piece.color.r, piece.color.g, piece.color.b));
        const QFontMetricsF metrics(piece.font);
        const QPointF topLeft(double(piece.x) / Twips::kPerPixel,
                              double(piece.y) / Twips::kPerPixel);
        painter.drawText(topLeft + QPointF(0, metrics.ascent()), piece.text);
    }
}

void DescriptionBox::mouseMoveEvent(QMouseEvent* event) {
    emit MouseMoved(event->position().x() * Twips::kPerPixel,
                    event->position().y() * Twips::kPerPixel);
}

void DescriptionBox::mouseReleaseEvent(QMouseEvent* event) {
    emit MouseReleased(event->button(), event->position().x() * Twips::kPerPixel,
                       event->position().y() * Twips::kPerPixel);
}
