// Links stay readable on a dark palette: what is drawn has a WCAG 2 contrast of at least 4.5 : 1
// against the description's background; a light palette keeps pure blue and red.
#include "EntryFixtures.h"

#include "entryview/ReadableColors.h"

#include <QPalette>

namespace {

using HyperText::ContrastRatio;
using HyperText::RgbColor;

RgbColor Rgb(QRgb pixel) {
    return {quint8(qRed(pixel)), quint8(qGreen(pixel)), quint8(qBlue(pixel))};
}

QPalette Palette(QColor base, QColor text) {
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Window, base.lighter(120));
    palette.setColor(QPalette::WindowText, text);
    return palette;
}

class DarkPaletteTest : public EntryWindowTest {
protected:
    void SetUp() override { ASSERT_TRUE(Start(linked_.Dir())); }

    const DescriptionBox::DrawnText& Piece(const QString& text) {
        for (const DescriptionBox::DrawnText& piece : C().pbxDescription->Drawing())
            if (piece.text == text)
                return piece;
        ADD_FAILURE() << "nothing drawn as " << text.toStdString();
        static const DescriptionBox::DrawnText none;
        return none;
    }

    // The pixels inside a link's region that are exactly in `color`: its underline at least.
    int PixelsOf(RgbColor color, const HyperText::LinkRegion& r, const QImage& image) {
        const qreal ratio = image.devicePixelRatio();
        const QRect area = C().pbxDescription->ViewRect(r.Left, r.Top, r.Right, r.Bottom);
        int n = 0;
        for (int y = int(area.top() * ratio); y < int(area.bottom() * ratio); ++y)
            for (int x = int(area.left() * ratio); x < int(area.right() * ratio); ++x)
                n += Rgb(image.pixel(x, y)) == color;
        return n;
    }

    LinkedDictionary linked_;
};

TEST_F(DarkPaletteTest, LinksAreDrawnReadablyOnADarkBase) {
    const QColor base(32, 33, 36);
    W().setPalette(Palette(base, QColor(232, 234, 237)));
    Show(linked_.cpu);

    const RgbColor background = Rgb(base.rgb());
    const RgbColor link = Piece(QStringLiteral("RAM")).color;
    const RgbColor missing = Piece(QStringLiteral("XYZ")).color;
    EXPECT_GE(ContrastRatio(link, background), 4.5);
    EXPECT_GE(ContrastRatio(missing, background), 4.5);
    EXPECT_NE(link, (RgbColor{0, 0, 255}));
    EXPECT_NE(missing, (RgbColor{255, 0, 0}));
    EXPECT_GT(link.b, link.r) << "still blue";
    EXPECT_GT(missing.r, missing.b) << "still red";

    // What reaches the screen: the link's underline in exactly that colour, on the dark base.
    const QImage image = C().pbxDescription->grab().toImage();
    EXPECT_EQ(Rgb(image.pixel(1, 1)), background);
    EXPECT_GT(PixelsOf(link, C().pbxDescription->Regions()[0], image), 5);
}

TEST_F(DarkPaletteTest, AMidGreyBaseGetsDarkerLinks) {
    // Lightness just under one half, where even white falls short of 4.5 : 1.
    const QColor base(127, 127, 127);
    W().setPalette(Palette(base, QColor(0, 0, 0)));
    Show(linked_.cpu);
    const RgbColor link = Piece(QStringLiteral("RAM")).color;
    EXPECT_GE(ContrastRatio(link, Rgb(base.rgb())), 4.5);
    EXPECT_GE(ContrastRatio(Piece(QStringLiteral("XYZ")).color, Rgb(base.rgb())), 4.5);
}

TEST_F(DarkPaletteTest, LightPalettesKeepPureBlueAndRed) {
    for (const QColor base :
         {QColor(255, 255, 255), QColor(255, 255, 224), QColor(128, 128, 128)}) {
        W().setPalette(Palette(base, QColor(0, 0, 0)));
        Show(linked_.cpu);
        EXPECT_EQ(Piece(QStringLiteral("RAM")).color, (RgbColor{0, 0, 255}))
            << base.name().toStdString();
        EXPECT_EQ(Piece(QStringLiteral("XYZ")).color, (RgbColor{255, 0, 0}));
    }
}

TEST_F(DarkPaletteTest, SwitchingThePaletteRedrawsTheEntryOnShow) {
    Show(linked_.cpu);
    ASSERT_EQ(Piece(QStringLiteral("RAM")).color, (RgbColor{0, 0, 255}));
    const QColor base(20, 20, 20);
    W().setPalette(Palette(base, QColor(220, 220, 220)));
    QApplication::processEvents();

    EXPECT_GE(ContrastRatio(Piece(QStringLiteral("RAM")).color, Rgb(base.rgb())), 4.5);
    EXPECT_EQ(Piece(QStringLiteral("命令を実行する装置。")).color, (RgbColor{220, 220, 220}));
    EXPECT_EQ(W().Current().CurrentId, linked_.cpu);
    EXPECT_EQ(HistoryCaptions(), QStringList{"CPU"}) << "a redraw is no visit";
}

} // namespace
