// Showing an entry, and the two ways from it to others: links in the description and the
// related-words list.
#include "app/ListAdapters.h"
#include "app/frmMain.h"
#include "auxiliary/Web.h"
#include "data/DbAccess.h"
#include "entryview/DescriptionBox.h"
#include "entryview/EntryMarkup.h"
#include "entryview/RelatedWordsList.h"
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
    ReadCurrentEntry();
    setWindowTitle(AppNameDef + QStringLiteral(" - [") + current_.CurrentKeyword +
                   QStringLiteral("]"));
    // An entry on show can be copied, however it was reached (a search that found nothing
    // disables the command, and the history or a link may show an entry again after it). Its
    // web page is offered only for an address a browser may open.
    OfferEntryCommands(true);
    History::HistoryAction(History::HistoryOp::Add, id, current_.CurrentKeyword);

    current_.Blanked = false;
    current_.NotFound.reset();
    DrawDescription(true);

    {
        // The list is rebuilt silently; selecting its first item (the entry itself) is then
        // reported like any selection, and the handler sees the entry already shown.
        const QSignalBlocker blocker(lstLink);
        lstLink->clear();
        auto* self = new QListWidgetItem(current_.CurrentKeyword, lstLink);
        self->setData(Qt::UserRole, id);
        ListWidgetSink links(lstLink);
        dictionary_.LoadLinkList(id, links);
        lstLink->setCurrentRow(-1);
    }
    lstLink->setCurrentRow(0);
}

// An entry that cannot be read leaves the abbreviation and the address of the one before, and
// shows an empty description.
void frmMain::ReadCurrentEntry() {
    const std::optional<DbAccess::EntryRecord> entry = dictionary_.GetEntry(current_.CurrentId);
    if (!entry) {
        current_.CurrentDescription.clear();
        return;
    }
    current_.CurrentKeyword = entry->abbr;
    if (entry->url)
        current_.CurrentUrl = *entry->url;
    current_.CurrentDescription = HyperText::EntryMarkup(
        entry->abbr, entry->letter, entry->categoryShortName, entry->hyperText);
}

void frmMain::BlankEntryView(std::optional<HyperText::NoResult> notFound) {
    current_.Blanked = true;
    current_.NotFound = std::move(notFound);
    DrawDescription(true);
    pbxDescription->unsetCursor();
    const QSignalBlocker blocker(lstLink);
    lstLink->clear();
}

void frmMain::DrawDescription(bool fromTop) {
    QString text;
    if (!current_.Blanked) {
        text = current_.CurrentDescription;
    } else if (current_.NotFound) {
        // The typed text is cut to the width the box has now, at every drawing.
        HyperText::NoResult shown = *current_.NotFound;
        shown.typed = HyperText::FitTypedToLine(*pbxDescription, DisplayFont(), shown.typed);
        text = HyperText::NoResultMarkup(shown);
    }
    pbxDescription->ShowDescription(text, DisplayFont(), fromTop);
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

void frmMain::pbxDescription_LinkChosen(qint32 id) {
    ShowKeyword(id);
}
