// What the random user does. Every action notes what it is about to do first, so that the
// action list of a failing run reads as the steps to repeat it by hand.
#include "RandomUse.h"

#include "app/frmMain.h"
#include "entryview/DescriptionBox.h"
#include "history/History.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QWheelEvent>

namespace {

struct Key {
    int key;
    Qt::KeyboardModifiers modifiers;
};

QString KeyName(const Key& k) {
    return QKeySequence(k.modifiers | Qt::Key(k.key)).toString();
}

QString NameOf(const QWidget* w) {
    return w ? (w->objectName().isEmpty() ? QLatin1String(w->metaObject()->className())
                                          : w->objectName())
             : QStringLiteral("nothing");
}

QString ButtonName(Qt::MouseButton button) {
    return button == Qt::LeftButton    ? QStringLiteral("left")
           : button == Qt::RightButton ? QStringLiteral("right")
                                       : QStringLiteral("middle");
}

// Types as a keyboard (or an input method) does: a key per character, with its text.
void TypeInto(QWidget* target, const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.unicode() < 0x7f && c.isPrint()) {
            QTest::keyClick(target, char(c.unicode()));
            continue;
        }
        const qsizetype length = c.isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, text.mid(i, length), {});
        i += length - 1;
    }
}

} // namespace

void RandomUse::TypeText() {
    QWidget* target = nullptr;
    if (auto* focused = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        focused && Chance(40))
        target = focused;
    else
        target = MainControl(Chance(70) ? "txtSearchKey" : "txtLetter");
    const QString text = SomeText();
    const bool replace = Chance(60);
    Note(QStringLiteral("type \"%1\" into %2%3")
             .arg(text, NameOf(target), replace ? QStringLiteral(" over its text") : QString()));
    Activate(target->window());
    target->setFocus(Qt::MouseFocusReason);
    if (replace)
        QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
    TypeInto(target, text);
}

void RandomUse::PressKey() {
    static const Key kKeys[] = {
        {Qt::Key_Return, {}},
        {Qt::Key_Enter, Qt::KeypadModifier},
        {Qt::Key_Escape, {}},
        {Qt::Key_Tab, {}},
        {Qt::Key_Backtab, Qt::ShiftModifier},
        {Qt::Key_F1, {}},
        {Qt::Key_Up, {}},
        {Qt::Key_Down, {}},
        {Qt::Key_Left, {}},
        {Qt::Key_Right, {}},
        {Qt::Key_PageUp, {}},
        {Qt::Key_PageDown, {}},
        {Qt::Key_Home, {}},
        {Qt::Key_End, {}},
        {Qt::Key_Space, {}},
        {Qt::Key_Delete, {}},
        {Qt::Key_Backspace, {}},
        {Qt::Key_Left, Qt::AltModifier},
        {Qt::Key_Right, Qt::AltModifier},
        {Qt::Key_Up, Qt::AltModifier},
        {Qt::Key_Down, Qt::AltModifier},
        {Qt::Key_Left, Qt::AltModifier | Qt::ControlModifier},
        {Qt::Key_Down, Qt::AltModifier | Qt::ShiftModifier},
        {Qt::Key_C, Qt::ControlModifier},
        {Qt::Key_V, Qt::ControlModifier},
        {Qt::Key_F, Qt::ControlModifier},
        {Qt::Key_Delete, Qt::ShiftModifier},
        {Qt::Key_G, Qt::ControlModifier},
        {Qt::Key_H, Qt::ControlModifier},
        {Qt::Key_T, Qt::ControlModifier},
        {Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier},
        {Qt::Key_A, Qt::AltModifier},
        {Qt::Key_L, Qt::AltModifier},
        {Qt::Key_C, Qt::AltModifier},
        {Qt::Key_R, Qt::AltModifier},
        {Qt::Key_F, Qt::AltModifier},
        {Qt::Key_E, Qt::AltModifier},
        {Qt::Key_G, Qt::AltModifier},
        {Qt::Key_H, Qt::AltModifier},
        {Qt::Key_A, Qt::ControlModifier},
        {Qt::Key_Z, Qt::ControlModifier},
        {Qt::Key_Return, Qt::ControlModifier},
        {Qt::Key_Return, Qt::AltModifier},
    };
    const Key& k = kKeys[Below(int(std::size(kKeys)))];
    // Mostly the main window; the other windows of the program while they are open.
    QWidget* window = window_.get();
    if (QWidget* history = OpenHistoryWindow(); history && Chance(15))
        window = history;
    else if (QWidget* fullText = OpenFullTextWindow(); fullText && Chance(15))
        window = fullText;
    else if (QWidget* text = OpenTextAbbreviationsWindow(); text && Chance(15))
        window = text;
    QWidget* target = window->focusWidget() ? window->focusWidget() : window;
    QWidget* popup = QApplication::activePopupWidget();
    QString closing;
    if (popup && Chance(50)) {
        // The user clicks elsewhere, which closes the open menu or list first.
        closing = QStringLiteral("close %1, then ").arg(NameOf(popup));
        popup->close();
        Settle();
        popup = nullptr;
    }
    Note(closing +
         QStringLiteral("press %1 in %2").arg(KeyName(k), NameOf(popup ? popup : target)));
    if (!popup)
        Activate(window);
    KeyTo(target, k.key, k.modifiers);
}

void RandomUse::ClickControl() {
    static const char* const kControls[] = {
        "txtSearchKey", "txtLetter",  "cmbCategory",  "lstDbList", "lstDbList", "lstLink",
        "lstLink",      "Label1_0",   "Label1_1",     "Label1_2",  "Label3",    "Label2_0",
        "Label2_1",     "clientArea", "stbStatusBar", "tbrToolbar"};
    const char* name = kControls[Below(int(std::size(kControls)))];
    QWidget* control = MainControl(name);
    const Qt::MouseButton button =
        Chance(70) ? Qt::LeftButton : (Chance(50) ? Qt::RightButton : Qt::MiddleButton);
    const bool twice = Chance(10);
    QPoint at(Below(std::max(control->width(), 1)), Below(std::max(control->height(), 1)));

    if (auto* list = qobject_cast<QListWidget*>(control); list && list->count() > 0 && Chance(80)) {
        QListWidgetItem* item = list->item(Below(list->count()));
        list->scrollToItem(item);
        at = list->visualItemRect(item).center();
        control = list->viewport();
        Note(QStringLiteral("%1-click %2 row \"%3\"%4")
                 .arg(ButtonName(button), NameOf(list), item->text(),
                      twice ? QStringLiteral(" twice") : QString()));
    } else if (auto* toolbar = qobject_cast<QToolBar*>(control); toolbar && Chance(90)) {
        const QList<QAction*> buttons = toolbar->actions();
        QAction* action = buttons.at(Below(int(buttons.size())));
        control = toolbar->widgetForAction(action);
        if (!control)
            return;
        at = control->rect().center();
        Note(
            QStringLiteral("%1-click toolbar button %2%3")
                .arg(ButtonName(button),
                     action->isSeparator() ? QStringLiteral("(a separator)") : action->objectName(),
                     action->isEnabled() ? QString() : QStringLiteral(" (disabled)")));
    } else {
        Note(QStringLiteral("%1-click %2 at %3,%4%5")
                 .arg(ButtonName(button), NameOf(control))
                 .arg(at.x())
                 .arg(at.y())
                 .arg(twice ? QStringLiteral(" twice") : QString()));
    }
    Activate(window_.get());
    ClickAt(control, at, button, twice);
}

void RandomUse::ClickDescription() {
    auto* box = qobject_cast<DescriptionBox*>(MainControl("pbxDescription"));
    const Qt::MouseButton button =
        Chance(70) ? Qt::LeftButton : (Chance(50) ? Qt::RightButton : Qt::MiddleButton);
    const HyperText::DescriptionLinks& links = box->Links();
    QPoint at(Below(std::max(box->width(), 1)), Below(std::max(box->height(), 1)));
    if (links.VisibleRegionCount() > 0 && Chance(70)) {
        const int region = links.VisibleRegion(Below(links.VisibleRegionCount()));
        const HyperText::LinkRegion& r = links.Region(region);
        box->ScrollToShow(r.Top, r.Bottom);
        at = box->ViewRect(r.Left, r.Top, r.Right, r.Bottom).center();
        Note(QStringLiteral("%1-click the link to %2 in the description")
                 .arg(ButtonName(button))
                 .arg(r.LinkId));
    } else {
        Note(QStringLiteral("%1-click the description at %2,%3")
                 .arg(ButtonName(button))
                 .arg(at.x())
                 .arg(at.y()));
    }
    Activate(window_.get());
    QTest::mouseMove(box, at);
    ClickAt(box, at, button);
}

void RandomUse::Wheel() {
    QList<QWidget*> targets = {MainControl("pbxDescription"), MainControl("lstDbList"),
                               MainControl("lstLink")};
    if (QWidget* history = OpenHistoryWindow())
        targets << history->findChild<QWidget*>(QStringLiteral("lstHistory"));
    QWidget* target = targets.at(Below(int(targets.size())));
    if (auto* view = qobject_cast<QAbstractScrollArea*>(target))
        target = view->viewport();
    const int notches = Below(7) - 3;
    Note(QStringLiteral("turn the wheel %1 notches over %2").arg(notches).arg(NameOf(target)));
    const QPointF at(target->width() / 2.0, target->height() / 2.0);
    QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, notches * 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &wheel);
}

void RandomUse::Resize() {
    const int kind = Below(10);
    if (kind < 5) {
        const int w = 50 + Below(1400);
        const int h = 50 + Below(1000);
        Note(QStringLiteral("resize the window to %1x%2").arg(w).arg(h));
        window_->resize(w, h);
    } else if (kind < 7) {
        Note(QStringLiteral("maximise the window"));
        window_->showMaximized();
    } else if (kind < 9) {
        Note(QStringLiteral("restore the window"));
        window_->showNormal();
    } else {
        Note(QStringLiteral("minimise the window and restore it"));
        window_->showMinimized();
        Settle();
        window_->showNormal();
    }
}

void RandomUse::StepFont() {
    // Ctrl+Shift and a click on the window's own background steps the font size.
    QWidget* client = MainControl("clientArea");
    for (int attempt = 0; attempt < 40; ++attempt) {
        const QPoint at(Below(std::max(client->width(), 1)), Below(std::max(client->height(), 1)));
        if (client->childAt(at))
            continue;
        const Qt::MouseButton button = Chance(60) ? Qt::LeftButton : Qt::RightButton;
        Note(QStringLiteral("Ctrl+Shift+%1-click the window's background at %2,%3")
                 .arg(ButtonName(button))
                 .arg(at.x())
                 .arg(at.y()));
        Activate(window_.get());
        QTest::mouseClick(client, button, Qt::ControlModifier | Qt::ShiftModifier, at);
        return;
    }
    Note(QStringLiteral("(no background to click)"));
}

void RandomUse::ChooseMenuItem() {
    const QList<QMenu*> menus = window_->menuBar()->findChildren<QMenu*>();
    QMenu* menu = menus.at(Below(int(menus.size())));
    if (Chance(30)) {
        Note(QStringLiteral("open the menu %1").arg(menu->objectName()));
        Activate(window_.get());
        menu->popup(window_->mapToGlobal(QPoint(10, 10)));
        return;
    }
    QList<QAction*> items;
    for (QAction* action : menu->actions())
        if (!action->isSeparator() && action->objectName() != QLatin1String("mnuFileExit"))
            items << action;
    if (items.isEmpty())
        return;
    QAction* item = items.at(Below(int(items.size())));
    Note(QStringLiteral("choose %1 \"%2\"%3")
             .arg(item->objectName(), item->text(),
                  item->isEnabled() ? QString() : QStringLiteral(" (disabled)")));
    Activate(window_.get());
    // A disabled item cannot be chosen.
    if (item->isEnabled())
        item->trigger();
}

void RandomUse::UseHistoryWindow() {
    QWidget* history = OpenHistoryWindow();
    if (!history) {
        Note(QStringLiteral("press Ctrl+H in the main window"));
        Activate(window_.get());
        KeyTo(window_->focusWidget() ? window_->focusWidget() : window_.get(), Qt::Key_H,
              Qt::ControlModifier);
        return;
    }
    auto* list = history->findChild<QListWidget*>(QStringLiteral("lstHistory"));
    const int kind = Below(20);
    Activate(history);
    if (kind < 8 && list->count() > 0) {
        QListWidgetItem* item = list->item(Below(list->count()));
        list->scrollToItem(item);
        Note(QStringLiteral("click history row \"%1\"").arg(item->text()));
        ClickAt(list->viewport(), list->visualItemRect(item).center(), Qt::LeftButton);
    } else if (kind < 13) {
        const int key = Chance(50) ? Qt::Key_Up : Qt::Key_Down;
        Note(QStringLiteral("press %1 in the history list").arg(KeyName({key, {}})));
        list->setFocus(Qt::OtherFocusReason);
        KeyTo(list, key, {});
    } else if (kind < 16) {
        Note(QStringLiteral("press Ctrl+H in the history window"));
        KeyTo(list, Qt::Key_H, Qt::ControlModifier);
    } else if (kind < 18) {
        Note(QStringLiteral("close the history window"));
        history->close();
    } else {
        const int h = 40 + Below(800);
        Note(QStringLiteral("resize the history window to height %1").arg(h));
        history->resize(history->width() + Below(100), h);
    }
}

void RandomUse::UseFullTextWindow() {
    QWidget* window = OpenFullTextWindow();
    if (!window) {
        Note(QStringLiteral("press Ctrl+Shift+F in the main window"));
        Activate(window_.get());
        KeyTo(window_->focusWidget() ? window_->focusWidget() : window_.get(), Qt::Key_F,
              Qt::ControlModifier | Qt::ShiftModifier);
        return;
    }
    auto* query = window->findChild<QLineEdit*>(QStringLiteral("txtQuery"));
    auto* results = window->findChild<QTreeWidget*>(QStringLiteral("lstResults"));
    auto* status = window->findChild<QLabel*>(QStringLiteral("lblStatus"));
    Activate(window);
    const int kind = Below(20);
    if (kind < 8) {
        const QString text = SomeText().left(40);
        Note(QStringLiteral("search the full text for \"%1\"").arg(text));
        query->setFocus(Qt::OtherFocusReason);
        query->selectAll();
        TypeInto(query, text);
        QTest::keyClick(query, Qt::Key_Return);
        // The search runs in a worker; the user waits for its count.
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 3000 && !status->text().startsWith(QStringLiteral("検索結果")) &&
               !text.trimmed().isEmpty()) {
            QApplication::processEvents(QEventLoop::AllEvents, 20);
        }
    } else if (kind < 14 && results->topLevelItemCount() > 0) {
        QTreeWidgetItem* item = results->topLevelItem(Below(results->topLevelItemCount()));
        const bool keyboard = Chance(50);
        Note(QStringLiteral("choose full-text result \"%1\" by %2")
                 .arg(item->text(0),
                      keyboard ? QStringLiteral("Enter") : QStringLiteral("double-click")));
        results->scrollToItem(item);
        if (keyboard) {
            results->setFocus(Qt::OtherFocusReason);
            results->setCurrentItem(item);
            KeyTo(results, Qt::Key_Return, {});
        } else {
            ClickAt(results->viewport(), results->visualItemRect(item).center(), Qt::LeftButton,
                    true);
        }
    } else if (kind < 17) {
        Note(QStringLiteral("press Esc in the full-text window"));
        KeyTo(window->focusWidget() ? window->focusWidget() : window, Qt::Key_Escape, {});
    } else {
        Note(QStringLiteral("press Ctrl+Shift+F in the full-text window"));
        KeyTo(window->focusWidget() ? window->focusWidget() : window, Qt::Key_F,
              Qt::ControlModifier | Qt::ShiftModifier);
    }
}

void RandomUse::UseTextAbbreviationsWindow() {
    QWidget* window = OpenTextAbbreviationsWindow();
    if (!window) {
        if (Chance(50)) {
            Note(QStringLiteral("press Ctrl+T in the main window"));
            Activate(window_.get());
            KeyTo(window_->focusWidget() ? window_->focusWidget() : window_.get(), Qt::Key_T,
                  Qt::ControlModifier);
        } else {
            Note(QStringLiteral("choose mnuEditTextAbbreviations"));
            Activate(window_.get());
            window_->findChild<QAction*>(QStringLiteral("mnuEditTextAbbreviations"))->trigger();
        }
        return;
    }
    auto* box = window->findChild<QPlainTextEdit*>(QStringLiteral("txtText"));
    auto* list = window->findChild<QTreeWidget*>(QStringLiteral("lstFound"));
    auto* timer = window->findChild<QTimer*>(QStringLiteral("tmrRefresh"));
    Activate(window);
    const int kind = Below(20);
    if (kind < 8) {
        const QString text = Chance(70) ? SomeSentence() : SomeText();
        const bool replace = Chance(50);
        const bool wait = Chance(60);
        Note(QStringLiteral("type \"%1\" into txtText%2%3")
                 .arg(QString(text).replace(u'\n', u' '),
                      replace ? QStringLiteral(" over its text") : QString(),
                      wait ? QStringLiteral(" and wait for the list") : QString()));
        box->setFocus(Qt::OtherFocusReason);
        if (replace)
            QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        TypeInto(box, text);
        QElapsedTimer waited;
        waited.start();
        while (wait && timer->isActive() && waited.elapsed() < 3000)
            QApplication::processEvents(QEventLoop::AllEvents, 20);
    } else if (kind < 14 && list->topLevelItemCount() > 0) {
        QTreeWidgetItem* item = list->topLevelItem(Below(list->topLevelItemCount()));
        const bool keyboard = Chance(50);
        Note(QStringLiteral("choose text abbreviation \"%1\" by %2")
                 .arg(item->text(1),
                      keyboard ? QStringLiteral("Enter") : QStringLiteral("double-click")));
        list->scrollToItem(item);
        if (keyboard) {
            list->setFocus(Qt::OtherFocusReason);
            list->setCurrentItem(item);
            KeyTo(list, Qt::Key_Return, {});
        } else {
            ClickAt(list->viewport(), list->visualItemRect(item).center(), Qt::LeftButton, true);
        }
    } else if (kind < 17) {
        Note(QStringLiteral("press Esc in the text abbreviations window"));
        KeyTo(window->focusWidget() ? window->focusWidget() : window, Qt::Key_Escape, {});
    } else {
        Note(QStringLiteral("press Ctrl+T in the text abbreviations window"));
        KeyTo(window->focusWidget() ? window->focusWidget() : window, Qt::Key_T,
              Qt::ControlModifier);
    }
}

void RandomUse::HandOverText() {
    HandOver::LookupRequest request;
    const int kind = Below(10);
    if (kind < 2) {
        request.readSelection = true;
        Note(QStringLiteral("a later start hands over the selection"));
    } else {
        request.text = kind < 6 ? SomeSentence() : SomeText();
        Note(QStringLiteral("a later start hands over \"%1\"")
                 .arg(QString(request.text).replace(u'\n', u' ')));
    }
    window_->LookUp(request);
}

void RandomUse::PressLinkAsScreenReader() {
    QWidget* box = MainControl("pbxDescription");
    if (staleLink_ != 0 && Chance(30)) {
        QAccessibleInterface* stale = QAccessible::accessibleInterface(staleLink_);
        Note(QStringLiteral("a screen reader presses a link it kept (%1)")
                 .arg(stale ? QStringLiteral("still known") : QStringLiteral("gone")));
        if (stale && stale->actionInterface())
            stale->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        staleLink_ = 0;
        return;
    }
    QAccessibleInterface* pane = QAccessible::queryAccessibleInterface(box);
    QList<QAccessibleInterface*> links;
    for (int i = 0; pane && i < pane->childCount(); ++i)
        if (QAccessibleInterface* child = pane->child(i);
            child && child->role() == QAccessible::Link)
            links << child;
    if (links.isEmpty()) {
        Note(QStringLiteral("a screen reader finds no link"));
        return;
    }
    QAccessibleInterface* link = links.at(Below(int(links.size())));
    if (Chance(30)) {
        Note(QStringLiteral("a screen reader keeps the link \"%1\"")
                 .arg(link->text(QAccessible::Name)));
        staleLink_ = QAccessible::uniqueId(link);
        return;
    }
    Note(QStringLiteral("a screen reader presses the link \"%1\"")
             .arg(link->text(QAccessible::Name)));
    link->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
}

void RandomUse::SetClipboard() {
    QClipboard* clipboard = QApplication::clipboard();
    const int kind = Below(10);
    if (kind < 6) {
        const QString text = SomeText();
        Note(QStringLiteral("another program copies \"%1\"").arg(text));
        clipboard->setText(text);
    } else if (kind < 8) {
        Note(QStringLiteral("another program copies 200 000 characters"));
        clipboard->setText(QString(200000, QLatin1Char('x')) + QStringLiteral(" CPU"));
    } else {
        Note(QStringLiteral("another program copies a picture only"));
        auto* data = new QMimeData;
        data->setData(QStringLiteral("image/png"), QByteArray("\x89PNG", 4));
        clipboard->setMimeData(data);
    }
}

void RandomUse::Restart() {
    Note(QStringLiteral("choose mnuFileExit, then start again"));
    window_->findChild<QAction*>(QStringLiteral("mnuFileExit"))->trigger();
}

// A key the dictionary nearly has, as people mistype or misplace one: a plural or possessive,
// a letter dropped, doubled or swapped with the next, a word of another field, a wildcard.
QString RandomUse::NearMiss() {
    static const char* const kOthers[] = {"中央処理装置", "central processing unit",
                                          "シーピーユー", "Random Access Memory",
                                          "c?us",         "zzzz"};
    if (dictionary_.abbreviations.isEmpty() || Chance(20))
        return QString::fromUtf8(kOthers[Below(int(std::size(kOthers)))]);
    QString key = dictionary_.abbreviations.at(Below(int(dictionary_.abbreviations.size())));
    const int at = Below(int(key.size()));
    switch (Below(5)) {
    case 0:
        return key + (Chance(50) ? QStringLiteral("s") : QStringLiteral("'s"));
    case 1:
        return key.remove(at, 1);
    case 2:
        return key.insert(at, key.at(at));
    case 3:
        if (at + 1 < key.size())
            std::swap(key[at], key[at + 1]);
        return key;
    default:
        return key.toLower() + QStringLiteral("x");
    }
}

void RandomUse::SearchNearMiss() {
    auto* field = qobject_cast<QLineEdit*>(MainControl("txtSearchKey"));
    auto* categories = qobject_cast<QComboBox*>(MainControl("cmbCategory"));
    const QString key = NearMiss();
    const int category = Chance(25) ? Below(categories->count()) : categories->currentIndex();
    Note(QStringLiteral("search for \"%1\" in category %2")
             .arg(key, categories->itemText(category)));
    Activate(window_.get());
    categories->setCurrentIndex(category);
    field->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    TypeInto(field, key);
    QTest::keyClick(field, Qt::Key_Return);
    Settle();
    if (window_->Current().NotFound && Chance(60))
        FollowSuggestion();
}

// Follows one of the suggestions on show: by the mouse, or by the keyboard's frame and Enter.
void RandomUse::FollowSuggestion() {
    auto* box = qobject_cast<DescriptionBox*>(MainControl("pbxDescription"));
    const HyperText::DescriptionLinks& links = box->Links();
    // A user sees no link in a hidden box, and an open menu would take the keys.
    if (links.LinkCount() == 0 || !box->isVisible() || QApplication::activePopupWidget())
        return;
    const int link = Below(links.LinkCount());
    const qint32 id = links.Link(link).linkId;
    if (Chance(50)) {
        const HyperText::LinkRegion& r = links.Region(links.Link(link).firstRegion);
        box->ScrollToShow(r.Top, r.Bottom);
        const QPoint at = box->ViewRect(r.Left, r.Top, r.Right, r.Bottom).center();
        log_.last() += QStringLiteral(", then click the suggestion %1").arg(id);
        QTest::mouseMove(box, at);
        ClickAt(box, at, Qt::LeftButton);
    } else {
        log_.last() += QStringLiteral(", then frame the suggestion %1 and press Enter").arg(id);
        box->setFocus(Qt::TabFocusReason);
        box->SetCurrentLink(link);
        KeyTo(box, Qt::Key_Return, {});
    }
    followedSuggestion_ = id;
    const History::HistoryStore& history = History::Store();
    followedWasCurrent_ = history.HistoryEntries()[size_t(history.CurrentSlot())].EntryId == id;
}
