// Where the history window opens, for given main-window geometries (twips, outer sizes).
#include "history/HistoryPlacement.h"

#include <gtest/gtest.h>

namespace {

using HistoryPlacement::MainWindow;
using HistoryPlacement::Place;

constexpr qint32 kScreen = 15360; // 1024 pixels
constexpr qint32 kOwnWidth = 2400;
constexpr qint32 kOwnHeight = 3000;

MainWindow Normal(qint32 left, qint32 width) {
    MainWindow m;
    m.left = left;
    m.top = 1200;
    m.width = width;
    m.height = 6000;
    m.clientHeight = 5400;
    return m;
}

TEST(HistoryPlacementTest, RoomOnTheRightPutsItFlushAgainstTheRightEdge) {
    const auto r = Place(Normal(1500, 6000), kScreen, kOwnWidth, kOwnHeight);
    EXPECT_EQ(r.left, 7500);
    EXPECT_EQ(r.top, 1200);
    EXPECT_EQ(r.height, 6000) << "as tall as the main window";
}

TEST(HistoryPlacementTest, NoRoomOnTheRightButOnTheLeftPutsItFlushLeft) {
    const auto r = Place(Normal(9000, 5000), kScreen, kOwnWidth, kOwnHeight);
    EXPECT_EQ(r.left, 9000 - kOwnWidth);
    EXPECT_EQ(r.top, 1200);
    EXPECT_EQ(r.height, 6000);
}

TEST(HistoryPlacementTest, NoRoomOnEitherSidePutsItAtTheScreensRightEdge) {
    const auto r = Place(Normal(2000, 12000), kScreen, kOwnWidth, kOwnHeight);
    EXPECT_EQ(r.left, kScreen - kOwnWidth);
    EXPECT_EQ(r.top, 1200);
    EXPECT_EQ(r.height, 6000);
}

TEST(HistoryPlacementTest, RoomExactlyAsWideAsTheWindowIsNotEnough) {
    // Right: 15360 - 2000 - 10960 = 2400, not more than the width; left: 2000 is less.
    auto r = Place(Normal(2000, 10960), kScreen, kOwnWidth, kOwnHeight);
    EXPECT_EQ(r.left, kScreen - kOwnWidth);
    // A left side exactly as wide is not enough either.
    r = Place(Normal(kOwnWidth, kScreen - kOwnWidth), kScreen, kOwnWidth, kOwnHeight);
    EXPECT_EQ(r.left, kScreen - kOwnWidth);
    // One twip more room on the right is.
    r = Place(Normal(2000, 10959), kScreen, kOwnWidth, kOwnHeight);
    EXPECT_EQ(r.left, 12959);
}

TEST(HistoryPlacementTest, MaximisedMainWindowKeepsTheListsHeightBelowTheMenuBar) {
    MainWindow m;
    m.left = -60;
    m.top = -60;
    m.width = 15480;
    m.height = 11640;
    m.clientHeight = 10800;
    m.maximized = true;
    m.normal = false;
    const auto r = Place(m, kScreen, kOwnWidth, kOwnHeight);
    EXPECT_EQ(r.left, 15480 - kOwnWidth);
    EXPECT_EQ(r.top, -60 + (11640 - 10800));
    EXPECT_EQ(r.height, kOwnHeight);
}

TEST(HistoryPlacementTest, MinimisedMainWindowKeepsTheOwnHeight) {
    MainWindow m = Normal(1500, 6000);
    m.normal = false;
    const auto r = Place(m, kScreen, kOwnWidth, kOwnHeight);
    EXPECT_EQ(r.left, 7500);
    EXPECT_EQ(r.height, kOwnHeight);
}

} // namespace
