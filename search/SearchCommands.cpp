// The search command and the result list.
#include "app/ListAdapters.h"
#include "app/StatusPanels.h"
#include "app/frmMain.h"
#include "data/DbAccess.h"
#include "data/Strings.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>

void frmMain::mnuFileFind_Click() {
    const QString key = Strings::TrimSpaces(txtSearchKey->text());
    const QString letter = Strings::TrimSpaces(txtLetter->text());
    const qint16 category = qint16(cmbCategory->currentData().toInt());

    ListWidgetSink results(lstDbList);
    {
        // Filling the list moves its current row; only the selection made below shows an entry.
        const QSignalBlocker blocker(lstDbList);
        resultCount_ = dictionary_.SearchEntries(key, letter, category, results);
    }
    if (resultCount_ < 1) {
        ShowSearchMiss(key, letter, category);
        OfferEntryCommands(false);
        return;
    }
    lstDbList->setCurrentRow(-1);
    lstDbList->setCurrentRow(0);
    if (lstDbList->hasFocus())
        lstDbList_GotFocus(); // already focused: the count is shown all the same
    else
        lstDbList->setFocus(Qt::OtherFocusReason);
}

void frmMain::cmdFind_Click() {
    mnuFileFind_Click();
}

void frmMain::lstDbList_Click() {
    const int row = lstDbList->currentRow();
    if (row < 0 || lstDbList->count() == 0)
        return;
    ShowChosenEntry(lstDbList->item(row)->data(Qt::UserRole).toInt());
}

void frmMain::ShowChosenEntry(qint32 id) {
    // The current entry is skipped only while it is on show: after a search without results
    // blanked the view, finding the same entry again must show it again.
    if (id > 0 && (id != current_.CurrentId || current_.Blanked))
        ShowKeyword(id);
}

void frmMain::lstDbList_GotFocus() {
    statusPanels->SetText(QStringLiteral("検索結果 : %1件").arg(resultCount_));
}
