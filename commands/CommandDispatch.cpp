// How the toolbar, the Go menu's items and the enabled states reach the commands of the table
// in CommandTable.cpp, so that a command does the same whatever started it.
#include "app/frmMain.h"
#include "commands/CommandTable.h"
#include "history/History.h"

#include <QAction>

void frmMain::tbrToolbar_ButtonClick(const QString& key) {
    // Keys compare exactly; the first match runs its command.
    for (const Commands::ToolbarButtonDef& button : Commands::ToolbarButtons()) {
        if (button.command && key == ToolbarKeyName(button.key)) {
            Commands::FindCommand(button.command)->run(*this);
            return;
        }
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

void frmMain::SetCommandState(const Commands::CommandState& state) {
    commandState_ = state;
    for (const Commands::Command& command : Commands::MainCommands()) {
        if (QAction* item = commandActions_.value(QLatin1String(command.name)))
            item->setEnabled(Commands::IsEnabled(command.enabling, state));
    }
    for (const Commands::ToolbarButtonDef& button : Commands::ToolbarButtons()) {
        if (button.command)
            toolbarButtons_.value(button.key)
                ->setEnabled(
                    Commands::IsEnabled(Commands::FindCommand(button.command)->enabling, state));
    }
}

void frmMain::SetBackEnabled(bool enabled) {
    Commands::CommandState state = commandState_;
    state.canGoBack = enabled;
    SetCommandState(state);
}

void frmMain::SetForwardEnabled(bool enabled) {
    Commands::CommandState state = commandState_;
    state.canGoForward = enabled;
    SetCommandState(state);
}
