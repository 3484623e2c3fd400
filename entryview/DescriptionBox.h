#pragma once

#include "entryview/DrawSurface.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QWidget>
#include <array>
#include <optional>
#include <vector>

// The description box: the renderer draws into it through DrawSurface, and it keeps what was
// drawn, so a repaint only replays the drawing and never runs the renderer again.
class DescriptionBox : public QWidget, public HyperText::DrawSurface {
    Q_OBJECT
public:
    explicit DescriptionBox(QWidget* parent = nullptr);

    void Cls() override;
    void SetFontName(const QString& name) override;
    void SetFontSize(double points) override;
    void SetFontBold(bool on) override;
    void SetFontItalic(bool on) override;
    void SetFontUnderline(bool on) override;
    void SetForeColor(HyperText::RgbColor color) override;
    HyperText::RgbColor WindowTextColor() const override;
    qint32 TextWidth(const QString& text) const override;
    qsizetype FittingLength(const QString& text, qsizetype start, qsizetype length,
                            qint32 width) const override;
    qint32 TextHeight(const QString& text) const override;
    qint32 ScaleWidth() const override;
    qint32 CurrentX() const override { return penX_; }
    qint32 CurrentY() const override { return penY_; }
    void SetCurrentX(qint32 x) override { penX_ = x; }
    void SetCurrentY(qint32 y) override { penY_ = y; }
    void Print(const QString& text) override;

    // One piece of drawn text, as recorded.
    struct DrawnText {
        QString text;
        qint32 x = 0; // twips
        qint32 y = 0;
        QFont font;
        HyperText::RgbColor color;
    };
    const std::vector<DrawnText>& Drawing() const { return drawing_; }
    QFont DrawingFont() const { return drawFont_; }

signals:
    void MouseMoved(double xTwips, double yTwips);
    void MouseReleased(Qt::MouseButton button, double xTwips, double yTwips);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void FontChanged();
    // The advance in pixels of the character at `i`, which moves past a surrogate pair.
    qreal AdvanceAt(const QString& text, qsizetype& i, std::optional<QFontMetricsF>& metrics) const;

    QFont drawFont_;
    HyperText::RgbColor color_;
    qint32 penX_ = 0;
    qint32 penY_ = 0;
    std::vector<DrawnText> drawing_;
    // Advances in pixels of single characters in the current face and size, one table for each
    // combination of bold and italic: every piece is measured from them, and most descriptions
    // use few distinct characters.
    mutable std::array<QHash<char16_t, qreal>, 4> charAdvances_;
};
