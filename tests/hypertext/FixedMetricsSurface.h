#pragma once

#include "entryview/ScrollingRender.h"

#include <QList>
#include <QString>
#include <map>
#include <ostream>
#include <vector>

// A drawing surface with fixed, configurable metrics that records everything drawn on it, so that
// rendering results can be checked to the twip. Reusable by any test that drives a DrawSurface.
// It scrolls too: a shown scroll bar takes `scrollBarWidth` from the inner width.
class FixedMetricsSurface final : public HyperText::ScrollingSurface {
public:
    static constexpr HyperText::RgbColor DefaultWindowText{0x10, 0x20, 0x30};

    // One Print call: the text, the pen before drawing and the style it was drawn in.
    struct PrintedRun {
        QString text;
        qint32 x = 0;
        qint32 y = 0;
        bool bold = false;
        bool italic = false;
        bool underline = false;
        HyperText::RgbColor color = DefaultWindowText;

        friend bool operator==(const PrintedRun&, const PrintedRun&) = default;
    };

    // Metrics. Widths count characters (a surrogate pair is one): ASCII ones take `asciiWidth`,
    // all others `otherWidth`, unless `widthOverrides` names the character.
    qint32 scaleWidth = 4455;
    qint32 asciiWidth = 120;
    qint32 otherWidth = 240;
    std::map<char32_t, qint32> widthOverrides;
    qint32 textHeight = 240;
    qint32 boldTextHeight = 240; // lets a test see whether a height was measured in bold
    HyperText::RgbColor windowText = DefaultWindowText;
    HyperText::RgbColor background{255, 255, 255};
    qint32 scaleHeight = 3000;
    qint32 scrollBarWidth = 255;
    bool scrollBarShown = false;

    // Current state, readable and presettable by the tests.
    QString fontName;
    double fontSize = 0.0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    HyperText::RgbColor foreColor = DefaultWindowText;
    qint32 penX = 0;
    qint32 penY = 0;

    // What happened.
    int clsCalls = 0;
    int fontAndColorCalls = 0;
    std::vector<PrintedRun> prints;
    mutable qint64 measuredCharacters = 0; // characters passed to TextWidth, for costs

    void Cls() override {
        ++clsCalls;
        prints.clear();
        penX = 0;
        penY = 0;
    }
    void SetFontName(const QString& name) override {
        ++fontAndColorCalls;
        fontName = name;
    }
    void SetFontSize(double points) override {
        ++fontAndColorCalls;
        fontSize = points;
    }
    void SetFontBold(bool on) override {
        ++fontAndColorCalls;
        bold = on;
    }
    void SetFontItalic(bool on) override {
        ++fontAndColorCalls;
        italic = on;
    }
    void SetFontUnderline(bool on) override {
        ++fontAndColorCalls;
        underline = on;
    }
    void SetForeColor(HyperText::RgbColor color) override {
        ++fontAndColorCalls;
        foreColor = color;
    }
    HyperText::RgbColor WindowTextColor() const override { return windowText; }
    HyperText::RgbColor BackgroundColor() const override { return background; }

    qint32 TextWidth(const QString& text) const override {
        measuredCharacters += text.size();
        qint32 width = 0;
        for (char32_t c : text.toUcs4()) {
            if (const auto it = widthOverrides.find(c); it != widthOverrides.end())
                width += it->second;
            else
                width += c < 128 ? asciiWidth : otherWidth;
        }
        return width;
    }
    qint32 TextHeight(const QString&) const override { return bold ? boldTextHeight : textHeight; }
    qint32 ScaleWidth() const override {
        return scrollBarShown ? scaleWidth - scrollBarWidth : scaleWidth;
    }
    qint32 ScaleHeight() const override { return scaleHeight; }
    void SetScrollBarShown(bool shown) override { scrollBarShown = shown; }
    bool ScrollBarShown() const override { return scrollBarShown; }

    qint32 CurrentX() const override { return penX; }
    qint32 CurrentY() const override { return penY; }
    void SetCurrentX(qint32 x) override { penX = x; }
    void SetCurrentY(qint32 y) override { penY = y; }

    void Print(const QString& text) override {
        prints.push_back({text, penX, penY, bold, italic, underline, foreColor});
        penX += TextWidth(text);
    }
};

inline void PrintTo(const FixedMetricsSurface::PrintedRun& run, std::ostream* os) {
    *os << '"' << run.text.toStdString() << "\" at (" << run.x << ", " << run.y << ")"
        << (run.bold ? " bold" : "") << (run.italic ? " italic" : "")
        << (run.underline ? " underline" : "") << " rgb(" << int(run.color.r) << ","
        << int(run.color.g) << "," << int(run.color.b) << ")";
}
