// The small window that tells the user a dictionary is still being read.
#include "app/OpenProgressWindow.h"

#include <QApplication>
#include <QProgressDialog>
#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

int VisibleProgressWindows() {
    int count = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        count += qobject_cast<QProgressDialog*>(w) && w->isVisible();
    return count;
}

TEST(OpenProgressWindowTest, AppearsOnceTheDelayHasPassedAndNamesTheFile) {
    {
        OpenProgressWindow progress(QStringLiteral("/some/where/ABBR.MDB"), 0ms);
        progress.Update(0.25);
        ASSERT_NE(progress.Window(), nullptr);
        EXPECT_TRUE(progress.Window()->isVisible());
        EXPECT_TRUE(progress.Window()->labelText().contains(QStringLiteral("ABBR.MDB")));
        EXPECT_EQ(progress.Window()->value(), 25);
        progress.Update(0.75);
        EXPECT_EQ(progress.Window()->value(), 75);
        EXPECT_EQ(VisibleProgressWindows(), 1);
    }
    EXPECT_EQ(VisibleProgressWindows(), 0) << "the window goes when the opening ends";
}

TEST(OpenProgressWindowTest, AQuickOpeningShowsNothing) {
    OpenProgressWindow progress(QStringLiteral("ABBR.MDB"), 3600s);
    progress.Update(0.5);
    progress.Update(1.0);
    EXPECT_EQ(progress.Window(), nullptr);
    EXPECT_EQ(VisibleProgressWindows(), 0);
}

} // namespace
