// The main window's controls, texts, menus, toolbar and status bar as the user meets them right
// after start-up.
#include "MainWindowFixture.h"
#include "ShellTestSupport.h"

#include "app/StatusPanels.h"

#include <QAccessible>
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTime>
#include <QToolBar>
#include <QToolButton>

namespace {

QString Focused() {
    QWidget* w = QApplication::focusWidget();
    return w ? w->objectName() : QStringLiteral("(none)");
}

struct MenuRow {
    const char* name;    // object name; empty for a separator
    const char* caption; // with the hint after a tab
    QKeySequence shortcut;
    bool enabled;
    int topic;
};

void ExpectMenu(QMenu* menu, const QList<MenuRow>& rows) {
    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), rows.size()) << qPrintable(menu->title());
    for (qsizetype i = 0; i < rows.size(); ++i) {
        QAction* a = actions[i];
        const MenuRow& row = rows[i];
        SCOPED_TRACE(row.name);
        if (!*row.caption) {
            EXPECT_TRUE(a->isSeparator()) << "item " << i;
            continue;
        }
        EXPECT_FALSE(a->isSeparator());
        EXPECT_EQ(a->objectName(), QString::fromLatin1(row.name));
        EXPECT_EQ(a->text(), QString::fromUtf8(row.caption));
        EXPECT_EQ(a->shortcut(), row.shortcut);
        EXPECT_EQ(a->isEnabled(), row.enabled);
        EXPECT_EQ(a->property("helpTopic").toInt(), row.topic);
    }
}

} // namespace

class ShellInventoryTest : public MainWindowTest {
protected:
    void SetUp() override { ASSERT_TRUE(Start()); }
};

TEST_F(ShellInventoryTest, WindowCaptionIconAndHelpTopic) {
    EXPECT_EQ(W().windowTitle(), QStringLiteral("Tessarine 2000"));
    EXPECT_EQ(W().AppNameDef, QStringLiteral("Tessarine 2000"));
    // Drawn from the vector icon at the sizes a window frame and task bar ask for.
    for (const QSize size : {QSize(16, 16), QSize(32, 32)})
        EXPECT_EQ(W().windowIcon().pixmap(size, 1.0).size(), size);
    EXPECT_EQ(W().property("helpTopic").toInt(), 1);
    EXPECT_TRUE(W().isVisible());
}

TEST_F(ShellInventoryTest, CaptionsTooltipsAndBuddies) {
    EXPECT_EQ(C().Label1[0]->text(), QStringLiteral("略語(&A)"));
    EXPECT_EQ(C().Label1[1]->text(), QStringLiteral("綴り(&L)"));
    EXPECT_EQ(C().Label1[2]->text(), QStringLiteral("種別(&C)"));
    EXPECT_EQ(C().Label1[0]->buddy(), C().txtSearchKey);
    EXPECT_EQ(C().Label1[1]->buddy(), C().txtLetter);
    EXPECT_EQ(C().Label1[2]->buddy(), C().cmbCategory);
    EXPECT_EQ(C().Label3->text(), QStringLiteral("検索結果(&R)"));
    EXPECT_EQ(C().Label3->buddy(), C().lstDbList);
    EXPECT_EQ(C().Label2[0]->text(), QStringLiteral("関連語"));
    EXPECT_EQ(C().Label2[1]->text(), QStringLiteral("解説"));

    EXPECT_EQ(C().txtSearchKey->toolTip(), QStringLiteral("検索する略語"));
    EXPECT_EQ(C().txtLetter->toolTip(), QStringLiteral("検索する綴り"));
    EXPECT_EQ(C().cmbCategory->toolTip(), QStringLiteral("検索するカテゴリ"));
    EXPECT_FALSE(C().cmbCategory->isEditable()) << "the category is chosen, never typed";

    EXPECT_EQ(C().cmdFind->text(), QStringLiteral("検索"));
    EXPECT_TRUE(C().cmdFind->isDefault());
}

TEST_F(ShellInventoryTest, AccessibleNamesOfTheControls) {
    auto name = [](QObject* o) {
        QAccessibleInterface* acc = QAccessible::queryAccessibleInterface(o);
        return acc ? acc->text(QAccessible::Name) : QString();
    };
    EXPECT_EQ(name(C().txtSearchKey), QStringLiteral("略語"));
    EXPECT_EQ(name(C().txtLetter), QStringLiteral("綴り"));
    // A combo box announces its current text; its name and caption are its own.
    EXPECT_EQ(C().cmbCategory->accessibleName(), QStringLiteral("種別"));
    EXPECT_EQ(name(C().lstLink), QStringLiteral("関連語"));
    EXPECT_EQ(name(C().pbxDescription), QStringLiteral("解説"));
    EXPECT_EQ(name(C().lstDbList), QStringLiteral("検索結果"));
    EXPECT_EQ(name(C().tbrToolbar), QStringLiteral("ツールバー"));
    EXPECT_EQ(name(C().stbStatusBar), QStringLiteral("ステータスバー"));
    // The status panels are read by what they say; what they are is their description.
    EXPECT_EQ(name(C().statusPanels->Text()), QStringLiteral("未検索"));
    EXPECT_EQ(name(C().statusPanels->Date()), C().statusPanels->Date()->text());
    EXPECT_EQ(name(C().statusPanels->Time()), C().statusPanels->Time()->text());
    // Each field is labelled by its caption, for screen readers as for the access key.
    for (int i = 0; i < 3; ++i) {
        QAccessibleInterface* caption = QAccessible::queryAccessibleInterface(C().Label1[i]);
        QAccessibleInterface* field = QAccessible::queryAccessibleInterface(C().Label1[i]->buddy());
        ASSERT_TRUE(caption && field);
        bool labelled = false;
        for (const auto& [other, relation] : field->relations(QAccessible::Label))
            labelled = labelled || other->object() == caption->object();
        EXPECT_TRUE(labelled) << i;
    }
    // A button without text is announced by its tooltip.
    QWidget* back = C().tbrToolbar->widgetForAction(C().ToolbarButton("Left"));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(name(back), QStringLiteral("戻る"));
}

TEST_F(ShellInventoryTest, ToolbarButtonsInOrderWithTooltipsAndState) {
    struct Row {
        const char* key; // empty for a separator
        const char* tooltip;
        bool enabled;
    };
    const Row rows[] = {
        {"Left", "戻る", false},
        {"Right", "進む", false},
        {"", "", false},
        {"Find", "検索", true},
        {"Home", "ﾎｰﾑﾍﾟｰｼﾞを開く", false},
        {"", "", false},
        {"New", "検索項目の消去", true},
        {"Copy", "略語解説のｺﾋﾟｰ", false},
        {"Paste", "貼り付け", true},
        {"PasteFind", "貼り付け検索", true},
        {"", "", false},
        {"Help", "説明", true},
    };
    const QList<QAction*> actions = C().tbrToolbar->actions();
    ASSERT_EQ(actions.size(), qsizetype(std::size(rows)));
    int previousRight = -1;
    for (qsizetype i = 0; i < actions.size(); ++i) {
        const Row& row = rows[i];
        QAction* a = actions[i];
        SCOPED_TRACE(row.key);
        QWidget* widget = C().tbrToolbar->widgetForAction(a);
        ASSERT_NE(widget, nullptr);
        // Left to right in this order.
        EXPECT_GT(widget->x(), previousRight);
        previousRight = widget->x() + widget->width() - 1;
        if (!*row.key) {
            EXPECT_TRUE(a->isSeparator());
            continue;
        }
        EXPECT_EQ(a->data().toString(), QString::fromLatin1(row.key));
        EXPECT_EQ(C().ToolbarButton(row.key), a);
        EXPECT_EQ(a->toolTip(), QString::fromUtf8(row.tooltip));
        EXPECT_EQ(a->isEnabled(), row.enabled);
        auto* button = qobject_cast<QToolButton*>(widget);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->toolButtonStyle(), Qt::ToolButtonIconOnly) << "pictures, no text";
        EXPECT_FALSE(a->icon().isNull());
        EXPECT_EQ(C().tbrToolbar->iconSize(), QSize(16, 16));
        // The 16x16 picture fits the button.
        EXPECT_GE(button->width(), 16 + 2);
        EXPECT_GE(button->height(), 16 + 2);
    }
    // Along the top edge over the whole width.
    EXPECT_EQ(W().toolBarArea(C().tbrToolbar), Qt::TopToolBarArea);
    EXPECT_EQ(C().tbrToolbar->width(), W().width());
}

TEST_F(ShellInventoryTest, MenusCaptionsHintsShortcutsAndTopics) {
    const QList<QAction*> bar = W().menuBar()->actions();
    ASSERT_EQ(bar.size(), 4);
    EXPECT_EQ(bar[0]->menu(), C().mnuFile);
    EXPECT_EQ(bar[1]->menu(), C().mnuEdit);
    EXPECT_EQ(bar[2]->menu(), C().mnuGo);
    EXPECT_EQ(bar[3]->menu(), C().mnuHelp);
    EXPECT_EQ(C().mnuFile->title(), QStringLiteral("ﾌｧｲﾙ(&F)"));
    EXPECT_EQ(C().mnuEdit->title(), QStringLiteral("編集(&E)"));
    EXPECT_EQ(C().mnuGo->title(), QStringLiteral("移動(&G)"));
    EXPECT_EQ(C().mnuHelp->title(), QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    EXPECT_EQ(C().mnuFile->property("helpTopic").toInt(), 101);
    EXPECT_EQ(C().mnuEdit->property("helpTopic").toInt(), 102);
    EXPECT_EQ(C().mnuGo->property("helpTopic").toInt(), 103);
    EXPECT_EQ(C().mnuHelp->property("helpTopic").toInt(), 104);

    const QKeySequence none;
    ExpectMenu(C().mnuFile, {
                                {"mnuFileFind", "検索(&F)\tEnter", none, true, 101},
                                {"mnuFileFullText", "解説の全文検索(&T)...",
                                 QKeySequence("Ctrl+Shift+F"), true, 101},
                                {"mnuFileWeb", "ﾎｰﾑﾍﾟｰｼﾞ(&G)", QKeySequence("Ctrl+G"), false, 101},
                                {"", "", none, false, 0},
                                {"mnuFileExit", "終了(&X)\tAlt+F4", none, true, 101},
                            });
    ExpectMenu(
        C().mnuEdit,
        {
            {"mnuEditCopy", "ｺﾋﾟｰ(&C)", QKeySequence("Ctrl+C"), false, 102},
            {"mnuEditPaste", "貼り付け(&P)", QKeySequence("Ctrl+V"), true, 102},
            {"mnuEditPasteSearch", "貼り付け検索(&F)", QKeySequence("Ctrl+F"), true, 102},
            {"mnuEditDelete", "条件削除(&D)", QKeySequence("Shift+Del"), true, 102},
            {"", "", none, false, 0},
            {"mnuEditTextAbbreviations", "文中の略語(&T)...", QKeySequence("Ctrl+T"), true, 102},
        });
    ExpectMenu(C().mnuGo, {
                              {"mnuGoItem0", "先頭に戻る(&T)\tAlt+↑", none, false, 103},
                              {"mnuGoItem1", "前に戻る(&B)\tAlt+←", none, false, 103},
                              {"mnuGoItem2", "次に進む(&F)\tAlt+→", none, false, 103},
                              {"mnuGoItem3", "最後に進む(&E)\tAlt+↓", none, false, 103},
                              {"", "", none, false, 0},
                              {"mnuGoItem5", "履歴(&H)", QKeySequence("Ctrl+H"), true, 103},
                          });
    ExpectMenu(C().mnuHelp, {
                                {"mnuHelpContents", "目次(&C)", none, true, 104},
                                {"mnuHelpSearch", "ﾄﾋﾟｯｸの検索(&S)", none, true, 104},
                                {"", "", none, false, 0},
                                {"mnuHelpAbout", "ﾊﾞｰｼﾞｮﾝ情報(&A)", none, true, 0},
                            });
    // The Go items are one array, in menu order.
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(C().mnuGoItem[i], C().mnuGo->actions()[i]) << i;
}

TEST_F(ShellInventoryTest, ShortcutKeysReachTheirMenuItems) {
    C().txtSearchKey->setFocus();
    ShellTest::Settle();
    struct Key {
        QAction* action;
        QKeyCombination key;
    };
    const Key enabled[] = {
        {C().mnuEditPaste, Qt::CTRL | Qt::Key_V},
        {C().mnuEditPasteSearch, Qt::CTRL | Qt::Key_F},
        {C().mnuEditDelete, Qt::SHIFT | Qt::Key_Delete},
        {C().Find<QAction>("mnuEditTextAbbreviations"), Qt::CTRL | Qt::Key_T},
        {C().mnuGoItem[5], Qt::CTRL | Qt::Key_H},
    };
    for (const Key& k : enabled) {
        SCOPED_TRACE(qPrintable(k.action->objectName()));
        QSignalSpy spy(k.action, &QAction::triggered);
        QTest::keyClick(QApplication::focusWidget(), k.key.key(), k.key.keyboardModifiers());
        ShellTest::Settle();
        EXPECT_EQ(spy.count(), 1);
        // A key that opened a window of its own leaves that window active.
        QApplication::setActiveWindow(&W());
        C().txtSearchKey->setFocus();
        ShellTest::Settle();
    }
    // Disabled at start: their keys do nothing yet.
    for (const Key& k :
         {Key{C().mnuFileWeb, Qt::CTRL | Qt::Key_G}, Key{C().mnuEditCopy, Qt::CTRL | Qt::Key_C}}) {
        QSignalSpy spy(k.action, &QAction::triggered);
        QTest::keyClick(C().txtSearchKey, k.key.key(), k.key.keyboardModifiers());
        EXPECT_EQ(spy.count(), 0) << qPrintable(k.action->objectName());
    }
}

TEST_F(ShellInventoryTest, HelpTopicsOfTheControlsFollowTheFocus) {
    const QList<std::pair<QWidget*, int>> topics = {
        {C().txtSearchKey, 2}, {C().txtLetter, 3},      {C().cmbCategory, 4},
        {C().lstLink, 5},      {C().pbxDescription, 6}, {C().lstDbList, 7},
    };
    for (const auto& [control, topic] : topics) {
        EXPECT_EQ(control->property("helpTopic").toInt(), topic)
            << qPrintable(control->objectName());
        control->setFocus();
        ShellTest::Settle();
        EXPECT_EQ(W().HelpTopicForFocus(), topic) << qPrintable(control->objectName());
    }
}

TEST_F(ShellInventoryTest, StatusBarPanelsAfterStartUp) {
    StatusPanels& panels = *C().statusPanels;
    EXPECT_EQ(panels.TextValue(), QStringLiteral("未検索"));
    EXPECT_EQ(panels.Text()->text(), QStringLiteral("未検索"));
    // Left to right: text, date, time; the text takes the width the clock leaves.
    const QRect text = ShellTest::RectInWindow(W(), panels.Text());
    const QRect date = ShellTest::RectInWindow(W(), panels.Date());
    const QRect time = ShellTest::RectInWindow(W(), panels.Time());
    EXPECT_LT(text.right(), date.left());
    EXPECT_LT(date.right(), time.left());
    EXPECT_GE(text.width(), 1440 / 15);
    EXPECT_GE(date.width(), 500 / 15);
    EXPECT_GE(time.width(), 500 / 15);
    EXPECT_GT(text.width(), date.width());
    EXPECT_EQ(W().statusBar(), C().stbStatusBar);
    // Along the bottom edge.
    EXPECT_EQ(ShellTest::RectInWindow(W(), C().stbStatusBar).bottom(), W().height() - 1);

    // The clock panels show today and now.
    const QDate shownDate = QDate::fromString(panels.Date()->text(), QStringLiteral("yyyy/MM/dd"));
    ASSERT_TRUE(shownDate.isValid()) << qPrintable(panels.Date()->text());
    EXPECT_LE(qAbs(shownDate.daysTo(QDate::currentDate())), 1);
    const QTime shownTime = QTime::fromString(panels.Time()->text(), QStringLiteral("H:mm"));
    ASSERT_TRUE(shownTime.isValid()) << qPrintable(panels.Time()->text());
    const int minutes = qAbs(shownTime.secsTo(QTime::currentTime())) / 60;
    EXPECT_TRUE(minutes <= 2 || minutes >= 24 * 60 - 2) << qPrintable(panels.Time()->text());
}

TEST_F(ShellInventoryTest, CommandsWithoutAnEntryAreDisabledAfterStartUp) {
    for (const char* key : {"Left", "Right", "Home", "Copy"})
        EXPECT_FALSE(C().ToolbarButton(key)->isEnabled()) << key;
    for (const char* key : {"Find", "New", "Paste", "PasteFind", "Help"})
        EXPECT_TRUE(C().ToolbarButton(key)->isEnabled()) << key;
    EXPECT_FALSE(C().mnuFileWeb->isEnabled());
    EXPECT_FALSE(C().mnuEditCopy->isEnabled());
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(C().mnuGoItem[i]->isEnabled()) << i;
    EXPECT_EQ(C().statusPanels->TextValue(), QStringLiteral("未検索"));
    EXPECT_EQ(C().lstDbList->count(), 0);
    EXPECT_EQ(C().lstLink->count(), 0);
    EXPECT_EQ(W().Current().CurrentId, 0);
}

TEST_F(ShellInventoryTest, CategoryListStartsWithAllSelected) {
    ASSERT_GE(C().cmbCategory->count(), 2);
    EXPECT_EQ(C().cmbCategory->currentIndex(), 0);
    EXPECT_EQ(C().cmbCategory->currentText(), QStringLiteral("全て"));
    EXPECT_EQ(C().cmbCategory->itemData(0).toInt(), 0);
    for (int i = 1; i < C().cmbCategory->count(); ++i)
        EXPECT_GT(C().cmbCategory->itemData(i).toInt(), 0) << i;
}

TEST_F(ShellInventoryTest, HiddenButtonAndCaptionStayCovered) {
    // The default button sits under the toolbar: what the user sees there is the toolbar.
    const QRect button = ShellTest::RectInWindow(W(), C().cmdFind);
    const QRect toolbar = ShellTest::RectInWindow(W(), C().tbrToolbar);
    EXPECT_TRUE(toolbar.contains(button)) << "button outside the toolbar";
    QWidget* atButton = W().childAt(button.center());
    ASSERT_NE(atButton, nullptr);
    EXPECT_TRUE(atButton == C().tbrToolbar || C().tbrToolbar->isAncestorOf(atButton))
        << qPrintable(atButton->objectName());

    // The result list's caption lies under the related-words list.
    const QRect caption = ShellTest::RectInWindow(W(), C().Label3);
    const QRect list = ShellTest::RectInWindow(W(), C().lstLink);
    EXPECT_TRUE(list.contains(caption));
    QWidget* atCaption = W().childAt(caption.center());
    ASSERT_NE(atCaption, nullptr);
    EXPECT_TRUE(atCaption == C().lstLink || C().lstLink->isAncestorOf(atCaption));
}

TEST_F(ShellInventoryTest, TabOrderRunsThroughTheFieldsAndLists) {
    const QStringList forward = {QStringLiteral("txtLetter"),      QStringLiteral("cmbCategory"),
                                 QStringLiteral("lstDbList"),      QStringLiteral("lstLink"),
                                 QStringLiteral("pbxDescription"), QStringLiteral("txtSearchKey")};
    C().txtSearchKey->setFocus();
    ShellTest::Settle();
    for (const QString& next : forward) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ShellTest::Settle();
        EXPECT_EQ(Focused(), next);
    }
    QStringList backward = forward;
    std::reverse(backward.begin(), backward.end());
    backward.removeFirst(); // start at txtSearchKey, go back to pbxDescription ...
    backward.append(QStringLiteral("txtSearchKey"));
    for (const QString& previous : backward) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        ShellTest::Settle();
        EXPECT_EQ(Focused(), previous);
    }
}

TEST_F(ShellInventoryTest, AccessKeysMoveTheFocus) {
    C().pbxDescription->setFocus();
    ShellTest::Settle();
    const QList<std::pair<Qt::Key, QString>> keys = {
        {Qt::Key_A, QStringLiteral("txtSearchKey")},
        {Qt::Key_L, QStringLiteral("txtLetter")},
        {Qt::Key_C, QStringLiteral("cmbCategory")},
        // Its caption is hidden under the related-words list, yet the key works.
        {Qt::Key_R, QStringLiteral("lstDbList")},
        {Qt::Key_A, QStringLiteral("txtSearchKey")},
    };
    for (const auto& [key, target] : keys) {
        QTest::keyClick(QApplication::focusWidget(), key, Qt::AltModifier);
        ShellTest::Settle();
        EXPECT_EQ(Focused(), target) << "Alt+" << char(key);
    }
}

TEST_F(ShellInventoryTest, EnterInAnyFieldRunsTheSearch) {
    QSignalSpy clicks(C().cmdFind, &QPushButton::clicked);
    C().txtSearchKey->setText(QStringLiteral("cpu"));
    int expected = 0;
    for (QWidget* field :
         {static_cast<QWidget*>(C().txtLetter), static_cast<QWidget*>(C().cmbCategory),
          static_cast<QWidget*>(C().txtSearchKey)}) {
        C().statusPanels->SetText(QStringLiteral("未検索"));
        field->setFocus();
        ShellTest::Settle();
        QTest::keyClick(field, Qt::Key_Return);
        ShellTest::Settle();
        EXPECT_EQ(clicks.count(), ++expected) << qPrintable(field->objectName());
        EXPECT_EQ(C().statusPanels->TextValue(), QStringLiteral("検索結果 : 1件"))
            << qPrintable(field->objectName());
    }
}
