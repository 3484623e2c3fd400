// Links without a mouse: Tab reaches the description as before, Left and Right move a focus frame
// from link to link, Enter follows the framed link; the window's other keys keep their meanings.
#include "ReadingFixtures.h"

#include <QSignalSpy>

namespace {

class DescriptionKeysTest : public ReadingWindowTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(Start(linked_.Dir()));
        Show(linked_.cpu);
        ASSERT_EQ(C().pbxDescription->RegionCount(), 2);
    }

    // How many pixels of a column or row of the box's picture are in the text colour.
    int InkAlongColumn(const QImage& image, int x, int top, int bottom) {
        const QRgb ink = Box()->palette().color(QPalette::Text).rgb();
        int n = 0;
        for (int y = top; y <= bottom; ++y)
            n += image.pixel(x, y) == ink;
        return n;
    }
    int InkAlongRow(const QImage& image, int y, int left, int right) {
        const QRgb ink = Box()->palette().color(QPalette::Text).rgb();
        int n = 0;
        for (int x = left; x <= right; ++x)
            n += image.pixel(x, y) == ink;
        return n;
    }

    LinkedDictionary linked_;
};

TEST_F(DescriptionKeysTest, RightAndLeftMoveTheFrameFromLinkToLink) {
    FocusDescription();
    EXPECT_EQ(Box()->CurrentLink(), -1) << "no link is framed until asked for";
    Press(Qt::Key_Right);
    EXPECT_EQ(Box()->CurrentLink(), 0);
    EXPECT_EQ(Box()->Links().Link(0).text, QStringLiteral("RAM"));
    Press(Qt::Key_Right);
    EXPECT_EQ(Box()->CurrentLink(), 1);
    EXPECT_EQ(Box()->Links().Link(1).text, QStringLiteral("ALU"));
    Press(Qt::Key_Right);
    EXPECT_EQ(Box()->CurrentLink(), 1) << "the last link stays framed";
    Press(Qt::Key_Left);
    EXPECT_EQ(Box()->CurrentLink(), 0);
    Press(Qt::Key_Left);
    EXPECT_EQ(Box()->CurrentLink(), 0);

    // From no link, Left starts at the last one on view.
    Show(linked_.cpu);
    EXPECT_EQ(Box()->CurrentLink(), -1) << "an entry shown again starts without a frame";
    Press(Qt::Key_Left);
    EXPECT_EQ(Box()->CurrentLink(), 1);
}

TEST_F(DescriptionKeysTest, EnterFollowsTheFramedLinkAsAClickDoes) {
    FocusDescription();
    Press(Qt::Key_Right);
    Press(Qt::Key_Return);

    EXPECT_EQ(W().Current().CurrentId, linked_.ram);
    EXPECT_EQ(W().windowTitle(), QStringLiteral("Tessarine 2000 - [RAM]"));
    EXPECT_EQ(Texts(C().lstLink), (QStringList{"RAM", "CPU"}));
    EXPECT_EQ(HistoryCaptions(), (QStringList{"CPU", "RAM"}));
    EXPECT_EQ(QApplication::focusWidget(), Box()) << "the reader stays in the description";
    EXPECT_EQ(Box()->CurrentLink(), -1);

    // The keypad's Enter as well, and on the other entry's link.
    Press(Qt::Key_Right);
    Press(Qt::Key_Enter);
    EXPECT_EQ(W().Current().CurrentId, linked_.cpu);
    EXPECT_EQ(HistoryCaptions(), (QStringList{"CPU", "RAM", "CPU"}));
}

TEST_F(DescriptionKeysTest, EnterWithoutAFramedLinkStillSearches) {
    QSignalSpy searches(C().cmdFind, &QPushButton::clicked);
    C().txtSearchKey->setText(QStringLiteral("gpu"));
    FocusDescription();
    Press(Qt::Key_Return);
    EXPECT_EQ(searches.count(), 1);
    EXPECT_EQ(StatusText(), QStringLiteral("検索結果 : 1件"));

    // And in the other controls Enter searches whatever the description has framed.
    Show(linked_.cpu);
    FocusDescription();
    Press(Qt::Key_Right);
    Focus(C().txtLetter);
    QTest::keyClick(C().txtLetter, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(searches.count(), 2);
}

TEST_F(DescriptionKeysTest, AltArrowsStillMoveThroughTheHistory) {
    Show(linked_.ram);
    FocusDescription();
    Press(Qt::Key_Right);
    ASSERT_EQ(Box()->CurrentLink(), 0);

    Press(Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(W().Current().CurrentId, linked_.cpu) << "Alt+Left is back, not a link step";
    EXPECT_EQ(HistoryCaptions(), (QStringList{"CPU", "RAM"}));
    Press(Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(W().Current().CurrentId, linked_.ram);
    Press(Qt::Key_Up, Qt::AltModifier);
    EXPECT_EQ(W().Current().CurrentId, linked_.cpu);
    Press(Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(W().Current().CurrentId, linked_.ram);
}

TEST_F(DescriptionKeysTest, TheFrameIsDrawnAroundTheFramedLinkWhileTheBoxHasTheFocus) {
    const HyperText::LinkRegion ram = C().pbxDescription->Regions()[0];
    const QRect link = Box()->ViewRect(ram.Left, ram.Top, ram.Right, ram.Bottom);
    FocusDescription();
    Press(Qt::Key_Right);
    const QImage framed = Box()->grab().toImage();
    const qreal ratio = framed.devicePixelRatio();
    // The frame's top runs along the top of the link's line, above its letters.
    const int y = int(link.top() * ratio);
    const int left = int(link.left() * ratio);
    const int right = int(link.right() * ratio);
    const int framedInk = InkAlongRow(framed, y, left, right);
    EXPECT_GE(framedInk, (right - left) / 3) << "a dotted line along the top";

    // Without the focus there is no frame; neither around a link that is not framed.
    Focus(C().lstLink);
    const QImage unfocused = Box()->grab().toImage();
    EXPECT_LT(InkAlongRow(unfocused, y, left, right), framedInk / 2);

    FocusDescription();
    Press(Qt::Key_Right); // now ALU
    const QImage other = Box()->grab().toImage();
    EXPECT_LT(InkAlongRow(other, y, left, right), framedInk / 2);
}

TEST_F(DescriptionKeysTest, ThePaneShowsItHasTheFocusBeforeALinkIsFramed) {
    FocusDescription();
    const QImage focused = Box()->grab().toImage();
    Focus(C().lstLink);
    const QImage unfocused = Box()->grab().toImage();
    const int bottom = focused.height() - 1;
    EXPECT_GT(InkAlongColumn(focused, 0, 0, bottom), bottom / 3);
    EXPECT_EQ(InkAlongColumn(unfocused, 0, 0, bottom), 0);
}

TEST_F(DescriptionKeysTest, EntriesWithoutLinksHaveNothingToFrame) {
    Show(linked_.gpu);
    FocusDescription();
    Press(Qt::Key_Right);
    Press(Qt::Key_Left);
    EXPECT_EQ(Box()->CurrentLink(), -1);
    Show(0);
    Press(Qt::Key_Right);
    EXPECT_EQ(Box()->CurrentLink(), -1);
    EXPECT_EQ(W().Current().CurrentId, linked_.gpu);
}

class LongDescriptionKeysTest : public ReadingWindowTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(Start(reading_.Dir()));
        Show(reading_.longEntry);
    }
    ReadingDictionary reading_;
};

TEST_F(LongDescriptionKeysTest, AFramedLinkIsScrolledIntoView) {
    FocusDescription();
    Press(Qt::Key_Right);
    EXPECT_EQ(Box()->CurrentLink(), 0);
    EXPECT_EQ(Offset(), 0);
    Press(Qt::Key_Right);
    ASSERT_EQ(Box()->CurrentLink(), 1);
    const HyperText::DescriptionLink& last = Box()->Links().Link(1);
    const QRect onView = Box()->ViewRect(0, last.top, 1, last.bottom);
    EXPECT_GT(Offset(), 0);
    EXPECT_GE(onView.top(), 0);
    EXPECT_LE(onView.bottom(), Box()->height());

    Press(Qt::Key_Return);
    EXPECT_EQ(W().Current().CurrentId, reading_.other);
}

TEST_F(LongDescriptionKeysTest, TheFirstStepLandsOnWhatIsOnView) {
    FocusDescription();
    Press(Qt::Key_End);
    Press(Qt::Key_Right);
    EXPECT_EQ(Box()->CurrentLink(), 1) << "the first link is far above the view";
}

TEST_F(LongDescriptionKeysTest, TheScrollBarAddsNoStopToTheTabOrder) {
    ASSERT_TRUE(Box()->ScrollBar()->isVisible());
    Focus(C().lstLink);
    QTest::keyClick(C().lstLink, Qt::Key_Tab);
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), Box());
    QTest::keyClick(Box(), Qt::Key_Tab);
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), C().txtSearchKey);
    QTest::keyClick(C().txtSearchKey, Qt::Key_Backtab, Qt::ShiftModifier);
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), Box());
}

} // namespace
