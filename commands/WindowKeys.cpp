#include "commands/WindowKeys.h"

#include <QAction>
#include <QWidget>

namespace Commands {
namespace {

void AddWindowKey(QWidget* window, const QKeySequence& key, const std::function<void()>& command) {
    auto* action = new QAction(window);
    action->setShortcut(key);
    action->setShortcutContext(Qt::WindowShortcut);
    window->addAction(action);
    QObject::connect(action, &QAction::triggered, window, command);
}

} // namespace

void AddWindowKeys(QWidget* window, const std::function<void(int)>& showHelp, int helpTopic,
                   const QKeySequence& opening, const std::function<void()>& refocus) {
    AddWindowKey(window, QKeySequence(Qt::Key_F1), [showHelp, helpTopic] {
        if (showHelp)
            showHelp(helpTopic);
    });
    AddWindowKey(window, opening, refocus);
    AddWindowKey(window, QKeySequence(Qt::Key_Escape), [window] { window->close(); });
}

} // namespace Commands
