// A description that runs below the description box can be read to its end: the scroll bar, the
// wheel and the keys scroll it, and clicking and the hand cursor follow; a description that fits
// is drawn exactly as it always was.
#include "ReadingFixtures.h"

#include <QWheelEvent>

namespace {

class ScrollingTest : public ReadingWindowTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(Start(reading_.Dir()));
        Show(reading_.longEntry);
        ASSERT_TRUE(Box()->ScrollBar()->isVisible()) << "the long entry must overflow the box";
    }

    void Wheel(int angle) {
        const QPointF at(20, 20);
        QWheelEvent wheel(at, Box()->mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(Box(), &wheel);
    }

    // The region of the long entry's last link (to OTH), below the first view.
    HyperText::LinkRegion LastLink() {
        const auto& regions = C().pbxDescription->Regions();
        EXPECT_EQ(C().pbxDescription->RegionCount(), 2);
        return regions[1];
    }

    ReadingDictionary reading_;
};

TEST_F(ScrollingTest, ATallDescriptionGetsTheBarAndIsLaidOutBesideIt) {
    QScrollBar* bar = Box()->ScrollBar();
    EXPECT_EQ(bar->geometry().right(), Box()->width() - 1);
    EXPECT_EQ(bar->height(), Box()->height());
    EXPECT_EQ(Box()->ScaleWidth(), (Box()->width() - bar->width()) * Twips::kPerPixel);
    for (const DescriptionBox::DrawnText& piece : Box()->Drawing())
        EXPECT_LE(piece.x + Box()->TextWidth(piece.text), Box()->ScaleWidth())
            << piece.text.toStdString();
    EXPECT_GT(Box()->Reading().contentHeight, Box()->ScaleHeight());
    EXPECT_EQ(bar->maximum(),
              int(std::ceil(Box()->Reading().contentHeight / double(Twips::kPerPixel))) -
                  Box()->height());
    EXPECT_EQ(Offset(), 0);
    EXPECT_EQ(bar->focusPolicy(), Qt::NoFocus);
}

TEST_F(ScrollingTest, ADescriptionThatFitsIsDrawnExactlyAsBefore) {
    Show(reading_.other);
    EXPECT_FALSE(Box()->ScrollBar()->isVisible());
    EXPECT_EQ(Box()->ScaleWidth(), Box()->width() * Twips::kPerPixel);

    // The renderer alone, into a box of the same size and font, as the window drew before it
    // could scroll.
    DescriptionBox plain;
    plain.setFont(Box()->font());
    plain.resize(Box()->size());
    HyperText::LinkRegions regions;
    const qint16 count = HyperText::RenderDescription(plain, W().Current().CurrentDescription,
                                                      regions, W().DisplayFont());

    EXPECT_EQ(count, C().pbxDescription->RegionCount());
    EXPECT_EQ(regions, C().pbxDescription->Regions());
    ASSERT_EQ(plain.Drawing().size(), Box()->Drawing().size());
    for (std::size_t i = 0; i < plain.Drawing().size(); ++i) {
        const auto& expected = plain.Drawing()[i];
        const auto& drawn = Box()->Drawing()[i];
        EXPECT_EQ(drawn.text, expected.text);
        EXPECT_EQ(drawn.x, expected.x) << drawn.text.toStdString();
        EXPECT_EQ(drawn.y, expected.y) << drawn.text.toStdString();
        EXPECT_EQ(drawn.font, expected.font) << drawn.text.toStdString();
        EXPECT_EQ(drawn.color, expected.color) << drawn.text.toStdString();
    }
    Wheel(-120);
    EXPECT_EQ(Offset(), 0) << "nothing to scroll";
}

TEST_F(ScrollingTest, WheelAndKeysScroll) {
    QScrollBar* bar = Box()->ScrollBar();
    Wheel(-120);
    EXPECT_EQ(Offset(), QApplication::wheelScrollLines() * bar->singleStep());
    Wheel(120);
    EXPECT_EQ(Offset(), 0);

    FocusDescription();
    Press(Qt::Key_PageDown);
    EXPECT_EQ(Offset(), Box()->height());
    Press(Qt::Key_Down);
    EXPECT_EQ(Offset(), Box()->height() + bar->singleStep());
    Press(Qt::Key_Up);
    Press(Qt::Key_PageUp);
    EXPECT_EQ(Offset(), 0);
    Press(Qt::Key_End);
    EXPECT_EQ(Offset(), bar->maximum());
    Press(Qt::Key_PageDown);
    EXPECT_EQ(Offset(), bar->maximum()) << "not past the end";
    Press(Qt::Key_Home);
    EXPECT_EQ(Offset(), 0);

    // The bar itself scrolls the same drawing.
    bar->setValue(25);
    EXPECT_EQ(Offset(), 25);
}

TEST_F(ScrollingTest, ScrollingOnlyMovesTheDrawing) {
    const quint64 drawing = Box()->DrawingNumber();
    const int layouts = W().LayoutPasses();
    std::vector<std::pair<QString, qint32>> before;
    for (const auto& piece : Box()->Drawing())
        before.emplace_back(piece.text, piece.y);

    FocusDescription();
    Press(Qt::Key_End);
    Wheel(240);
    Press(Qt::Key_PageUp);

    EXPECT_EQ(Box()->DrawingNumber(), drawing) << "the text was not laid out again";
    EXPECT_EQ(W().LayoutPasses(), layouts);
    std::vector<std::pair<QString, qint32>> after;
    for (const auto& piece : Box()->Drawing())
        after.emplace_back(piece.text, piece.y);
    EXPECT_EQ(after, before);
}

TEST_F(ScrollingTest, ThePaintedTextMovesUpByTheScroll) {
    const int shift = 37;
    const QImage before = Box()->grab().toImage();
    Box()->ScrollTo(shift);
    const QImage after = Box()->grab().toImage();

    const qreal ratio = before.devicePixelRatio();
    const int textWidth = int((Box()->width() - Box()->ScrollBar()->width()) * ratio);
    const int dy = int(shift * ratio);
    int differing = 0;
    int inked = 0;
    for (int y = 0; y + dy < before.height(); ++y) {
        for (int x = 0; x < textWidth; ++x) {
            differing += before.pixel(x, y + dy) != after.pixel(x, y);
            inked += after.pixel(x, y) != after.pixel(0, 0);
        }
    }
    EXPECT_EQ(differing, 0);
    EXPECT_GT(inked, 100) << "text was painted";
}

TEST_F(ScrollingTest, ClicksAndTheHandFollowTheScroll) {
    const HyperText::LinkRegion last = LastLink();
    ASSERT_GT(last.Bottom / Twips::kPerPixel, Box()->height()) << "below the first view";

    Box()->ScrollTo(Box()->ScrollBar()->maximum());
    const QPoint onView = OnView(last);
    ASSERT_TRUE(Box()->rect().contains(onView));
    MoveOverDescription(onView);
    EXPECT_TRUE(HandShown());
    // Where the link would stand unscrolled there is other text now.
    const QPoint unscrolled = onView + QPoint(0, Offset());
    if (Box()->rect().contains(unscrolled)) {
        MoveOverDescription(unscrolled);
        EXPECT_FALSE(HandShown());
    }

    QTest::mouseClick(Box(), Qt::LeftButton, {}, onView);
    EXPECT_EQ(W().Current().CurrentId, reading_.other);
    EXPECT_EQ(HistoryCaptions(), (QStringList{"LONG", "OTH"}));
}

TEST_F(ScrollingTest, AnotherEntryStartsAtTheTop) {
    Box()->ScrollTo(Box()->ScrollBar()->maximum());
    QTest::mouseClick(Box(), Qt::LeftButton, {}, OnView(LastLink()));
    ASSERT_EQ(W().Current().CurrentId, reading_.other);
    EXPECT_EQ(Offset(), 0);

    // Back to the long entry by the history: from its top as well.
    FocusDescription();
    Press(Qt::Key_Left, Qt::AltModifier);
    ASSERT_EQ(W().Current().CurrentId, reading_.longEntry);
    EXPECT_EQ(Offset(), 0);

    Box()->ScrollTo(40);
    Show(reading_.longEntry);
    EXPECT_EQ(Offset(), 0) << "showing the same entry again starts at the top too";
}

TEST_F(ScrollingTest, AResizeKeepsThePlaceAsFarAsTheNewDrawingReaches) {
    Box()->ScrollTo(30);
    W().resize(W().width() + 120, W().height());
    QApplication::processEvents();
    EXPECT_EQ(Offset(), 30);

    Box()->ScrollTo(Box()->ScrollBar()->maximum());
    W().resize(W().width(), W().height() + 200);
    QApplication::processEvents();
    EXPECT_EQ(Offset(), Box()->ScrollBar()->maximum()) << "no further than the end";
}

TEST_F(ScrollingTest, BlankingRemovesTheBar) {
    Box()->ScrollTo(50);
    Show(0);
    EXPECT_FALSE(Box()->ScrollBar()->isVisible());
    EXPECT_EQ(Offset(), 0);
    EXPECT_TRUE(Box()->Drawing().empty());
}

} // namespace
