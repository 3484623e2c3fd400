#include "commands/KeyPreview.h"

#include "app/frmMain.h"
#include "commands/CommandTable.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>

namespace {

// Whether the focused control wants `key` for itself, as it tells Qt's shortcuts.
bool ClaimedBy(QWidget* control, const QKeyEvent* key) {
    QKeyEvent probe(QEvent::ShortcutOverride, key->key(), key->modifiers(), key->text());
    probe.ignore();
    QApplication::sendEvent(control, &probe);
    return probe.isAccepted();
}

} // namespace

KeyPreview::KeyPreview(frmMain& window) : QObject(&window), window_(window) {}

void KeyPreview::Install() {
    window_.installEventFilter(this);
    for (QWidget* control : window_.findChildren<QWidget*>())
        control->installEventFilter(this);
}

bool KeyPreview::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (auto* menu = qobject_cast<QMenu*>(watched))
        return type == QEvent::KeyPress && MenuKey(menu, key);

    // A key travels up from the focused control through its parents; it is looked at once.
    auto* focused = qobject_cast<QWidget*>(watched);
    if (!focused || focused != QApplication::focusWidget() || focused->window() != &window_)
        return false;
    if (type == QEvent::ShortcutOverride) {
        if (!Commands::ShortcutCommand(QKeySequence(key->keyCombination())))
            return false;
        event->ignore(); // the window's shortcut, not the control's own
        return true;
    }
    return WindowKey(focused, key);
}

bool KeyPreview::MenuKey(QMenu* menu, const QKeyEvent* key) {
    if (key->key() != Qt::Key_F1)
        return false;
    QAction* active = menu->activeAction();
    const int topic = active ? active->property(kHelpTopicProperty).toInt()
                             : menu->property(kHelpTopicProperty).toInt();
    menu->close();
    window_.ShowHelpTopic(topic > 0 ? topic : int(HelpTopic::Window));
    return true;
}

bool KeyPreview::WindowKey(QWidget* focused, const QKeyEvent* key) {
    const Commands::Command* command = Commands::WindowKeyCommand(key->key(), key->modifiers());
    if (!command)
        return false;
    // A history key goes to the history alone: a list that took the arrow as well would move
    // its selection and show, and record, another entry.
    if (command->key.keyboardModifiers() == Qt::NoModifier && ClaimedBy(focused, key))
        return false;
    if (command->route == Commands::KeyRoute::DefaultButton) {
        for (QPushButton* button : window_.findChildren<QPushButton*>()) {
            if (button->isDefault()) {
                button->click();
                return true;
            }
        }
    }
    command->run(window_);
    return true;
}
