// Paste, paste-and-search and clear: the commands that feed the search fields.
#include "app/frmMain.h"
#include "search/ClipboardWord.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMimeData>

namespace {
QString ClipboardText(bool* available) {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    *available = data && data->hasText();
    return *available ? data->text() : QString();
}
} // namespace

void frmMain::mnuEditPaste_Click() {
    bool available = false;
    const QString text = ClipboardText(&available);
    if (!available)
        return;
    QWidget* active = focusWidget();
    if (active == txtSearchKey || active == txtLetter)
        static_cast<QLineEdit*>(active)->insert(text);
}

void frmMain::mnuEditPasteSearch_Click() {
    bool available = false;
    const QString text = ClipboardText(&available);
    if (!available)
        return;
    const QString word = ClipboardWord::FirstAsciiWord(text);
    if (!word.isEmpty())
        PasteSearch(word);
}

void frmMain::PasteSearch(const QString& word) {
    txtSearchKey->setText(word);
    txtLetter->setText(QString());
    mnuFileFind_Click();
}

void frmMain::mnuEditDelete_Click() {
    txtLetter->setText(QString());
    txtSearchKey->setText(QString());
    cmbCategory->setCurrentIndex(0);
    txtSearchKey->setFocus(Qt::OtherFocusReason);
}
