// Showing an entry, and the two ways from it to others: links in the description and the
// related-words list.
#include "app/Artwork.h"
#include "app/ListAdapters.h"
#include "app/frmMain.h"
#include "auxiliary/Web.h"
#include "data/DbAccess.h"
#include "entryview/DescriptionBox.h"
#include "entryview/LinkHitTest.h"
#include "history/History.h"

#include <QAction>
#include <QListWidget>

void frmMain::ShowKeyword(qint32 lngId) {
    if (lngId < 1) {
        BlankEntryView();
        return;
    }
    const qint32 id = lngId;
    current_.CurrentId = id;
    current_.CurrentDescription =
        DbAccess::GetEntryText(id, current_.CurrentKeyword, current_.CurrentUrl);
    setWindowTitle(AppNameDef + QStringLiteral(" - [") + current_.CurrentKeyword +
                   QStringLiteral("]"));
    // An entry on show can be copied, however it was reached (a search that found nothing
    // disables the command, and the history or a link may show an entry again after it). Its
    // web page is offered only for an address a browser may open.
    OfferEntryCommands(true);
    History::HistoryAction(History::HistoryOp::Add, id, current_.CurrentKeyword);

    current_.Blanked = false;
    DrawDescription(true);

    {
        // The list is rebuilt silently; selecting its first item (the entry itself) is then
        // reported like any selection, and the handler sees the entry already shown.
        const QSignalBlocker blocker(lstLink);
        lstLink->clear();
        auto* self = new QListWidgetItem(current_.CurrentKeyword, lstLink);
        self->setData(Qt::UserRole, id);
        ListWidgetSink links(lstLink);
        DbAccess::LoadLinkList(id, links);
        lstLink->setCurrentRow(-1);
    }
    lstLink->setCurrentRow(0);
}

void frmMain::BlankEntryView() {
    current_.Blanked = true;
    DrawDescription(true);
    pbxDescription->unsetCursor();
    const QSignalBlocker blocker(lstLink);
    lstLink->clear();
}

void frmMain::DrawDescription(bool fromTop) {
    current_.LinkRegionCount =
        pbxDescription->ShowDescription(current_.Blanked ? QString() : current_.CurrentDescription,
                                        current_.LinkRegions, DisplayFont(), fromTop);
}

void frmMain::OfferEntryCommands(bool offered) {
    Commands::CommandState state = commandState_;
    state.entryShown = offered;
    state.webAddress = offered && Web::IsWebAddress(current_.CurrentUrl);
    SetCommandState(state);
}

void frmMain::lstLink_Click() {
    const int row = lstLink->currentRow();
    if (lstLink->count() == 0 || row < 0)
        return;
    const qint32 id = lstLink->item(row)->data(Qt::UserRole).toInt();
    if (id > 0 && id != current_.CurrentId)
        ShowKeyword(id);
}

void frmMain::pbxDescription_MouseMove(double x, double y) {
    if (HyperText::HitTestLink(current_.LinkRegions, current_.LinkRegionCount, x, y) >= 0)
        pbxDescription->setCursor(Artwork::HandCursor(pbxDescription->devicePixelRatioF()));
    else
        pbxDescription->unsetCursor();
}

void frmMain::pbxDescription_MouseUp(Qt::MouseButton, double x, double y) {
    const int hit = HyperText::HitTestLink(current_.LinkRegions, current_.LinkRegionCount, x, y);
    if (hit >= 0)
        ShowKeyword(current_.LinkRegions[size_t(hit)].LinkId);
}

// The keyboard's Enter on a framed link and a screen reader's press lead where a click leads.
void frmMain::pbxDescription_LinkActivated(int region) {
    if (region >= 0 && region < current_.LinkRegionCount &&
        region < int(current_.LinkRegions.size()))
        ShowKeyword(current_.LinkRegions[size_t(region)].LinkId);
}
