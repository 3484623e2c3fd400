// Copying the entry and opening its web page.
#include "app/frmMain.h"
#include "auxiliary/Web.h"
#include "base/MessageBox.h"
#include "data/DbAccess.h"
#include "entryview/RelatedWordsList.h"

#include <QApplication>
#include <QClipboard>
#include <QListWidget>

void frmMain::mnuEditCopy_Click() {
    // The entry on show, which heads its related words: the selection may have moved on to a
    // word that is not shown yet.
    if (lstLink->count() == 0)
        return;
    const qint32 id = lstLink->item(0)->data(Qt::UserRole).toInt();
    if (id <= 0)
        return;
    const QString text = dictionary_.GetEntryCopyText(id);
    if (text.isEmpty())
        return;
    QClipboard* clipboard = QApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
    ShowMessage(text + QStringLiteral("\r\nをクリップボードにコピーしました"),
                QStringLiteral("ｸﾘｯﾌﾟﾎﾞｰﾄﾞ"), MessageButtons::Ok, MessageIcon::None);
}

void frmMain::mnuFileWeb_Click() {
    if (current_.CurrentUrl.isEmpty())
        return;
    const QString title = QStringLiteral("ﾎｰﾑﾍﾟｰｼﾞを開く");
    if (!Web::IsWebAddress(current_.CurrentUrl)) {
        ShowMessage(QStringLiteral("この URL はブラウザーで開けません。\r\n") +
                        current_.CurrentUrl +
                        QStringLiteral("\r\n開けるのは http、https、ftp のアドレスだけです。"),
                    title, MessageButtons::Ok, MessageIcon::Warning);
        return;
    }
    const MessageAnswer answer =
        ShowMessage(QStringLiteral("ブラウザで次ぎの URL を開きます\r\n") + current_.CurrentUrl,
                    title, MessageButtons::OkCancel, MessageIcon::None);
    if (answer == MessageAnswer::Ok)
        Web::OpenWebPage(this, current_.CurrentUrl);
}
