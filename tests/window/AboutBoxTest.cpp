// The About box built from the real main window: texts, the layout derived from the display
// font, the separator line, and where it opens.
#include "EntryFixtures.h"

#include "auxiliary/AboutBox.h"
#include "base/AppInfo.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace {

class AboutBoxTest : public EntryWindowTest {
protected:
    void SetUp() override { ASSERT_TRUE(Start()); }

    // Opened modeless, so that the test can look at it while it is on the screen.
    std::unique_ptr<AboutBox> Open() {
        auto box = std::make_unique<AboutBox>(&W());
        box->setModal(false);
        box->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(box.get()));
        QApplication::processEvents();
        return box;
    }

    static QList<QLabel*> TextLabels(const AboutBox& box) {
        return {box.Label1, box.Label2, box.Label3, box.lblDictionary, box.Label4};
    }
    static int WidestRight(const AboutBox& box) {
        int right = 0;
        for (QLabel* label : TextLabels(box))
            right = std::max(right, label->x() + label->width());
        return right;
    }
    static int Bottom(const QWidget* w) { return w->y() + w->height(); }

    void SetFontSize(qint16 size) {
        QString face = W().font().family();
        W().FontChange(face, size);
        QApplication::processEvents();
    }

    // Checks every rule of the layout for the current display font.
    void ExpectLayout(const AboutBox& box) {
        const double size = W().font().pointSizeF();
        // Every control takes the main window's face and size; the name line is half again as
        // large (the whole points halved, remainder dropped) and bold.
        for (QWidget* w : std::initializer_list<QWidget*>{box.Label1, box.Label3, box.lblDictionary,
                                                          box.Label4, box.cmdOK}) {
            EXPECT_EQ(w->font().family(), W().font().family()) << qPrintable(w->objectName());
            EXPECT_DOUBLE_EQ(w->font().pointSizeF(), size) << qPrintable(w->objectName());
            EXPECT_FALSE(w->font().bold()) << qPrintable(w->objectName());
        }
        EXPECT_TRUE(box.Label2->font().bold());
        EXPECT_DOUBLE_EQ(box.Label2->font().pointSizeF(), size + int(std::nearbyint(size)) / 2);

        // The icon at 180 twips from the corner, 32 pixels square; the text column 120 twips to
        // its right, the credits under the icon.
        EXPECT_EQ(box.Picture1->geometry(), QRect(12, 12, 32, 32));
        EXPECT_EQ(box.Label1->pos(), QPoint(52, 12));
        EXPECT_EQ(box.Label2->x(), 52);
        EXPECT_EQ(box.Label3->x(), 52);
        EXPECT_EQ(box.lblDictionary->x(), 52);
        EXPECT_EQ(box.Label4->x(), 12);
        // The name line's bottom level with the icon's, unless that overlaps the comments.
        EXPECT_EQ(box.Label2->y(),
                  std::max(Bottom(box.Picture1) - box.Label2->height(), Bottom(box.Label1)));
        EXPECT_EQ(box.Label3->y(), Bottom(box.Label2) + 4); // 60 twips
        // The dictionary in use on a line of its own below the copyright.
        EXPECT_EQ(box.lblDictionary->y(), Bottom(box.Label3) + 4); // 60 twips
        EXPECT_EQ(box.Label4->y(), Bottom(box.lblDictionary) + 8); // 120 twips
        for (QLabel* label : TextLabels(box))
            EXPECT_EQ(label->size(), label->sizeHint()) << qPrintable(label->objectName());

        // The OK button: four times its caption wide, its right edge level with the widest
        // line and its bottom with the credits'.
        const QFontMetricsF metrics(box.cmdOK->font());
        EXPECT_NEAR(box.cmdOK->width(), 4 * metrics.horizontalAdvance(QStringLiteral("OK")), 1.0);
        EXPECT_NEAR(box.cmdOK->height(), metrics.height() + 12, 1.0);
        EXPECT_EQ(box.cmdOK->x() + box.cmdOK->width(), WidestRight(box));
        EXPECT_EQ(Bottom(box.cmdOK), Bottom(box.Label4));

        // The client area ends 180 twips right of the widest line and 180 below the button.
        EXPECT_EQ(box.width(), WidestRight(box) + 12);
        EXPECT_EQ(box.height(), Bottom(box.cmdOK) + 8 + 4);

        // The separator runs 60 twips above the credits, from the icon's left to the widest line.
        const QLine line = box.SeparatorTwips();
        EXPECT_EQ(line.y1(), Twips::FromPixels(box.Label4->y()) - 60);
        EXPECT_EQ(line.y2(), line.y1());
        EXPECT_EQ(line.x1(), 180);
        EXPECT_EQ(line.x2(), Twips::FromPixels(WidestRight(box)));
    }

    // Where the box must stand: just below the toolbar, centred over the main window, never
    // below the bottom of the screen.
    void ExpectPlacement(const AboutBox& box) {
        const QRect main = W().frameGeometry();
        const int clientHeight = W().height() - W().menuBar()->height();
        int top = main.top() + (main.height() - clientHeight) + C().tbrToolbar->height();
        const QRect dialog = box.frameGeometry();
        const int screenHeight = W().screen()->geometry().height();
        if (screenHeight - dialog.height() < top)
            top = screenHeight - dialog.height();
        EXPECT_EQ(dialog.top(), top);
        EXPECT_EQ(dialog.left(), main.left() + (main.width() - dialog.width()) / 2);
    }
};

TEST_F(AboutBoxTest, ShowsTheProgramsTexts) {
    auto box = Open();
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Tessarine 2000について"));
    EXPECT_FALSE(AppInfo::Comments().isEmpty());
    EXPECT_EQ(box->Label1->text(), AppInfo::Comments());
    EXPECT_EQ(box->Label2->text(), QStringLiteral("Tessarine 2000 Ver.2.2.2"));

    const QStringList copyright = box->Label3->text().split(QStringLiteral("\r\n"));
    ASSERT_EQ(copyright.size(), 3);
    EXPECT_TRUE(copyright[0].startsWith(QLatin1String("Copyright"))) << copyright[0].toStdString();
    EXPECT_TRUE(copyright[0].endsWith(QLatin1Char(',')));
    EXPECT_TRUE(copyright[1].contains(QLatin1String("All Rights Reserved")));
    EXPECT_TRUE(copyright[2].startsWith(QLatin1String("Portions Copyright")));

    const QStringList credits = box->Label4->text().split(QStringLiteral("\r\n"));
    ASSERT_EQ(credits.size(), 4);
    EXPECT_TRUE(credits[0].startsWith(QStringLiteral("監修：")));
    EXPECT_TRUE(credits[1].startsWith(QStringLiteral("執筆：")));
    EXPECT_TRUE(credits[1].contains(QStringLiteral("、")));
    EXPECT_TRUE(credits[2].startsWith(QStringLiteral("\u3000\u3000\u3000\u3000")));
    EXPECT_TRUE(credits[2].endsWith(QStringLiteral("編集部")));
    EXPECT_TRUE(credits[3].startsWith(QStringLiteral("オンライン版制作：")));

    EXPECT_EQ(box->cmdOK->text(), QStringLiteral("OK"));
    EXPECT_FALSE(box->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(box->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(box->Picture1->pixmap().isNull());
}

// Started on a dictionary reached through links, as the package installs it, the box names the
// file at their end and its entries.
TEST(AboutBoxDictionaryTest, NamesTheDictionaryInUseAtTheEndOfItsLinks) {
    LinkedDictionary linked;
    QTemporaryDir program;
    ASSERT_TRUE(program.isValid());
    ASSERT_TRUE(QFile::link(linked.dict->Path(), program.filePath(QStringLiteral("ABBR.MDB"))));
    MessageRecorder messages;
    frmMain window;
    ASSERT_TRUE(window.Form_Load(program.path()));
    AboutBox box(&window);
    EXPECT_EQ(box.lblDictionary->text(),
              QStringLiteral("辞書：%1（4 項目）")
                  .arg(QFileInfo(linked.dict->Path()).canonicalFilePath()));
    EXPECT_TRUE(messages.boxes.isEmpty());
}

TEST_F(AboutBoxTest, LayoutFollowsTheDisplayFontAtTwoSizes) {
    auto small = Open();
    ExpectLayout(*small);
    const QSize smallSize = small->size();
    const int smallName = small->Label2->height();
    const int smallOk = small->cmdOK->height();
    small.reset();

    SetFontSize(16);
    ASSERT_DOUBLE_EQ(W().font().pointSizeF(), 16.0);
    auto large = Open();
    ExpectLayout(*large);
    EXPECT_DOUBLE_EQ(large->Label2->font().pointSizeF(), 24.0);
    EXPECT_GT(large->width(), smallSize.width());
    EXPECT_GT(large->height(), smallSize.height());
    EXPECT_GT(large->Label2->height(), smallName);
    EXPECT_GT(large->cmdOK->height(), smallOk);
}

TEST_F(AboutBoxTest, SeparatorLineIsDrawnAboveTheCredits) {
    auto box = Open();
    const QImage image = box->grab().toImage();
    const int y = Twips::ToPixels(box->SeparatorTwips().y1());
    const QColor ink = box->palette().color(QPalette::WindowText);
    const QColor paper = box->palette().color(QPalette::Window);
    ASSERT_NE(ink, paper);
    const qreal ratio = image.devicePixelRatio();
    for (int x : {14, box->width() / 2, WidestRight(*box) - 2})
        EXPECT_EQ(image.pixelColor(int(x * ratio), int(y * ratio)), ink) << x;
    EXPECT_EQ(image.pixelColor(int(box->width() / 2 * ratio), int((y - 2) * ratio)), paper);
}

TEST_F(AboutBoxTest, OpensJustBelowTheToolbarCentredOverTheMainWindow) {
    const QRect screen = W().screen()->geometry();
    // Far enough from the screen's left that the box, wider than the window, stays on it.
    W().move(screen.left() + 150, screen.top() + 10);
    QApplication::processEvents();
    auto box = Open();
    ExpectPlacement(*box);
    EXPECT_GT(box->frameGeometry().top(), W().frameGeometry().top());
}

TEST_F(AboutBoxTest, NearTheBottomOfTheScreenItMovesUpToTouchIt) {
    const QRect screen = W().screen()->geometry();
    for (qint16 size : {9, 14}) {
        if (size != 9)
            SetFontSize(size);
        W().move(screen.left() + 150, screen.bottom() - 120);
        QApplication::processEvents();
        auto box = Open();
        ExpectPlacement(*box);
        EXPECT_EQ(box->frameGeometry().bottom(), screen.bottom()) << size;
    }
}

TEST_F(AboutBoxTest, HelpCommandShowsItModalAndOkClosesIt) {
    QString title;
    bool modal = false;
    bool sawAboutBox = false;
    // Closes the box once it is up; gives up after a while rather than leave the test hanging.
    int ticks = 0;
    QTimer closer;
    closer.setInterval(10);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        ++ticks;
        if (auto* box = qobject_cast<AboutBox*>(QApplication::activeModalWidget())) {
            sawAboutBox = true;
            title = box->windowTitle();
            modal = box->isModal() && box->isVisible();
            QTest::mouseClick(box->cmdOK, Qt::LeftButton);
            return;
        }
        if (ticks > 500) {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* box = qobject_cast<AboutBox*>(w))
                    box->reject();
        }
    });
    closer.start();
    C().mnuHelpAbout->trigger();
    closer.stop();
    EXPECT_TRUE(sawAboutBox);
    EXPECT_TRUE(modal);
    EXPECT_EQ(title, QStringLiteral("Tessarine 2000について"));
    // Nothing of it survives its closing.
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_FALSE(qobject_cast<AboutBox*>(w) && w->isVisible());
}

} // namespace
