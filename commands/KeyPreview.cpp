// The window's key preview: it sees every key and click of its controls first, for the history
// keys, Enter, F1 and the menu shortcuts, and keeps clicks on captions from the background.
#include "app/StatusPanels.h"
#include "app/frmMain.h"
#include "entryview/DescriptionBox.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    const QEvent::Type type = event->type();

    if (type == QEvent::FocusIn) {
        if (watched == txtSearchKey)
            QMetaObject::invokeMethod(this, &frmMain::txtSearchKey_GotFocus, Qt::QueuedConnection);
        else if (watched == txtLetter)
            QMetaObject::invokeMethod(this, &frmMain::txtLetter_GotFocus, Qt::QueuedConnection);
        else if (watched == lstDbList)
            lstDbList_GotFocus();
        return false;
    }

    // Clicks on captions belong to the captions, not to the window's background.
    if ((type == QEvent::MouseButtonRelease || type == QEvent::MouseButtonPress) &&
        qobject_cast<QLabel*>(watched) && widget && widget->window() == this)
        return true;

    if (type == QEvent::MouseButtonRelease && watched == centralWidget()) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (!centralWidget()->childAt(mouse->position().toPoint()))
            Form_MouseUp(mouse->button(), mouse->modifiers());
        return false;
    }

    // F1 over an open menu shows the topic of the highlighted item.
    if (auto* menu = qobject_cast<QMenu*>(watched); menu && type == QEvent::KeyPress) {
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
            QAction* active = menu->activeAction();
            const int topic = active ? active->property(kHelpTopicProperty).toInt()
                                     : menu->property(kHelpTopicProperty).toInt();
            menu->close();
            ShowHelpTopic(topic > 0 ? topic : int(HelpTopic::Window));
            return true;
        }
        return false;
    }

    if (!widget || widget->window() != this || widget != QApplication::focusWidget())
        return false;

    if (type == QEvent::ShortcutOverride) {
        // The menu shortcuts act on the window whatever control has the focus, so the text
        // boxes must not take these keys for their own copy and paste.
        auto* key = static_cast<QKeyEvent*>(event);
        const QKeySequence pressed(key->keyCombination());
        for (QAction* action : {mnuFileWeb, mnuEditCopy, mnuEditPaste, mnuEditPasteSearch,
                                mnuEditDelete, mnuGoItem[GoHistoryWindow]}) {
            if (action->shortcut() == pressed) {
                event->ignore();
                return true;
            }
        }
        return false;
    }

    if (type == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        // A history key goes to the history alone: a list that took the arrow as well would
        // move its selection and show, and record, another entry.
        if (Form_KeyDown(key->key(), key->modifiers()))
            return true;
        if (key->key() == Qt::Key_F1) {
            ShowHelpTopic(HelpTopicForFocus());
            return true;
        }
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            !(key->modifiers() & (Qt::AltModifier | Qt::ControlModifier))) {
            // On a framed link Enter follows it; everywhere else it searches.
            if (widget == pbxDescription && pbxDescription->CurrentLink() >= 0)
                return false;
            cmdFind->click();
            return true;
        }
    }
    return false;
}

int frmMain::HelpTopicForFocus() const {
    for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget()) {
        const int topic = w->property(kHelpTopicProperty).toInt();
        if (topic > 0)
            return topic;
        if (w == this)
            break;
    }
    return int(HelpTopic::Window);
}
