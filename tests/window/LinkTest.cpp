// Following references: the hand over links in the description, mouse releases on them, and
// the related-words list, on the real window.
#include "EntryFixtures.h"

#include <QAccessible>
#include <QSignalSpy>

namespace {

class LinkTest : public EntryWindowTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(Start(linked_.Dir()));
        Show(linked_.cpu);
        ASSERT_EQ(C().pbxDescription->RegionCount(), 2);
        ram_ = C().pbxDescription->Regions()[0];
        ASSERT_EQ(ram_.LinkId, linked_.ram);
    }

    // A point of the box over plain text, away from every link: the first body line.
    QPoint PlainText() {
        for (const DescriptionBox::DrawnText& piece : C().pbxDescription->Drawing())
            if (piece.text == QStringLiteral("命令を実行する装置。"))
                return QPoint(piece.x / Twips::kPerPixel + 4, piece.y / Twips::kPerPixel + 4);
        ADD_FAILURE() << "no plain text drawn";
        return {};
    }

    void ReleaseOverDescription(QPointF pixels) {
        DescriptionBox* box = C().pbxDescription;
        QMouseEvent release(QEvent::MouseButtonRelease, pixels, box->mapToGlobal(pixels),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(box, &release);
    }

    void ExpectStillCpu() {
        EXPECT_EQ(W().Current().CurrentId, linked_.cpu);
        EXPECT_EQ(W().windowTitle(), QStringLiteral("Tessarine 2000 - [CPU]"));
        EXPECT_EQ(HistoryCaptions(), QStringList{"CPU"});
    }

    LinkedDictionary linked_;
    HyperText::LinkRegion ram_;
};

TEST_F(LinkTest, ReleasingAButtonOnALinkShowsItsEntry) {
    QTest::mouseMove(C().pbxDescription, CentrePixels(ram_));
    EXPECT_TRUE(HandShown());
    QTest::mouseClick(C().pbxDescription, Qt::LeftButton, {}, CentrePixels(ram_));
    EXPECT_EQ(W().Current().CurrentId, linked_.ram);
    EXPECT_EQ(W().windowTitle(), QStringLiteral("Tessarine 2000 - [RAM]"));
    EXPECT_EQ(Texts(C().lstLink), (QStringList{"RAM", "CPU"}));
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
    EXPECT_EQ(W().Current().CurrentId, linked_.ram);
}

TEST_F(LinkTest, AnyButtonWithAnyModifierFollowsTheLink) {
    QTest::mouseClick(C().pbxDescription, Qt::RightButton, {}, CentrePixels(ram_));
    EXPECT_EQ(W().Current().CurrentId, linked_.ram);

    Show(linked_.cpu);
    QTest::mouseClick(C().pbxDescription, Qt::MiddleButton, Qt::ShiftModifier | Qt::ControlModifier,
                      CentrePixels(C().pbxDescription->Regions()[1]));
    EXPECT_EQ(W().Current().CurrentId, linked_.alu);
}

TEST_F(LinkTest, OnlyThePlaceOfTheReleaseCounts) {
    QTest::mousePress(C().pbxDescription, Qt::LeftButton, {}, CentrePixels(ram_));
    QTest::mouseRelease(C().pbxDescription, Qt::LeftButton, {}, PlainText());
    ExpectStillCpu();

    QTest::mousePress(C().pbxDescription, Qt::LeftButton, {}, PlainText());
    QTest::mouseRelease(C().pbxDescription, Qt::LeftButton, {}, CentrePixels(ram_));
    EXPECT_EQ(W().Current().CurrentId, linked_.ram);
}

TEST_F(LinkTest, RedLinkStartWithoutANumberIsNotClickable) {
    QPoint red;
    for (const DescriptionBox::DrawnText& piece : C().pbxDescription->Drawing())
        if (piece.text == QStringLiteral("XYZ"))
            red = QPoint(piece.x / Twips::kPerPixel + 3, piece.y / Twips::kPerPixel + 4);
    ASSERT_FALSE(red.isNull());
    MoveOverDescription(red);
    EXPECT_TRUE(ArrowShown());
    QTest::mouseClick(C().pbxDescription, Qt::LeftButton, {}, red);
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
    ASSERT_GE(C().pbxDescription->RegionCount(), 2);
    for (int i = 0; i < C().pbxDescription->RegionCount(); ++i) {
        EXPECT_EQ(C().pbxDescription->Regions()[size_t(i)].LinkId, target);
        MoveOverDescription(CentrePixels(C().pbxDescription->Regions()[size_t(i)]));
        EXPECT_TRUE(HandShown()) << "region " << i;
    }
    EXPECT_GT(C().pbxDescription->Regions()[1].Top, C().pbxDescription->Regions()[0].Top);
    QTest::mouseClick(C().pbxDescription, Qt::LeftButton, {},
                      CentrePixels(C().pbxDescription->Regions()[1]));
    EXPECT_EQ(W().Current().CurrentId, target);
}

TEST_F(LinkTest, ChoosingARelatedWordShowsItAndRebuildsTheList) {
    ClickRow(C().lstLink, 2);
    EXPECT_EQ(W().Current().CurrentId, linked_.ram);
    EXPECT_EQ(Texts(C().lstLink), (QStringList{"RAM", "CPU"}));
    EXPECT_EQ(C().lstLink->currentRow(), 0);

    // The entry's own line does nothing.
    const QListWidgetItem* self = C().lstLink->item(0);
    ClickRow(C().lstLink, 0);
    EXPECT_EQ(C().lstLink->item(0), self);
    EXPECT_EQ(HistoryCaptions(), (QStringList{"CPU", "RAM"}));
}

TEST_F(LinkTest, ClickedRowOfTheRebuiltListIsNotSelectedInstead) {
    // ALU's rebuilt list has a second row where the click landed; only its first row, the
    // entry itself, may end up selected.
    ClickRow(C().lstLink, 1);
    QApplication::processEvents();
    EXPECT_EQ(W().Current().CurrentId, linked_.alu);
    ASSERT_EQ(C().lstLink->count(), 2);
    EXPECT_EQ(C().lstLink->currentRow(), 0);
    EXPECT_EQ(C().lstLink->selectedItems(), QList<QListWidgetItem*>{C().lstLink->item(0)});
}

// The arrows only move the selection: showing a word rebuilds the list, which would leave all
// but the first two words out of the keyboard's reach. Enter or Space shows the word selected,
// and Enter does not run the search as well.
TEST_F(LinkTest, ArrowKeysMoveTheSelectionAndEnterOrSpaceShowsTheWord) {
    C().txtSearchKey->setText(QStringLiteral("GPU")); // what Enter would search for
    Focus(C().lstLink);
    auto press = [this](Qt::Key key) {
        QTest::keyClick(C().lstLink, key);
        QApplication::processEvents();
    };
    press(Qt::Key_Down);
    press(Qt::Key_Down);
    EXPECT_EQ(C().lstLink->currentRow(), 2);
    press(Qt::Key_Up);
    EXPECT_EQ(C().lstLink->currentRow(), 1);
    ExpectStillCpu();
    EXPECT_EQ(Texts(C().lstLink), (QStringList{"CPU", "ALU", "RAM"}));

    press(Qt::Key_Return);
    EXPECT_EQ(W().Current().CurrentId, linked_.alu);
    EXPECT_EQ(Texts(C().lstLink), (QStringList{"ALU", "CPU"}));
    EXPECT_EQ(C().lstLink->currentRow(), 0);

    press(Qt::Key_Down);
    EXPECT_EQ(W().Current().CurrentId, linked_.alu);
    press(Qt::Key_Space);
    EXPECT_EQ(W().Current().CurrentId, linked_.cpu);

    press(Qt::Key_End);
    EXPECT_EQ(W().Current().CurrentId, linked_.cpu);
    press(Qt::Key_Enter);
    EXPECT_EQ(W().Current().CurrentId, linked_.ram);
    EXPECT_EQ(Texts(C().lstLink), (QStringList{"RAM", "CPU"}));
    // Enter or Space on the entry's own line shows nothing new.
    press(Qt::Key_Home);
    press(Qt::Key_Return);
    EXPECT_EQ(HistoryCaptions(), (QStringList{"CPU", "ALU", "CPU", "RAM"}));
    EXPECT_TRUE(C().lstLink->hasFocus());
    EXPECT_EQ(C().lstDbList->count(), 0) << "Enter in the list ran the search";
}

// The result list is not rebuilt by showing an entry: there the arrows show each entry at once.
TEST_F(LinkTest, ArrowKeysInTheResultListStillShowEachEntry) {
    Search(QStringLiteral("*"));
    ASSERT_EQ(C().lstDbList->count(), 4);
    const qint32 first = W().Current().CurrentId;
    QTest::keyClick(C().lstDbList, Qt::Key_Down);
    QApplication::processEvents();
    EXPECT_NE(W().Current().CurrentId, first);
    EXPECT_EQ(W().Current().CurrentId, C().lstDbList->item(1)->data(Qt::UserRole).toInt());
}

// The box reports every way of choosing a link by one signal, and a region that is not one of
// the drawing on show (gone with an earlier, longer description, or never there) leads nowhere.
TEST(DescriptionBoxLinks, EveryWayOfChoosingALinkIsOneSignalWithOneBound) {
    const auto CentrePixelsOf = [](const HyperText::LinkRegion& r) {
        return QPoint(int(std::lround((r.Left + r.Right) / 2.0 / Twips::kPerPixel)),
                      int(std::lround((r.Top + r.Bottom) / 2.0 / Twips::kPerPixel)));
    };
    DescriptionBox box;
    box.resize(400, 200);
    box.show();
    QSignalSpy chosen(&box, &DescriptionBox::LinkChosen);
    const HyperText::DisplayFont font{box.font().family(), 9.0};
    ASSERT_EQ(
        box.ShowDescription(QStringLiteral("\\J7 one\\j \\J8 two\\j \\J9 three\\j"), font, true),
        3);
    const HyperText::LinkRegion second = box.Regions()[1];
    ASSERT_EQ(box.ShowDescription(QStringLiteral("\\J5 only\\j"), font, true), 1);
    ASSERT_EQ(box.Regions().size(), 1u);

    for (int region : {-1, 1, 2, 3, 32767})
        box.FollowLink(region);
    // Where the second link of the earlier drawing stood there is nothing now.
    QTest::mouseClick(&box, Qt::LeftButton, {}, CentrePixelsOf(second));
    EXPECT_EQ(chosen.count(), 0);

    const HyperText::LinkRegion only = box.Regions()[0];
    QTest::mouseClick(&box, Qt::RightButton, {}, CentrePixelsOf(only));
    box.setFocus();
    QTest::keyClick(&box, Qt::Key_Right);
    QTest::keyClick(&box, Qt::Key_Return);
    QAccessibleInterface* link = QAccessible::queryAccessibleInterface(&box)->child(0);
    ASSERT_NE(link, nullptr);
    link->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    ASSERT_EQ(chosen.count(), 3) << "mouse, keyboard and screen reader";
    for (const QList<QVariant>& arguments : chosen)
        EXPECT_EQ(arguments.at(0).toInt(), 5);
}

} // namespace
