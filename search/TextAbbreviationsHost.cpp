// The main window's side of the window of a text's abbreviations: one at a time, opened from the
// Edit menu or by a handed-over text, and closed with the main window like every other window.
#include "app/frmMain.h"
#include "search/LookupText.h"
#include "search/frmTextAbbreviations.h"

#include <QApplication>
#include <QClipboard>

void frmMain::mnuEditTextAbbreviations_Click() {
    const bool opening = !textAbbreviationsWindow_;
    OpenTextAbbreviations(QString());
    // A new window starts on what the user most likely copied to look at; the text is selected,
    // so typing or pasting replaces it.
    if (opening) {
        bool cut = false;
        const QString copied =
            LookupText::CutToLimit(QApplication::clipboard()->text(QClipboard::Clipboard), &cut);
        if (LookupText::Check(copied) == LookupText::Problem::None)
            textAbbreviationsWindow_->SetText(copied);
    }
    textAbbreviationsWindow_->FocusText();
}

// Opens the window, or brings the open one forward; a text that is not empty replaces its own.
void frmMain::OpenTextAbbreviations(const QString& text) {
    if (!textAbbreviationsWindow_) {
        TextAbbreviationsWindowSetup setup;
        setup.dictionary = [this] { return dictionary_.Db(); };
        setup.icon = windowIcon();
        setup.showEntry = [this](qint32 id) { ShowChosenEntry(id); };
        setup.showHelp = [this](int topic) { ShowHelpTopic(topic); };
        textAbbreviationsWindow_ = new frmTextAbbreviations(std::move(setup), this);
        // Beside the main window's top left corner, so that both can be seen.
        textAbbreviationsWindow_->move(frameGeometry().topLeft() + QPoint(60, 80));
    }
    if (!text.isEmpty())
        textAbbreviationsWindow_->SetText(text);
    textAbbreviationsWindow_->show();
    textAbbreviationsWindow_->raise();
}
