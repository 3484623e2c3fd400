#include "MainWindowFixture.h"

#include "app/StatusPanels.h"

#include <QLineEdit>
#include <QListWidget>

TEST_F(MainWindowTest, TypingCpuAndEnterShowsTheEntry) {
    ASSERT_TRUE(Start());
    Search(QStringLiteral("cpu"));
    ASSERT_GE(C().lstDbList->count(), 1);
    EXPECT_TRUE(C().lstDbList->item(0)->text().startsWith(QLatin1String("CPU\t")));
    EXPECT_EQ(W().windowTitle(), QStringLiteral("Tessarine 2000 - [CPU]"));
    EXPECT_EQ(C().statusPanels->TextValue(), QStringLiteral("検索結果 : 1件"));
    ASSERT_GE(C().lstLink->count(), 2);
    EXPECT_EQ(C().lstLink->item(0)->text(), QStringLiteral("CPU"));
    EXPECT_EQ(C().lstLink->currentRow(), 0);
    EXPECT_GT(C().pbxDescription->RegionCount(), 0);
    EXPECT_TRUE(messages_.boxes.isEmpty());
}
