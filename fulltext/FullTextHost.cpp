// The main window's side of the full-text window: one at a time, opened from the File menu, and
// closed with the main window like every other window of the program.
#include "app/frmMain.h"
#include "fulltext/FullTextService.h"
#include "fulltext/IndexFiles.h"
#include "fulltext/frmFullText.h"

void frmMain::mnuFileFullText_Click() {
    if (!fullTextWindow_) {
        FullTextWindowSetup setup;
        setup.dictionary =
            WorkerDictionary::Of(dictionary_.Path(), dictionary_.Db(), dictionary_.OpenedFile());
        setup.cacheDir = IndexFiles::UserCacheDirectory();
        setup.icon = windowIcon();
        setup.showEntry = [this](qint32 id) { ShowChosenEntry(id); };
        setup.showHelp = [this](int topic) { ShowHelpTopic(topic); };
        setup.keptService = keptFullTextService_;
        keptFullTextService_ = nullptr;
        setup.keepService = [this](FullTextService* service) {
            service->setParent(this); // ends with the main window
            keptFullTextService_ = service;
        };
        fullTextWindow_ = new frmFullText(std::move(setup), this);
        // Beside the main window's top left corner, so that both can be seen.
        fullTextWindow_->move(frameGeometry().topLeft() + QPoint(40, 60));
    }
    fullTextWindow_->show();
    fullTextWindow_->raise();
    fullTextWindow_->FocusQuery();
}
