// Toolbar buttons and the history keys call the menu commands' handlers, so a command does
// the same whatever started it.
#include "app/frmMain.h"
#include "history/History.h"

#include <QAction>
#include <functional>

void frmMain::tbrToolbar_ButtonClick(const QString& key) {
    // Keys compare exactly, in this order; the first match runs its command.
    const std::pair<const char*, std::function<void()>> commands[] = {
        {"Left", [this] { mnuGoItem_Click(1); }},
        {"Right", [this] { mnuGoItem_Click(2); }},
        {"Find", [this] { mnuFileFind_Click(); }},
        {"Home", [this] { mnuFileWeb_Click(); }},
        {"New", [this] { mnuEditDelete_Click(); }},
        {"Copy", [this] { mnuEditCopy_Click(); }},
        {"Paste", [this] { mnuEditPaste_Click(); }},
        {"PasteFind", [this] { mnuEditPasteSearch_Click(); }},
        {"Help", [this] { mnuHelpContents_Click(); }},
    };
    for (const auto& [name, command] : commands) {
        if (key == QLatin1String(name)) {
            command();
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
