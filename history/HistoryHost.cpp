// The main window's side of the history window: opening, showing and closing it.
#include "app/frmMain.h"
#include "history/frmHistory.h"

bool frmMain::IsHistoryWindowOpen() const {
    return historyWindow_ && !historyWindow_->IsClosed();
}

History::HistoryListView* frmMain::OpenHistoryWindow() {
    if (IsHistoryWindowOpen())
        return historyWindow_;
    historyWindow_ = new frmHistory(this);
    historyWindow_->Form_Load();
    return historyWindow_;
}

void frmMain::ShowHistoryWindow() {
    if (IsHistoryWindowOpen())
        historyWindow_->show();
}

void frmMain::CloseHistoryWindow() {
    if (historyWindow_)
        historyWindow_->close();
}

History::HistoryListView* frmMain::HistoryList() {
    return IsHistoryWindowOpen() ? historyWindow_.data() : nullptr;
}
