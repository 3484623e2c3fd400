// The main window's side of the history: moving through it, and opening, showing and closing
// the history window.
#include "app/WindowTwips.h"
#include "app/frmMain.h"
#include "entryview/RelatedWordsList.h"
#include "history/History.h"
#include "history/frmHistory.h"

#include <QAction>
#include <QListWidget>

bool frmMain::IsHistoryWindowOpen() const {
    return historyWindow_ && !historyWindow_->IsClosed();
}

History::HistoryListView* frmMain::OpenHistoryWindow() {
    if (IsHistoryWindowOpen())
        return historyWindow_;
    HistoryWindowSetup setup;
    const WindowTwips::Frame frame = WindowTwips::OuterFrame(this);
    setup.mainWindow = {frame.left,
                        frame.top,
                        frame.width,
                        frame.height,
                        ClientHeight(),
                        isMaximized(),
                        !isMinimized() && !isMaximized() && !isFullScreen()};
    setup.screenWidth = WindowTwips::ScreenWidth(this);
    setup.listSize = lstLink->size();
    setup.icon = windowIcon();
    setup.goToSlot = [this](qint32 slot) { GoInHistory(History::HistoryOp::GoToSlot, slot); };
    // A window of its own without an owner: it deletes itself when closed.
    historyWindow_ = new frmHistory(std::move(setup));
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

void frmMain::GoInHistory(History::HistoryOp op, qint32 slot) {
    // The entry the history lands on is shown, and only its own visit goes unrecorded.
    History::GoAndShow(op, slot, [this](qint32 id) { ShowKeyword(id); });
}

History::HistoryListView* frmMain::HistoryList() {
    return IsHistoryWindowOpen() ? historyWindow_.data() : nullptr;
}
