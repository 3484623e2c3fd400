// Following references: the hand over links in the description, mouse releases on them, and
// the related-words list, on the real window.
#include "EntryFixtures.h"

namespace {

class LinkTest : public EntryWindowTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(Start(linked_.Dir()));
        Show(linked_.cpu);
        ASSERT_EQ(W().LinkRegionCount, 2);
        ram_ = W().LinkRegions[0];
        ASSERT_EQ(ram_.LinkId, linked_.ram);
    }

    // A point of the box over plain text, away from every link: the first body line.
    QPoint PlainText() {
        for (const DescriptionBox::DrawnText& piece : W().pbxDescription->Drawing())
            if (piece.text == QStringLiteral("命令を実行する装置。"))
                return QPoint(piece.x / Twips::kPerPixel + 4, piece.y / Twips::kPerPixel + 4);
        ADD_FAILURE() << "no plain text drawn";
        return {};
    }

    void ReleaseOverDescription(QPointF pixels) {
        DescriptionBox* box = W().pbxDescription;
        QMouseEvent release(QEvent::MouseButtonRelease, pixels, box->mapToGlobal(pixels),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(box, &release);
    }

    void ExpectStillCpu() {
        EXPECT_EQ(W().CurrentId, linked_.cpu);
        EXPECT_EQ(W().windowTitle(), QStringLiteral("Tessarine 2000 - [CPU]"));
        EXPECT_EQ(HistoryCaptions(), QStringList{"CPU"});
    }

    LinkedDictionary linked_;
    HyperText::LinkRegion ram_;
};

TEST_F(LinkTest, ReleasingAButtonOnALinkShowsItsEntry) {
    QTest::mouseMove(W().pbxDescription, CentrePixels(ram_));
    EXPECT_TRUE(HandShown());
    QTest::mouseClick(W().pbxDescription, Qt::LeftButton, {}, CentrePixels(ram_));
    EXPECT_EQ(W().CurrentId, linked_.ram);
    EXPECT_EQ(W().windowTitle(), QStringLiteral("Tessarine 2000 - [RAM]"));
    EXPECT_EQ(Texts(W().lstLink), (QStringList{"RAM", "CPU"}));
    EXPECT_EQ(HistoryCaptions(), (QStringList{"CPU", "RAM"}));
}

TEST_F(LinkTest, HandShowsStrictlyInsideALink) {
    const double midX = (ram_.Left + ram_.Right) / 2.0 / Twips::kPerPixel;
    const double midY = (ram_.Top + ram_.Bottom) / 2.0 / Twips::kPerPixel;
    const double left = PixelsForTwips(ram_.Left);
    const double top = PixelsForTwips(ram_.Top);
    const double right = PixelsForTwips(ram_.Right);
    const double bottom = PixelsForTwips(ram_.Bottom);

    MoveOverDescription({midX, midY});
    EXPECT_TRUE(HandShown());
    MoveOverDescription({left, midY});
    EXPECT_TRUE(ArrowShown()) << "on the left edge";
    MoveOverDescription({left + 1, midY});
    EXPECT_TRUE(HandShown()) << "one pixel inside the left edge";
    MoveOverDescription({midX, top});
    EXPECT_TRUE(ArrowShown()) << "on the top edge";
    MoveOverDescription({midX, top + 1});
    EXPECT_TRUE(HandShown()) << "one pixel below the top edge";
    MoveOverDescription({right, midY});
    EXPECT_TRUE(ArrowShown()) << "on the right edge";
    MoveOverDescription({right - 1, midY});
    EXPECT_TRUE(HandShown());
    MoveOverDescription({midX, bottom});
    EXPECT_TRUE(ArrowShown()) << "on the bottom edge";
    MoveOverDescription(PlainText());
    EXPECT_TRUE(ArrowShown());

    // A release on the edge is outside the link as well; one pixel inside it is on the link.
    ReleaseOverDescription({left, midY});
    ExpectStillCpu();
    ReleaseOverDescription({left + 1, midY});
    EXPECT_EQ(W().CurrentId, linked_.ram);
}

TEST_F(LinkTest, AnyButtonWithAnyModifierFollowsTheLink) {
    QTest::mouseClick(W().pbxDescription, Qt::RightButton, {}, CentrePixels(ram_));
    EXPECT_EQ(W().CurrentId, linked_.ram);

    Show(linked_.cpu);
    QTest::mouseClick(W().pbxDescription, Qt::MiddleButton, Qt::ShiftModifier | Qt::ControlModifier,
                      CentrePixels(W().LinkRegions[1]));
    EXPECT_EQ(W().CurrentId, linked_.alu);
}

TEST_F(LinkTest, OnlyThePlaceOfTheReleaseCounts) {
    QTest::mousePress(W().pbxDescription, Qt::LeftButton, {}, CentrePixels(ram_));
    QTest::mouseRelease(W().pbxDescription, Qt::LeftButton, {}, PlainText());
    ExpectStillCpu();

    QTest::mousePress(W().pbxDescription, Qt::LeftButton, {}, PlainText());
    QTest::mouseRelease(W().pbxDescription, Qt::LeftButton, {}, CentrePixels(ram_));
    EXPECT_EQ(W().CurrentId, linked_.ram);
}

TEST_F(LinkTest, RedLinkStartWithoutANumberIsNotClickable) {
    QPoint red;
    for (const DescriptionBox::DrawnText& piece : W().pbxDescription->Drawing())
        if (piece.text == QStringLiteral("XYZ"))
            red = QPoint(piece.x / Twips::kPerPixel + 3, piece.y / Twips::kPerPixel + 4);
    ASSERT_FALSE(red.isNull());
    MoveOverDescription(red);
    EXPECT_TRUE(ArrowShown());
    QTest::mouseClick(W().pbxDescription, Qt::LeftButton, {}, red);
    ExpectStillCpu();
}

TEST_F(LinkTest, LinkWrappedOverTwoLinesLeadsToOneEntryFromBothParts) {
    TestDictionary dict;
    dict.AddCategory(1, QStringLiteral("一般"), QStringLiteral("GE"));
    QString words;
    for (int i = 0; i < 80; ++i)
        words += QStringLiteral("link ");
    dict.AddEntry(QStringLiteral("LONG"), QStringLiteral("Long link"), 1,
                  QStringLiteral("前の文。\\J2 ") + words + QStringLiteral("\\j後の文。"));
    const qint32 target = dict.AddEntry(QStringLiteral("TARGET"), QStringLiteral("Target"), 1);
    dict.Finish();
    window_.reset();
    ASSERT_TRUE(Start(dict.Dir()));
    Show(1);
    ASSERT_GE(W().LinkRegionCount, 2);
    for (int i = 0; i < W().LinkRegionCount; ++i) {
        EXPECT_EQ(W().LinkRegions[size_t(i)].LinkId, target);
        MoveOverDescription(CentrePixels(W().LinkRegions[size_t(i)]));
        EXPECT_TRUE(HandShown()) << "region " << i;
    }
    EXPECT_GT(W().LinkRegions[1].Top, W().LinkRegions[0].Top);
    QTest::mouseClick(W().pbxDescription, Qt::LeftButton, {}, CentrePixels(W().LinkRegions[1]));
    EXPECT_EQ(W().CurrentId, target);
}

TEST_F(LinkTest, ChoosingARelatedWordShowsItAndRebuildsTheList) {
    ClickRow(W().lstLink, 2);
    EXPECT_EQ(W().CurrentId, linked_.ram);
    EXPECT_EQ(Texts(W().lstLink), (QStringList{"RAM", "CPU"}));
    EXPECT_EQ(W().lstLink->currentRow(), 0);

    // The entry's own line does nothing.
    const QListWidgetItem* self = W().lstLink->item(0);
    ClickRow(W().lstLink, 0);
    EXPECT_EQ(W().lstLink->item(0), self);
    EXPECT_EQ(HistoryCaptions(), (QStringList{"CPU", "RAM"}));
}

TEST_F(LinkTest, ClickedRowOfTheRebuiltListIsNotSelectedInstead) {
    // ALU's rebuilt list has a second row where the click landed; only its first row, the
    // entry itself, may end up selected.
    ClickRow(W().lstLink, 1);
    QApplication::processEvents();
    EXPECT_EQ(W().CurrentId, linked_.alu);
    ASSERT_EQ(W().lstLink->count(), 2);
    EXPECT_EQ(W().lstLink->currentRow(), 0);
    EXPECT_EQ(W().lstLink->selectedItems(), QList<QListWidgetItem*>{W().lstLink->item(0)});
}

TEST_F(LinkTest, ArrowKeysInTheRelatedWordsShowEachEntry) {
    Focus(W().lstLink);
    QTest::keyClick(W().lstLink, Qt::Key_Down);
    QApplication::processEvents();
    EXPECT_EQ(W().CurrentId, linked_.alu);
    EXPECT_EQ(Texts(W().lstLink), (QStringList{"ALU", "CPU"}));
    EXPECT_EQ(W().lstLink->currentRow(), 0);

    QTest::keyClick(W().lstLink, Qt::Key_Down);
    QApplication::processEvents();
    EXPECT_EQ(W().CurrentId, linked_.cpu);
    EXPECT_EQ(Texts(W().lstLink), (QStringList{"CPU", "ALU", "RAM"}));

    QTest::keyClick(W().lstLink, Qt::Key_End);
    QApplication::processEvents();
    EXPECT_EQ(W().CurrentId, linked_.ram);
    EXPECT_EQ(Texts(W().lstLink), (QStringList{"RAM", "CPU"}));
    EXPECT_EQ(HistoryCaptions(), (QStringList{"CPU", "ALU", "CPU", "RAM"}));
    EXPECT_TRUE(W().lstLink->hasFocus());
}

} // namespace
