// Toolbar buttons and the history keys call the menu commands' handlers, so a command does
// the same whatever started it.
#include "app/frmMain.h"
#include "history/History.h"

#include <QAction>

void frmMain::tbrToolbar_ButtonClick(const QString& key) {
    using Handler = void (frmMain::*)();
    static const std::pair<const char*, Handler> kCommands[] = {
        {"Left", nullptr},
        {"Right", nullptr},
        {"Find", &frmMain::mnuFileFind_Click},
        {"Home", &frmMain::mnuFileWeb_Click},
        {"New", &frmMain::mnuEditDelete_Click},
        {"Copy", &frmMain::mnuEditCopy_Click},
        {"Paste", &frmMain::mnuEditPaste_Click},
        {"PasteFind", &frmMain::mnuEditPasteSearch_Click},
        {"Help", &frmMain::mnuHelpContents_Click},
    };
    if (key == QLatin1String("Left")) {
        mnuGoItem_Click(1);
        return;
    }
    if (key == QLatin1String("Right")) {
        mnuGoItem_Click(2);
        return;
    }
    for (const auto& [name, handler] : kCommands) {
        if (handler && key == QLatin1String(name)) {
            (this->*handler)();
            return;
        }
    }
}

bool frmMain::Form_KeyDown(int keyCode, Qt::KeyboardModifiers shift) {
    if (!(shift & Qt::AltModifier))
        return false;
    switch (keyCode) {
    case Qt::Key_Left:
        mnuGoItem_Click(1);
        return true;
    case Qt::Key_Right:
        mnuGoItem_Click(2);
        return true;
    case Qt::Key_Up:
        mnuGoItem_Click(0);
        return true;
    case Qt::Key_Down:
        mnuGoItem_Click(3);
        return true;
    default:
        return false;
    }
}

void frmMain::mnuGoItem_Click(int index) {
    static constexpr History::HistoryOp kMoves[] = {
        History::HistoryOp::GoFirst, History::HistoryOp::GoBack, History::HistoryOp::GoForward,
        History::HistoryOp::GoLast};
    if (index >= 0 && index <= 3) {
        // The store flags the showing that follows as a navigation, so it records nothing;
        // with an empty history there is nothing to show and nothing is flagged.
        qint32 id = History::Navigate(kMoves[index]);
        if (id > 0)
            ShowKeyword(id);
        return;
    }
    if (index == 5) {
        qint32 none = 0;
        History::HistoryAction(History::HistoryOp::ToggleWindow, none, QString());
    }
}

void frmMain::mnuGo_Click() {
    mnuGoItem[5]->setChecked(IsHistoryWindowOpen());
}
