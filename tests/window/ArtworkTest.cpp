// Toolbar pictures, the window and About-box icon and the hand cursor are drawn from vector art at
// the screen's device pixel ratio, so they are sharp at 1, 1.5 and 2 instead of scaled up.
#include "EntryFixtures.h"

#include "app/Artwork.h"
#include "auxiliary/AboutBox.h"

#include <QLabel>
#include <QPainter>
#include <QProcess>
#include <QSvgRenderer>
#include <QWindow>
#include <cmath>

namespace {

QImage Argb(const QPixmap& pixmap) {
    return pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
}

// The art drawn straight from its vector source at `pixels` device pixels.
QImage FromSource(const QString& resource, QSize pixels) {
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QSvgRenderer source(resource);
    EXPECT_TRUE(source.isValid()) << resource.toStdString();
    QPainter painter(&image);
    source.render(&painter, QRectF(QPointF(0, 0), QSizeF(pixels)));
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

// The largest difference of one channel between two pictures of one size.
int Difference(const QImage& a, const QImage& b) {
    EXPECT_EQ(a.size(), b.size());
    int largest = 0;
    for (int y = 0; y < std::min(a.height(), b.height()); ++y)
        for (int x = 0; x < std::min(a.width(), b.width()); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            largest =
                std::max({largest, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                          std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
        }
    return largest;
}

// How many pixels of the picture differ from the one-to-one picture blown up to its size: a
// picture merely scaled up from its 1x pixels differs in none.
int UnlikeScaledUp(const QImage& sharp, const QImage& oneToOne) {
    const QImage blown =
        oneToOne.scaled(sharp.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation)
            .convertToFormat(QImage::Format_ARGB32);
    int differing = 0;
    for (int y = 0; y < sharp.height(); ++y)
        for (int x = 0; x < sharp.width(); ++x)
            differing += sharp.pixel(x, y) != blown.pixel(x, y);
    return differing;
}

// An icon at `logical` size and `ratio`: as many device pixels as that makes, drawn from `source`.
void ExpectDrawnFromSource(const QIcon& icon, QSize logical, qreal ratio, const QString& source) {
    SCOPED_TRACE(source.toStdString() + " at " + std::to_string(ratio));
    const QPixmap pixmap = icon.pixmap(logical, ratio);
    const QSize pixels(int(std::lround(logical.width() * ratio)),
                       int(std::lround(logical.height() * ratio)));
    EXPECT_EQ(pixmap.size(), pixels);
    EXPECT_DOUBLE_EQ(pixmap.devicePixelRatio(), ratio);
    EXPECT_LE(Difference(Argb(pixmap), FromSource(source, pixels)), 2);
    if (ratio > 1) {
        const QImage oneToOne = Argb(icon.pixmap(logical, 1.0));
        EXPECT_GT(UnlikeScaledUp(Argb(pixmap), oneToOne), pixels.width() * pixels.height() / 20)
            << "drawn afresh, not blown up";
    }
}

class ArtworkTest : public EntryWindowTest {
protected:
    void SetUp() override { ASSERT_TRUE(Start(linked_.Dir())); }
    qreal Ratio() { return W().windowHandle()->devicePixelRatio(); }
    LinkedDictionary linked_;
};

TEST_F(ArtworkTest, ToolbarPicturesAtEveryRatio) {
    EXPECT_EQ(C().tbrToolbar->iconSize(), QSize(16, 16));
    for (ToolbarKey key : kToolbarKeys) {
        const QString name = ToolbarKeyName(key);
        const QIcon icon = C().Find<QAction>(QStringLiteral("tbr") + name)->icon();
        for (qreal ratio : {1.0, 1.5, 2.0, Ratio()})
            ExpectDrawnFromSource(icon, QSize(16, 16), ratio,
                                  QStringLiteral(":/toolbar/%1.svg").arg(name));
        // A disabled button greys its picture, drawn sharp as well.
        EXPECT_EQ(icon.pixmap(QSize(16, 16), 2.0, QIcon::Disabled).size(), QSize(32, 32));
    }
}

TEST_F(ArtworkTest, WindowIconAtEveryRatio) {
    for (qreal ratio : {1.0, 1.5, 2.0, Ratio()})
        for (QSize size : {QSize(16, 16), QSize(32, 32)})
            ExpectDrawnFromSource(W().windowIcon(), size, ratio,
                                  QStringLiteral(":/icons/tessarine.svg"));
}

TEST_F(ArtworkTest, AboutBoxIconAtTheScreensRatio) {
    AboutBox box(&W());
    const QPixmap picture = box.Picture1->pixmap();
    EXPECT_EQ(box.Picture1->size(), QSize(32, 32));
    EXPECT_DOUBLE_EQ(picture.devicePixelRatio(), box.devicePixelRatioF());
    const QSize pixels(int(std::lround(32 * box.devicePixelRatioF())),
                       int(std::lround(32 * box.devicePixelRatioF())));
    EXPECT_EQ(picture.size(), pixels);
    EXPECT_LE(
        Difference(Argb(picture), FromSource(QStringLiteral(":/icons/tessarine.svg"), pixels)), 2);
}

TEST_F(ArtworkTest, HandCursorAtEveryRatio) {
    for (qreal ratio : {1.0, 1.5, 2.0}) {
        SCOPED_TRACE(ratio);
        const QCursor hand = Artwork::HandCursor(ratio);
        const QSize pixels(int(std::lround(32 * ratio)), int(std::lround(32 * ratio)));
        EXPECT_EQ(hand.shape(), Qt::BitmapCursor);
        EXPECT_EQ(hand.pixmap().size(), pixels);
        EXPECT_DOUBLE_EQ(hand.pixmap().devicePixelRatio(), ratio);
        EXPECT_EQ(hand.hotSpot(), QPoint(Artwork::kHandHotX, Artwork::kHandHotY));
        EXPECT_LE(Difference(Argb(hand.pixmap()), FromSource(":/cursors/hand.svg", pixels)), 2);
    }
    EXPECT_GT(UnlikeScaledUp(Argb(Artwork::HandCursor(2.0).pixmap()),
                             Argb(Artwork::HandCursor(1.0).pixmap())),
              64 * 64 / 20);
    // The hot spot lies on the fingertip's outline: the top row is drawn there and nowhere left.
    const QImage top = Argb(Artwork::HandCursor(1.0).pixmap());
    EXPECT_GT(qAlpha(top.pixel(Artwork::kHandHotX, 0)), 0);
    EXPECT_EQ(qAlpha(top.pixel(0, 0)), 0);
}

TEST_F(ArtworkTest, TheHandOverALinkIsDrawnForTheScreen) {
    Show(linked_.cpu);
    MoveOverDescription(CentrePixels(C().pbxDescription->Regions()[0]));
    ASSERT_TRUE(HandShown());
    const QPixmap hand = C().pbxDescription->cursor().pixmap();
    EXPECT_DOUBLE_EQ(hand.devicePixelRatio(), C().pbxDescription->devicePixelRatioF());
    EXPECT_EQ(hand.width(), int(std::lround(32 * C().pbxDescription->devicePixelRatioF())));
}

// The same checks in the window of a program that runs at 1.5 and at 2 device pixels to the
// logical one: the test program runs itself again at each scale.
TEST(ArtworkScaleTest, SharpAtOneAndAHalfAndTwo) {
    if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR"))
        GTEST_SKIP() << "already running at a scale of its own";
    for (const char* scale : {"1.5", "2"}) {
        SCOPED_TRACE(scale);
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_SCALE_FACTOR"), QString::fromLatin1(scale));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--gtest_filter=ArtworkTest.*")});
        ASSERT_TRUE(child.waitForStarted(10000));
        ASSERT_TRUE(child.waitForFinished(120000)) << "the run at this scale does not end";
        const QString output = QString::fromUtf8(child.readAll());
        EXPECT_EQ(child.exitCode(), 0) << qPrintable(output);
        EXPECT_TRUE(output.contains(QStringLiteral("[  PASSED  ] 5 tests"))) << qPrintable(output);
    }
}

} // namespace
