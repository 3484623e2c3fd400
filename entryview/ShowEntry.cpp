// Showing an entry, and the two ways from it to others: links in the description and the
// related-words list.
#include "app/ListAdapters.h"
#include "app/frmMain.h"
#include "data/DbAccess.h"
#include "entryview/DescriptionBox.h"
#include "entryview/LinkHitTest.h"
#include "history/History.h"

#include <QAction>
#include <QCursor>
#include <QListWidget>

namespace {
const QCursor& HandCursor() {
    static const QCursor hand(QPixmap(QStringLiteral(":/cursors/hand32.xpm")), 6, 0);
    return hand;
}
} // namespace

void frmMain::ShowKeyword(qint32& lngId) {
    if (lngId < 1) {
        BlankEntryView();
        return;
    }
    const qint32 id = lngId;
    CurrentId = id;
    CurrentDescription = DbAccess::GetEntryText(id, CurrentKeyword, CurrentUrl);
    setWindowTitle(AppNameDef + QStringLiteral(" - [") + CurrentKeyword + QStringLiteral("]"));
    UpdateWebCommands();
    // An entry on show can be copied, however it was reached (a search that found nothing
    // disables the command, and the history or a link may show an entry again after it).
    ToolbarButton(QStringLiteral("Copy"))->setEnabled(true);
    mnuEditCopy->setEnabled(true);
    qint32 recorded = id;
    History::HistoryAction(History::HistoryOp::Add, recorded, CurrentKeyword);

    viewBlanked_ = false;
    LinkRegionCount = HyperText::RenderDescription(*pbxDescription, CurrentDescription, LinkRegions,
                                                   DisplayFont());

    {
        // The list is rebuilt silently; selecting its first item (the entry itself) is then
        // reported like any selection, and the handler sees the entry already shown.
        const QSignalBlocker blocker(lstLink);
        lstLink->clear();
        auto* self = new QListWidgetItem(CurrentKeyword, lstLink);
        self->setData(Qt::UserRole, id);
        ListWidgetSink links(lstLink);
        DbAccess::LoadLinkList(id, links);
        lstLink->setCurrentRow(-1);
    }
    lstLink->setCurrentRow(0);
}

void frmMain::BlankEntryView() {
    viewBlanked_ = true;
    LinkRegionCount =
        HyperText::RenderDescription(*pbxDescription, QString(), LinkRegions, DisplayFont());
    pbxDescription->unsetCursor();
    const QSignalBlocker blocker(lstLink);
    lstLink->clear();
}

void frmMain::UpdateWebCommands() {
    const bool hasAddress = !CurrentUrl.isEmpty();
    ToolbarButton(QStringLiteral("Home"))->setEnabled(hasAddress);
    mnuFileWeb->setEnabled(hasAddress);
}

void frmMain::lstLink_Click() {
    const int row = lstLink->currentRow();
    if (lstLink->count() == 0 || row < 0)
        return;
    qint32 id = lstLink->item(row)->data(Qt::UserRole).toInt();
    if (id > 0 && id != CurrentId)
        ShowKeyword(id);
}

void frmMain::pbxDescription_MouseMove(double x, double y) {
    if (HyperText::HitTestLink(LinkRegions, LinkRegionCount, x, y) >= 0)
        pbxDescription->setCursor(HandCursor());
    else
        pbxDescription->unsetCursor();
}

void frmMain::pbxDescription_MouseUp(Qt::MouseButton, double x, double y) {
    const int hit = HyperText::HitTestLink(LinkRegions, LinkRegionCount, x, y);
    if (hit < 0)
        return;
    qint32 id = LinkRegions[size_t(hit)].LinkId;
    ShowKeyword(id);
}
