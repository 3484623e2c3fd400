// Where the controls go when the window is sized, dragged, widened, minimised and maximised.
#include "MainWindowFixture.h"
#include "ShellTestSupport.h"

#include "app/StatusPanels.h"
#include "entryview/DescriptionBox.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QProcess>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QWindow>
#include <set>

using ShellTest::FullWidthChar;
using ShellTest::RectInWindow;

namespace {

// Rounding to whole twips and then to pixels costs at most one pixel per width.
constexpr int kSlack = 1;

// Twips to pixels at 96 dots per inch.
double Px(double twips) {
    return twips / 15.0;
}

// The number of distinct lines the description was drawn on.
int DrawnLines(const DescriptionBox& box) {
    std::set<qint32> tops;
    for (const auto& piece : box.Drawing())
        tops.insert(piece.y);
    return int(tops.size());
}

// The right end of the widest drawn line, in twips of the box.
qint32 DrawnRightEdge(const DescriptionBox& box) {
    qint32 right = 0;
    for (const auto& piece : box.Drawing())
        right = std::max(
            right, piece.x + qint32(QFontMetricsF(piece.font).horizontalAdvance(piece.text) * 15));
    return right;
}

} // namespace

class LayoutTest : public MainWindowTest {
protected:
    void SetUp() override { ASSERT_TRUE(Start()); }

    // Resizes the window's client area (menu bar included), as a drag of its border does.
    void ResizeClient(int width, int height) {
        W().resize(width, height);
        ShellTest::Settle();
    }

    // The rules that hold at every size.
    void ExpectArrangement() {
        frmMain& w = W();
        const MainControls c(w);
        const auto r = ShellTest::Layout(w);
        const double ch = FullWidthChar(w);
        const QRect client = RectInWindow(w, w.centralWidget());
        const int right = w.width(); // the client area's right edge
        SCOPED_TRACE(testing::Message() << "window " << w.width() << "x" << w.height());

        // Widths counted in full-width characters of the display font.
        EXPECT_NEAR(r["txtSearchKey"].width(), 8 * ch, kSlack);
        EXPECT_NEAR(r["cmbCategory"].width(), 9 * ch, kSlack);
        EXPECT_EQ(r["lstLink"].width(), r["txtSearchKey"].width());
        EXPECT_EQ(r["pbxDescription"].height(), r["lstLink"].height());

        // Captions in one row under the toolbar, each above its field and starting with it.
        const int captionsTop = r["tbrToolbar"].bottom() + 1 + qRound(Px(90));
        for (const char* label : {"Label1_0", "Label1_1", "Label1_2"})
            EXPECT_NEAR(r[label].top(), captionsTop, kSlack) << label;
        EXPECT_EQ(r["Label1_0"].left(), r["txtSearchKey"].left());
        EXPECT_EQ(r["Label1_1"].left(), r["txtLetter"].left());
        EXPECT_EQ(r["Label1_2"].left(), r["cmbCategory"].left());

        // The fields in one row: abbreviation at the left, category flush right, the
        // spelled-out form between them with a gap of 30 twips on each side.
        const int fieldsTop = r["Label1_0"].bottom() + 1 + qRound(Px(30));
        for (const char* field : {"txtSearchKey", "txtLetter", "cmbCategory"})
            EXPECT_NEAR(r[field].top(), fieldsTop, kSlack) << field;
        EXPECT_EQ(r["txtSearchKey"].left(), 0);
        EXPECT_EQ(r["cmbCategory"].right() + 1, right);
        EXPECT_NEAR(r["txtLetter"].left() - r["txtSearchKey"].right() - 1, Px(30), kSlack);
        EXPECT_NEAR(r["cmbCategory"].left() - r["txtLetter"].right() - 1, Px(30), kSlack);
        EXPECT_EQ(r["txtLetter"].height(), r["cmbCategory"].height());
        EXPECT_EQ(r["txtSearchKey"].height(), r["cmbCategory"].height());

        // The headers over the related words and the description, as wide as what they head.
        EXPECT_NEAR(r["Label2_0"].top(), r["txtSearchKey"].bottom() + 1 + Px(30), kSlack);
        EXPECT_EQ(r["Label2_1"].top(), r["Label2_0"].top());
        EXPECT_NEAR(r["Label2_0"].height(), Px(240), kSlack);
        EXPECT_EQ(r["Label2_0"].left(), 0);
        EXPECT_EQ(r["Label2_0"].width(), r["lstLink"].width());
        EXPECT_EQ(r["Label2_1"].left(), r["pbxDescription"].left());
        EXPECT_EQ(r["Label2_1"].width(), r["pbxDescription"].width());

        // Related words at the left, the description beside them to the right edge.
        EXPECT_NEAR(r["lstLink"].top(), r["Label2_0"].bottom() + 1 + Px(30), kSlack);
        EXPECT_EQ(r["lstLink"].left(), 0);
        EXPECT_EQ(r["pbxDescription"].top(), r["lstLink"].top());
        EXPECT_EQ(r["pbxDescription"].left(), r["txtLetter"].left());
        EXPECT_EQ(r["pbxDescription"].right() + 1, right);
        EXPECT_EQ(r["Label3"].topLeft(), r["lstLink"].topLeft());

        // The result list over the full width down to the status bar.
        EXPECT_NEAR(r["lstDbList"].top(), r["lstLink"].bottom() + 1 + Px(30), kSlack);
        EXPECT_EQ(r["lstDbList"].left(), 0);
        EXPECT_EQ(r["lstDbList"].width(), right);
        EXPECT_NEAR(r["lstDbList"].bottom() + 1, r["stbStatusBar"].top(), kSlack);
        EXPECT_GE(r["lstDbList"].height(), 0);
        EXPECT_EQ(client.width(), right);
    }
};

TEST_F(LayoutTest, ArrangementAtTheFirstSize) {
    ExpectArrangement();
    // The first width is the minimum width: the spelled-out field is 14 characters there.
    EXPECT_NEAR(C().txtLetter->width(), 14 * FullWidthChar(W()), 2 * kSlack);
}

TEST_F(LayoutTest, FirstSizeFollowsTheFont) {
    frmMain& w = W();
    const MainControls c(w);
    // Width: the three fields, 31 characters, and two gaps of 30 twips.
    EXPECT_EQ(w.width(),
              c.txtSearchKey->width() + c.txtLetter->width() + c.cmbCategory->width() + 4);
    // Height: toolbar, 120 twips, three caption heights, a field, the related words, thirty
    // lines of the result list (its size times 300 twips) and the status bar, for the outer
    // height: the window frame is not added.
    const int expected = c.tbrToolbar->height() + qRound(Px(120)) + 3 * c.Label1[0]->height() +
                         c.txtSearchKey->height() + c.lstLink->height() +
                         qRound(Px(c.lstDbList->font().pointSize() * 300)) +
                         c.stbStatusBar->height();
    EXPECT_NEAR(w.frameGeometry().height(), expected, 2 * kSlack);
    EXPECT_EQ(w.OuterWidth(), ShellTest::MinimumOuterWidth(w));
    // The related words are 22 lines (size times 220 twips), the result list one line at the
    // minimum: see MinimumHeightLeavesOneLineOfResults.
    EXPECT_NEAR(c.lstLink->height(), Px(9 * 220), kSlack);
}

TEST_F(LayoutTest, DragTo100By100SnapsBackToTheMinimumAndLaysOutOnce) {
    frmMain& w = W();
    const MainControls c(w);
    const QSize first = w.size();
    const int passes = w.LayoutPasses();
    // 100 by 100 twips, as a drag of the border that the window system lets through.
    w.windowHandle()->resize(7, 7);
    ShellTest::Settle();
    EXPECT_EQ(w.OuterWidth(), ShellTest::MinimumOuterWidth(w));
    EXPECT_EQ(w.OuterHeight(), ShellTest::MinimumOuterHeight(w));
    EXPECT_EQ(w.width(), first.width()) << "the first width is the minimum width";
    EXPECT_LT(w.height(), first.height());
    EXPECT_EQ(w.LayoutPasses(), passes + 1) << "laid out once, at the corrected size";
    ExpectArrangement();
}

TEST_F(LayoutTest, ResizeBelowTheMinimumIsRefused) {
    frmMain& w = W();
    const MainControls c(w);
    const int passes = w.LayoutPasses();
    ResizeClient(7, 7);
    EXPECT_EQ(w.OuterWidth(), ShellTest::MinimumOuterWidth(w));
    EXPECT_EQ(w.OuterHeight(), ShellTest::MinimumOuterHeight(w));
    EXPECT_EQ(w.LayoutPasses(), passes + 1);
    ExpectArrangement();
}

TEST_F(LayoutTest, MinimumHeightLeavesOneLineOfResults) {
    ResizeClient(7, 7);
    // At the minimum height the result list is 60 twips plus one line (size times 20 twips).
    EXPECT_NEAR(C().lstDbList->height(), Px(60 + 9 * 20), kSlack);
    // At the minimum width the spelled-out field is exactly 14 characters.
    EXPECT_NEAR(C().txtLetter->width(), 14 * FullWidthChar(W()), 2 * kSlack);
}

TEST_F(LayoutTest, WideningWidensOnlyTheStretchingControls) {
    ResizeClient(W().width(), W().height());
    const auto before = ShellTest::Layout(W());
    const int delta = 213;
    ResizeClient(W().width() + delta, W().height());
    const auto after = ShellTest::Layout(W());

    for (const char* name : {"txtLetter", "pbxDescription", "Label2_1", "lstDbList"}) {
        EXPECT_EQ(after[name].width(), before[name].width() + delta) << name;
        EXPECT_EQ(after[name].topLeft(), before[name].topLeft()) << name;
        EXPECT_EQ(after[name].height(), before[name].height()) << name;
    }
    // The category list and its caption move with the right edge.
    for (const char* name : {"cmbCategory", "Label1_2"})
        EXPECT_EQ(after[name], before[name].translated(delta, 0)) << name;
    for (const char* name :
         {"Label1_0", "Label1_1", "txtSearchKey", "Label2_0", "lstLink", "Label3"})
        EXPECT_EQ(after[name], before[name]) << name;
    ExpectArrangement();
}

TEST_F(LayoutTest, MakingTheWindowTallerOnlyLengthensTheResults) {
    const auto before = ShellTest::Layout(W());
    const int delta = 97;
    ResizeClient(W().width(), W().height() + delta);
    const auto after = ShellTest::Layout(W());
    EXPECT_EQ(after["lstDbList"].height(), before["lstDbList"].height() + delta);
    EXPECT_EQ(after["lstDbList"].topLeft(), before["lstDbList"].topLeft());
    for (auto it = before.begin(); it != before.end(); ++it) {
        if (it.key() == QLatin1String("lstDbList") || it.key() == QLatin1String("stbStatusBar"))
            continue;
        EXPECT_EQ(after[it.key()], it.value()) << qPrintable(it.key());
    }
    EXPECT_EQ(after["stbStatusBar"], before["stbStatusBar"].translated(0, delta));
}

TEST_F(LayoutTest, MinimisingAndRestoringKeepsTheLayout) {
    ResizeClient(W().width() + 40, W().height() + 40);
    const auto before = ShellTest::Layout(W());
    const int passes = W().LayoutPasses();
    W().showMinimized();
    ShellTest::Settle();
    EXPECT_EQ(W().LayoutPasses(), passes) << "no layout while minimised";
    W().showNormal();
    ShellTest::Settle();
    EXPECT_FALSE(W().isMinimized());
    EXPECT_EQ(ShellTest::Layout(W()), before);
    // A resize event arriving while minimised (as some window systems send) changes nothing.
    W().setWindowState(Qt::WindowMinimized);
    W().Form_Resize();
    EXPECT_EQ(W().LayoutPasses(), passes);
    W().setWindowState(Qt::WindowNoState);
    ShellTest::Settle();
    EXPECT_EQ(ShellTest::Layout(W()), before);
}

TEST_F(LayoutTest, MaximisedWindowIsLaidOutAtItsSize) {
    W().showMaximized();
    ShellTest::Settle();
    ASSERT_TRUE(W().isMaximized());
    ExpectArrangement();
    W().showNormal();
    ShellTest::Settle();
    ExpectArrangement();
}

TEST_F(LayoutTest, DescriptionIsWrappedAgainAfterAResize) {
    Search(QStringLiteral("cpu"));
    ASSERT_GT(W().Current().CurrentId, 0);
    const DescriptionBox& box = *C().pbxDescription;
    const int narrowLines = DrawnLines(box);
    ASSERT_GT(narrowLines, 2) << "the entry needs a description that wraps";
    EXPECT_LE(DrawnRightEdge(box), box.width() * 15);

    ResizeClient(W().width() + 400, W().height());
    const int wideLines = DrawnLines(box);
    EXPECT_LT(wideLines, narrowLines);
    EXPECT_LE(DrawnRightEdge(box), box.width() * 15);
    EXPECT_GT(DrawnRightEdge(box), (box.width() - 400) * 15) << "not wrapped to the new width";
    EXPECT_EQ(qsizetype(C().pbxDescription->RegionCount()),
              qsizetype(C().pbxDescription->Regions().size()));
    for (const auto& region : C().pbxDescription->Regions())
        EXPECT_LE(region.Right, box.width() * 15);

    ResizeClient(W().width() - 400, W().height());
    EXPECT_EQ(DrawnLines(box), narrowLines);
}

TEST_F(LayoutTest, RunsAtTheScaleOfItsEnvironment) {
    const double expected = qEnvironmentVariableIsSet("QT_SCALE_FACTOR")
                                ? qEnvironmentVariable("QT_SCALE_FACTOR").toDouble()
                                : 1.0;
    EXPECT_DOUBLE_EQ(W().windowHandle()->devicePixelRatio(), expected);
}

// The same rules on a screen with two device pixels to the logical one: the test program runs
// itself again in a process of its own.
TEST(LayoutScaleTest, RulesHoldAtScaleFactorTwo) {
    if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR"))
        GTEST_SKIP() << "already running at a scale of its own";
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("2"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(
        QCoreApplication::applicationFilePath(),
        {QStringLiteral("--gtest_filter=LayoutTest.*:FontGestureTest.*:FontClippingTest.*")});
    ASSERT_TRUE(child.waitForStarted(10000));
    ASSERT_TRUE(child.waitForFinished(180000)) << "the run at scale 2 does not end";
    const QString output = QString::fromUtf8(child.readAll());
    EXPECT_EQ(child.exitCode(), 0) << qPrintable(output);
    EXPECT_TRUE(output.contains(QStringLiteral("[  PASSED  ]"))) << qPrintable(output);
    EXPECT_FALSE(output.contains(QStringLiteral("[  FAILED  ]"))) << qPrintable(output);
}
