#pragma once

#include <QObject>

class QKeyEvent;
class QMenu;
class QWidget;
class frmMain;

// The main window's key preview. It watches the window and its own controls (no other window)
// and sees their keys before they do:
// - a key of the command table's window route (Enter, the Alt+arrows, F1) runs its command,
//   unless it names no modifier and the focused control claims it for itself by accepting its
//   ShortcutOverride (the description box does so for Enter on a framed link);
// - the menu shortcuts reach their commands from every control, so that the text boxes do not
//   take Ctrl+C or Ctrl+V for their own copy and paste;
// - F1 over an open menu shows the help topic of the highlighted item.
class KeyPreview : public QObject {
public:
    explicit KeyPreview(frmMain& window);

    // Watches the window and every control it has now.
    void Install();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool MenuKey(QMenu* menu, const QKeyEvent* key);
    bool WindowKey(QWidget* focused, const QKeyEvent* key);

    frmMain& window_;
};
