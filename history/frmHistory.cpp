#include "history/frmHistory.h"

#include "app/Twips.h"
#include "app/WindowTwips.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QListWidget>

frmHistory::frmHistory(HistoryWindowSetup setup)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint),
      setup_(std::move(setup)) {
    // A window of its own, without an owner; it deletes itself once closed.
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("frmHistory"));
    setWindowTitle(QStringLiteral("履歴"));
    setWindowIcon(setup_.icon);
    lstHistory = new QListWidget(this);
    lstHistory->setObjectName(QStringLiteral("lstHistory"));
    lstHistory->setAccessibleName(QStringLiteral("履歴"));
    lstHistory->move(0, 0);
    lstHistory->installEventFilter(this);
    connect(lstHistory, &QListWidget::currentRowChanged, this, &frmHistory::lstHistory_Click);
}

qint32 frmHistory::OuterWidth() const {
    return WindowTwips::OuterFrame(this).width;
}
qint32 frmHistory::OuterHeight() const {
    return WindowTwips::OuterFrame(this).height;
}

void frmHistory::Form_Load() {
    // The frame around the client area is known only once the native window exists; without
    // it every outer size below would be the client size.
    winId();
    lstHistory->resize(setup_.listSize);
    resize(setup_.listSize); // the client area is exactly the list

    const HistoryPlacement::Result r =
        HistoryPlacement::Place(setup_.mainWindow, setup_.screenWidth, OuterWidth(), OuterHeight());
    WindowTwips::MoveOuter(this, r.left, r.top);
    fixedWidth_ = OuterWidth();
    loadedHeight_ = OuterHeight();
    WindowTwips::SetOuterSize(this, fixedWidth_, r.height);
    // The window system keeps the width too, so a drag can only change the height.
    setFixedWidth(width());
}

void frmHistory::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmHistory::Form_Resize() {
    if (isMinimized() || fixedWidth_ <= 0 || loadedHeight_ <= 0)
        return;
    if (OuterWidth() != fixedWidth_) {
        WindowTwips::SetOuterSize(this, fixedWidth_, OuterHeight());
        return;
    }
    lstHistory->resize(lstHistory->width(), height());
}

void frmHistory::closeEvent(QCloseEvent* event) {
    closed_ = true;
    event->accept();
}

bool frmHistory::eventFilter(QObject* watched, QEvent* event) {
    // The window sees keys before its list: Ctrl+H closes it, everything else goes on.
    if (watched == lstHistory && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->modifiers() & Qt::ControlModifier) && key->key() == Qt::Key_H) {
            close();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmHistory::lstHistory_Click() {
    if (SelectList) {
        SelectList = false;
        return;
    }
    const int row = lstHistory->currentRow();
    if (row < 0 || lstHistory->count() == 0)
        return;
    const qint32 slot = lstHistory->item(row)->data(Qt::UserRole).toInt();
    if (setup_.goToSlot)
        setup_.goToSlot(slot);
    SelectList = false;
}

int frmHistory::RowCount() const {
    return lstHistory->count();
}
int frmHistory::SelectedRow() const {
    return lstHistory->currentRow();
}

// Rows change only as the history changes; that is never a choice of the user's, so the list
// reports no selection change for it.
void frmHistory::RemoveRow(int row) {
    const QSignalBlocker blocker(lstHistory);
    delete lstHistory->takeItem(row);
}

void frmHistory::AppendRow(const QString& caption, qint16 slot) {
    const QSignalBlocker blocker(lstHistory);
    auto* item = new QListWidgetItem(caption, lstHistory);
    item->setData(Qt::UserRole, int(slot));
}

void frmHistory::Clear() {
    const QSignalBlocker blocker(lstHistory);
    lstHistory->clear();
}

void frmHistory::SelectRow(int row) {
    lstHistory->setCurrentRow(row);
}
