#pragma once

// Helpers shared by the tests that drive the main window through searching, reading, the
// history and the commands.
#include "MainWindowFixture.h"

#include "app/StatusPanels.h"
#include "app/Twips.h"
#include "entryview/DescriptionBox.h"
#include "history/History.h"
#include "history/frmHistory.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QStringList>
#include <QToolBar>
#include <QToolButton>
#include <cmath>
#include <ostream>

// Readable failure messages for Qt strings.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

// A small dictionary whose descriptions carry links, so that every id and every link target is
// known to the test.
struct LinkedDictionary {
    std::unique_ptr<TestDictionary> dict = std::make_unique<TestDictionary>();
    qint32 cpu = 0;
    qint32 ram = 0;
    qint32 alu = 0;
    qint32 gpu = 0;

    LinkedDictionary() {
        dict->AddCategory(1, QStringLiteral("ハードウェア"), QStringLiteral("HW"));
        dict->AddCategory(2, QStringLiteral("一般"), QString(""));
        // Ids are given in order from 1, so the descriptions can name them in advance.
        cpu = dict->AddEntry(QStringLiteral("CPU"), QStringLiteral("Central Processing Unit"), 1,
                             QStringLiteral("命令を実行する装置。\n主記憶は\\J2 RAM\\jです。\n"
                                            "赤い\\JXYZ\\j字。\n演算は\\J3 ALU\\jが行う。"),
                             QStringLiteral("https://cpu.example/"));
        ram = dict->AddEntry(QStringLiteral("RAM"), QStringLiteral("Random Access Memory"), 1,
                             QStringLiteral("読み書きできる記憶。\\J1 CPU\\jが使う。"));
        alu = dict->AddEntry(QStringLiteral("ALU"), QStringLiteral("Arithmetic and Logic Unit"), 1,
                             QStringLiteral("演算回路。"), QStringLiteral("http://alu.example/"));
        gpu = dict->AddEntry(QStringLiteral("GPU"), QStringLiteral("Graphics Processing Unit"), 2,
                             QStringLiteral("描画の装置。"));
        dict->AddLink(cpu, QStringLiteral("RAM"), ram);
        dict->AddLink(cpu, QStringLiteral("ALU"), alu);
        dict->AddLink(ram, QStringLiteral("CPU"), cpu);
        dict->AddLink(alu, QStringLiteral("CPU"), cpu);
        dict->Finish();
    }
    QString Dir() const { return dict->Dir(); }
};

class EntryWindowTest : public MainWindowTest {
protected:
    void Show(qint32 id) { W().ShowKeyword(id); }

    // Everything the description box drew, piece after piece.
    QString DrawnText() {
        QString text;
        for (const DescriptionBox::DrawnText& piece : C().pbxDescription->Drawing())
            text += piece.text;
        return text;
    }

    static QStringList Texts(const QListWidget* list) {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i)
            texts << list->item(i)->text();
        return texts;
    }
    static QList<qint32> ItemData(const QListWidget* list) {
        QList<qint32> data;
        for (int i = 0; i < list->count(); ++i)
            data << list->item(i)->data(Qt::UserRole).toInt();
        return data;
    }

    // A real mouse click on a row of a list.
    static void ClickRow(QListWidget* list, int row) {
        QListWidgetItem* item = list->item(row);
        ASSERT_NE(item, nullptr);
        list->scrollToItem(item);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(item).center());
        QApplication::processEvents();
    }

    // The toolbar's own button for a key, as the user clicks it.
    QToolButton* ToolbarWidget(const char* key) {
        return qobject_cast<QToolButton*>(C().tbrToolbar->widgetForAction(C().ToolbarButton(key)));
    }

    static void Activate(QWidget* window) {
        window->activateWindow();
        QApplication::setActiveWindow(window);
        EXPECT_TRUE(QTest::qWaitForWindowActive(window));
        QApplication::processEvents();
    }

    // Gives a control the focus the way the user would, and lets its focus handlers run.
    void Focus(QWidget* control) {
        Activate(control->window());
        control->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
    }

    QString StatusText() { return C().statusPanels->TextValue(); }

    // The history window while it is open, found as any window of the program is.
    static frmHistory* HistoryWindow() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* history = qobject_cast<frmHistory*>(w); history && history->isVisible())
                return history;
        return nullptr;
    }

    // Centre of a link region in the description box's pixels (a twip is 1/15 pixel).
    static QPoint CentrePixels(const HyperText::LinkRegion& r) {
        return QPoint(int(std::lround((r.Left + r.Right) / 2.0 / Twips::kPerPixel)),
                      int(std::lround((r.Top + r.Bottom) / 2.0 / Twips::kPerPixel)));
    }

    // A pixel position whose twips are exactly `twips` once the box converts it back.
    static double PixelsForTwips(qint32 twips) {
        double px = double(twips) / Twips::kPerPixel;
        while (px * Twips::kPerPixel < double(twips))
            px = std::nextafter(px, 1e9);
        while (px * Twips::kPerPixel > double(twips))
            px = std::nextafter(px, -1e9);
        return px;
    }

    // A pointer movement over the description box at a pixel position that may fall between
    // pixels, as a high-resolution mouse delivers it.
    void MoveOverDescription(QPointF pixels) {
        DescriptionBox* box = C().pbxDescription;
        QMouseEvent move(QEvent::MouseMove, pixels, box->mapToGlobal(pixels), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(box, &move);
    }

    bool HandShown() {
        return C().pbxDescription->testAttribute(Qt::WA_SetCursor) &&
               C().pbxDescription->cursor().shape() == Qt::BitmapCursor;
    }
    bool ArrowShown() {
        return !C().pbxDescription->testAttribute(Qt::WA_SetCursor) &&
               C().pbxDescription->cursor().shape() == Qt::ArrowCursor;
    }

    // Which of the back and forward commands are enabled: toolbar and Go menu agree.
    void ExpectNavigation(bool back, bool forward) {
        EXPECT_EQ(C().ToolbarButton("Left")->isEnabled(), back);
        EXPECT_EQ(C().mnuGoItem[0]->isEnabled(), back);
        EXPECT_EQ(C().mnuGoItem[1]->isEnabled(), back);
        EXPECT_EQ(C().ToolbarButton("Right")->isEnabled(), forward);
        EXPECT_EQ(C().mnuGoItem[2]->isEnabled(), forward);
        EXPECT_EQ(C().mnuGoItem[3]->isEnabled(), forward);
    }

    static History::HistoryStore& Store() { return History::Store(); }

    // The captions of the recorded history, oldest first.
    static QStringList HistoryCaptions() {
        QStringList captions;
        for (qint16 slot : Store().RecordedSlots())
            captions << Store().HistoryEntries()[size_t(slot)].Caption;
        return captions;
    }
};
