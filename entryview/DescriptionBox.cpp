#include "entryview/DescriptionBox.h"

#include "app/Twips.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>

DescriptionBox::DescriptionBox(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    drawFont_ = font();
    color_ = WindowTextColor();
}

void DescriptionBox::Cls() {
    drawing_.clear();
    penX_ = 0;
    penY_ = 0;
    update();
}

void DescriptionBox::FontChanged() {
    charWidths_.clear();
}

void DescriptionBox::SetFontName(const QString& name) {
    drawFont_.setFamily(name);
    FontChanged();
}

void DescriptionBox::SetFontSize(double points) {
    if (points > 0)
        drawFont_.setPointSizeF(points);
    FontChanged();
}

void DescriptionBox::SetFontBold(bool on) {
    drawFont_.setBold(on);
    FontChanged();
}

void DescriptionBox::SetFontItalic(bool on) {
    drawFont_.setItalic(on);
    FontChanged();
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

qint32 DescriptionBox::TextWidth(const QString& text) const {
    if (text.size() == 1) {
        const char16_t c = text.at(0).unicode();
        auto found = charWidths_.constFind(c);
        if (found != charWidths_.constEnd())
            return found.value();
        const qint32 width = Twips::FromPixels(QFontMetricsF(drawFont_).horizontalAdvance(text));
        charWidths_.insert(c, width);
        return width;
    }
    return Twips::FromPixels(QFontMetricsF(drawFont_).horizontalAdvance(text));
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
