// The result list's columns: the tab stop from the desktop's base unit, and where the spelled-out
// forms start for the abbreviations shown.
#include "search/ListTabStop.h"

#include <gtest/gtest.h>

namespace {

TEST(ListTabStopTest, HalfTheBaseUnitRoundedToEvenTimesFourteen) {
    EXPECT_EQ(TabStopForBaseUnit(6), 42);
    EXPECT_EQ(TabStopForBaseUnit(7), 56) << "3.5 rounds up to 4";
    EXPECT_EQ(TabStopForBaseUnit(8), 56);
    EXPECT_EQ(TabStopForBaseUnit(9), 56) << "4.5 rounds down to 4, not 63";
    EXPECT_EQ(TabStopForBaseUnit(10), 70);
    EXPECT_EQ(TabStopForBaseUnit(11), 84) << "5.5 rounds up to 6";
    EXPECT_EQ(TabStopForBaseUnit(13), 84) << "6.5 rounds down to 6";
}

TEST(ResultColumnsRule, TheTabStopHoldsWhileEveryAbbreviationFitsWithAGap) {
    EXPECT_EQ(ResultColumnsFor(100, 90, 10, 400).secondColumnX, 100);
    EXPECT_EQ(ResultColumnsFor(100, 0, 10, 400).secondColumnX, 100);
    EXPECT_EQ(ResultColumnsFor(100, 90, 10, 400).firstColumnLimit, 90);
}

TEST(ResultColumnsRule, TheColumnMovesRightOnlyAsFarAsTheWidestNeeds) {
    EXPECT_EQ(ResultColumnsFor(100, 91, 10, 400).secondColumnX, 101);
    EXPECT_EQ(ResultColumnsFor(100, 150, 10, 400).secondColumnX, 160);
}

TEST(ResultColumnsRule, TheColumnStopsAtHalfTheListAndLongerAbbreviationsAreCut) {
    const ResultColumns columns = ResultColumnsFor(100, 500, 10, 400);
    EXPECT_EQ(columns.secondColumnX, 200);
    EXPECT_EQ(columns.firstColumnLimit, 190);
    // A list narrower than twice the stop keeps the stop.
    EXPECT_EQ(ResultColumnsFor(100, 500, 10, 150).secondColumnX, 100);
}

} // namespace
