// The window of a text's abbreviations in the real program: opening it from the Edit menu, the
// list following edits, choosing rows, its keys, help, names and closing.
#include "EntryFixtures.h"

#include "auxiliary/HelpViewer.h"

#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QStatusBar>
#include <QTimer>
#include <QTreeWidget>

namespace {

class TextAbbreviationsWindowTest : public EntryWindowTest {
protected:
    QAction* MenuItem() { return C().Find<QAction>("mnuEditTextAbbreviations"); }

    QWidget* Window() {
        QWidget* w = W().findChild<QWidget*>(QStringLiteral("frmTextAbbreviations"));
        return w && w->isVisible() ? w : nullptr;
    }
    template <typename T> T* Control(const char* name) {
        return Window()->findChild<T*>(QLatin1String(name));
    }
    QPlainTextEdit* Box() { return Control<QPlainTextEdit>("txtText"); }
    QTreeWidget* List() { return Control<QTreeWidget>("lstFound"); }
    QString Status() { return Control<QLabel>("lblStatus")->text(); }

    QStringList Rows(int column = 1) {
        QStringList rows;
        for (int i = 0; i < List()->topLevelItemCount(); ++i)
            rows << List()->topLevelItem(i)->text(column);
        return rows;
    }

    // Waits until the list has caught up with the last edit.
    void WaitForTheList() {
        auto* timer = Window()->findChild<QTimer*>(QStringLiteral("tmrRefresh"));
        EXPECT_TRUE(QTest::qWaitFor([&] { return !timer->isActive(); }, 5000));
        QApplication::processEvents();
    }
};

TEST_F(TextAbbreviationsWindowTest, EditMenuOpensItOnTheClipboardsText) {
    ASSERT_TRUE(Start());
    ASSERT_NE(MenuItem(), nullptr);
    EXPECT_EQ(MenuItem()->text(), QStringLiteral("文中の略語(&T)..."));
    EXPECT_EQ(MenuItem()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_T));
    EXPECT_TRUE(C().mnuEdit->actions().contains(MenuItem()));

    QApplication::clipboard()->setText(QStringLiteral("USB and SCSI disks"));
    Focus(C().txtSearchKey);
    QTest::keyClick(C().txtSearchKey, Qt::Key_T, Qt::ControlModifier);
    QApplication::processEvents();
    ASSERT_NE(Window(), nullptr);
    EXPECT_EQ(Box()->toPlainText(), QStringLiteral("USB and SCSI disks"));
    EXPECT_EQ(Rows(), QStringList({QStringLiteral("USB"), QStringLiteral("SCSI")}));
    EXPECT_EQ(Status(), QStringLiteral("略語 : 2件"));
    EXPECT_TRUE(Box()->textCursor().hasSelection()) << "typing replaces the copied text";
    EXPECT_EQ(C().txtSearchKey->text(), QString()) << "the main window's fields stay as they are";

    // Opening it again keeps the window and its text, and returns to the text.
    QApplication::clipboard()->setText(QStringLiteral("something else"));
    QWidget* first = Window();
    MenuItem()->trigger();
    QApplication::processEvents();
    EXPECT_EQ(Window(), first);
    EXPECT_EQ(Box()->toPlainText(), QStringLiteral("USB and SCSI disks"));
}

TEST_F(TextAbbreviationsWindowTest, TheListFollowsEditsAMomentAfterTheTyping) {
    ASSERT_TRUE(Start());
    QApplication::clipboard()->clear();
    MenuItem()->trigger();
    QApplication::processEvents();
    ASSERT_NE(Window(), nullptr);
    EXPECT_EQ(List()->topLevelItemCount(), 0);
    EXPECT_EQ(Status(), QStringLiteral("文を入力するか、貼り付けてください"));

    Activate(Window());
    Box()->setFocus();
    QTest::keyClicks(Box(), QStringLiteral("The CPU's cache"));
    EXPECT_EQ(List()->topLevelItemCount(), 0) << "nothing is looked up while the user types";
    WaitForTheList();
    EXPECT_EQ(Rows(0), QStringList(QStringLiteral("CPU's")));
    EXPECT_EQ(Rows(1), QStringList(QStringLiteral("CPU")));
    EXPECT_EQ(Rows(2), QStringList(QStringLiteral("Central Processing Unit")));

    // The row the reader stands on stays chosen while it is still found.
    QTest::keyClicks(Box(), QStringLiteral(" holds DMA buffers in RAM"));
    WaitForTheList();
    EXPECT_EQ(Rows(),
              QStringList({QStringLiteral("CPU"), QStringLiteral("DMA"), QStringLiteral("RAM")}));
    List()->setCurrentItem(List()->topLevelItem(2));
    QTest::keyClicks(Box(), QStringLiteral(" and ROM"));
    WaitForTheList();
    EXPECT_EQ(List()->currentItem()->text(1), QStringLiteral("RAM"));
    EXPECT_EQ(Status(), QStringLiteral("略語 : 4件"));

    Box()->clear();
    WaitForTheList();
    EXPECT_EQ(List()->topLevelItemCount(), 0);
}

TEST_F(TextAbbreviationsWindowTest, ChoosingARowShowsItsEntryAndTheHistoryRecordsIt) {
    ASSERT_TRUE(Start());
    QApplication::clipboard()->setText(QStringLiteral("The CPU talks to RAM over PCI."));
    MenuItem()->trigger();
    QApplication::processEvents();
    ASSERT_EQ(Rows().size(), 3);

    // Enter on a row.
    Activate(Window());
    List()->setFocus();
    List()->setCurrentItem(List()->topLevelItem(1));
    QTest::keyClick(List(), Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(W().Current().CurrentKeyword, QStringLiteral("RAM"));
    EXPECT_EQ(W().windowTitle(), QStringLiteral("Tessarine 2000 - [RAM]"));

    // A double-click on another, as the window system delivers it: a click, then the second press.
    const QPoint pci = List()->visualItemRect(List()->topLevelItem(2)).center();
    QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, pci);
    EXPECT_EQ(W().Current().CurrentKeyword, QStringLiteral("RAM"))
        << "a click only chooses the row";
    QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, pci);
    QApplication::processEvents();
    EXPECT_EQ(W().Current().CurrentKeyword, QStringLiteral("PCI"));
    EXPECT_EQ(History::Store().EntryCount(), 2);
    EXPECT_NE(Window(), nullptr) << "the window stays open for the next row";
}

TEST_F(TextAbbreviationsWindowTest, AccessKeysNamesHelpAndClosing) {
    ASSERT_TRUE(Start());
    MenuItem()->trigger();
    QApplication::processEvents();
    QPointer<QWidget> window = Window();
    ASSERT_NE(window, nullptr);
    for (QWidget* control : window->findChildren<QWidget*>()) {
        if (control->focusPolicy() != Qt::NoFocus && control->isVisible() &&
            !control->objectName().startsWith(QLatin1String("qt_"))) {
            EXPECT_FALSE(control->accessibleName().isEmpty())
                << control->metaObject()->className() << " " << control->objectName().toStdString();
        }
    }
    EXPECT_EQ(Box()->accessibleName(), QStringLiteral("文"));
    EXPECT_EQ(List()->accessibleName(), QStringLiteral("見つかった略語"));
    EXPECT_FALSE(Control<QLabel>("lblStatus")->accessibleName().isEmpty());

    Activate(window);
    Box()->setFocus();
    QTest::keyClick(Box(), Qt::Key_L, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), List());
    QTest::keyClick(List(), Qt::Key_T, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), Box());
    // Tab leaves the text box: it is no place for a tab character.
    QTest::keyClick(Box(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), List());

    if (QFileInfo::exists(BundledDir() + QStringLiteral("/Abbr.hlp"))) {
        QTest::keyClick(List(), Qt::Key_F1);
        QApplication::processEvents();
        HelpViewer* viewer = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* v = qobject_cast<HelpViewer*>(w); v && v->isVisible())
                viewer = v;
        ASSERT_NE(viewer, nullptr);
        EXPECT_EQ(viewer->CurrentUrl().fileName(), QStringLiteral("text-abbreviations.html"));
        viewer->close();
    }

    Activate(window);
    QTest::keyClick(Box(), Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_TRUE(window.isNull());

    MenuItem()->trigger();
    QApplication::processEvents();
    window = Window();
    ASSERT_FALSE(window.isNull());
    W().close();
    QApplication::processEvents();
    EXPECT_TRUE(window.isNull() || !window->isVisible());
}

} // namespace
