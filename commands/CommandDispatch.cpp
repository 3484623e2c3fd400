// Toolbar buttons and the history keys call the menu commands' handlers, so a command does
// the same whatever started it.
#include "app/frmMain.h"
#include "history/History.h"

#include <QAction>
#include <functional>

void frmMain::tbrToolbar_ButtonClick(const QString& key) {
    // Keys compare exactly; the first match runs its command.
    const std::pair<ToolbarKey, std::function<void()>> commands[] = {
        {ToolbarKey::Left, [this] { mnuGoItem_Click(GoBack); }},
        {ToolbarKey::Right, [this] { mnuGoItem_Click(GoForward); }},
        {ToolbarKey::Find, [this] { mnuFileFind_Click(); }},
        {ToolbarKey::Home, [this] { mnuFileWeb_Click(); }},
        {ToolbarKey::New, [this] { mnuEditDelete_Click(); }},
        {ToolbarKey::Copy, [this] { mnuEditCopy_Click(); }},
        {ToolbarKey::Paste, [this] { mnuEditPaste_Click(); }},
        {ToolbarKey::PasteFind, [this] { mnuEditPasteSearch_Click(); }},
        {ToolbarKey::Help, [this] { mnuHelpContents_Click(); }},
    };
    for (const auto& [name, command] : commands) {
        if (key == ToolbarKeyName(name)) {
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
        mnuGoItem_Click(GoBack);
        return true;
    case Qt::Key_Right:
        mnuGoItem_Click(GoForward);
        return true;
    case Qt::Key_Up:
        mnuGoItem_Click(GoFirst);
        return true;
    case Qt::Key_Down:
        mnuGoItem_Click(GoLast);
        return true;
    default:
        return false;
    }
}

void frmMain::mnuGoItem_Click(int index) {
    static constexpr History::HistoryOp kMoves[] = {
        History::HistoryOp::GoFirst, History::HistoryOp::GoBack, History::HistoryOp::GoForward,
        History::HistoryOp::GoLast};
    if (index >= GoFirst && index <= GoLast) {
        GoInHistory(kMoves[index]);
        return;
    }
    if (index == GoHistoryWindow) {
        History::HistoryAction(History::HistoryOp::ToggleWindow, 0, QString());
    }
}

void frmMain::mnuGo_Click() {
    mnuGoItem[GoHistoryWindow]->setChecked(IsHistoryWindowOpen());
}
