#pragma once

#include "app/HandOver.h"
#include "app/MainWindowParts.h"
#include "auxiliary/HelpViewer.h"
#include "commands/CommandTable.h"
#include "data/DbAccess.h"
#include "data/Suggestions.h"
#include "entryview/HyperText.h"
#include "entryview/NoResultMarkup.h"
#include "history/History.h"
#include "history/HistoryViews.h"
#include "history/frmHistory.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <memory>
#include <optional>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QStatusBar;
class QToolBar;
class DescriptionBox;
class RelatedWordsList;
class StatusPanels;
class frmFullText;
class frmTextAbbreviations;
class FullTextService;
class KeyPreview;
namespace TextAbbreviations {
struct Found;
}

// The entry on show; only ShowKeyword and the blanking of the view change it. The links of its
// drawing belong to the description box.
struct ShownEntry {
    qint32 CurrentId = 0;
    QString CurrentKeyword;
    QString CurrentDescription;
    QString CurrentUrl;
    // The view was blanked (no result, or an id below 1): a redraw keeps it blank.
    bool Blanked = false;
    // What the blanked view says after a search that found nothing; none after other blanking.
    std::optional<HyperText::NoResult> NotFound;
};

// The program's one window: search fields, result list, related words and the description,
// with the menus, toolbar and status bar. Its handlers live beside the subsystem they serve
// (search/, entryview/, history/, fulltext/, commands/, auxiliary/); this file declares them all,
// and commands/CommandTable.cpp binds the menu items and keys to them. The controls are private:
// other code, tests included, finds them by their object names.
class frmMain : public QMainWindow,
                public History::NavigationCommands,
                public History::HistoryWindowHost {
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // The product name from the version information; the window caption and message title.
    QString AppNameDef;

    // Start-up. Returns false when the dictionary cannot be used (the window has been closed
    // again) and the program must end. `dictionaryPath` replaces the ABBR.MDB in applicationDir
    // when it is not empty. A running copy is found before the window is made (main.cpp).
    bool Form_Load(const QString& applicationDir, const QString& dictionaryPath = QString());

    void FontChange(QString& NewFontName, qint16& NewFontSize);
    void SelectTextBox();
    void ShowKeyword(qint32 lngId);
    // Shows the entry a list of results offers, as a choice in the result list does.
    void ShowChosenEntry(qint32 id);

    // Help file beside the program.
    QString HelpFilePath() const { return helpFilePath_; }
    // The dictionary the window reads, which it hands on to the windows it opens.
    const DbAccess::Dictionary& Dictionary() const { return dictionary_; }

    // Enables every command as the state allows; whatever changes the state calls it.
    void SetCommandState(const Commands::CommandState& state);

    // History::NavigationCommands
    void SetBackEnabled(bool enabled) override;
    void SetForwardEnabled(bool enabled) override;
    // History::HistoryWindowHost
    bool IsHistoryWindowOpen() const override;
    History::HistoryListView* OpenHistoryWindow() override;
    void ShowHistoryWindow() override;
    void CloseHistoryWindow() override;
    History::HistoryListView* HistoryList() override;
    // Moves through the history (a Go command, a row of the history window) and shows the entry
    // it lands on without recording it again.
    void GoInHistory(History::HistoryOp op, qint32 slot = 0);

    const ShownEntry& Current() const { return current_; }

    // Layout state.
    int LayoutPasses() const { return layoutPasses_; }
    HyperText::DisplayFont DisplayFont() const;

    // Outer and client sizes of the window in twips, and the toolbar's height.
    qint32 OuterWidth() const;
    qint32 OuterHeight() const;
    qint32 ClientWidth() const;
    qint32 ClientHeight() const;
    qint32 ToolbarHeight() const;
    void SetOuterSize(qint32 width, qint32 height);

public slots:
    // Search panel.
    void mnuFileFind_Click();
    void mnuFileFullText_Click();
    void cmdFind_Click();
    void lstDbList_Click();
    void lstDbList_GotFocus();
    void txtSearchKey_GotFocus();
    void txtLetter_GotFocus();
    void mnuEditPaste_Click();
    void mnuEditPasteSearch_Click();
    void mnuEditDelete_Click();
    void mnuEditTextAbbreviations_Click();
    // Looks up a text that a later start handed over, or that this start was given, once the
    // dictionary is open (until then it waits), and comes forward.
    void LookUp(const HandOver::LookupRequest& request);
    // Entry view.
    void lstLink_Click();
    // A link of the description was chosen: by the mouse, the keyboard or a screen reader.
    void pbxDescription_LinkChosen(qint32 id);
    // Commands.
    void tbrToolbar_ButtonClick(const QString& key);
    void mnuGoItem_Click(int index);
    void mnuGo_Click();
    void mnuFileExit_Click();
    // Auxiliary functions.
    void mnuEditCopy_Click();
    void mnuFileWeb_Click();
    void mnuHelpContents_Click();
    void mnuHelpSearch_Click();
    void mnuHelpAbout_Click();
    void ShowHelpTopic(int topic);

    // Brings the window forward when another start hands over to it.
    void ActivateFromAnotherStart();
    // The same with the token the desktop gave that start; empty for none.
    void BringForward(const QString& activationToken);

public:
    // Window events with the names of the program's handlers.
    void Form_Resize();
    void Form_MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift);
    // Layout.
    void LayoutControls();
    void SetListTabStop(QListWidget* list);
    // The help topic of the control with the focus, or the window's.
    int HelpTopicForFocus() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void CreateStatusBar();
    void CreateSearchFields(QWidget* client);
    void CreateFindButton();
    void CreateLists(QWidget* client);
    void ConnectControls();
    void CreateMenus();
    void AddMenuItem(QMenu* menu, const Commands::Command& command);
    void ApplyKeyHints();
    void CreateToolbar();
    void ApplyTabOrder();
    void InstallEventFilters();
    void Form_Unload();
    bool OpenDictionary(const QString& path);
    void ReportDamagedDictionary();
    void CentreAtDesignSize();
    QString StartupFontName() const;
    QString SystemFontName() const;
    // Client twips to the pixel geometry of a control.
    void Place(QWidget* control, qint32 left, qint32 top, qint32 width = -1, qint32 height = -1);
    qint32 Left(QWidget* control) const;
    qint32 Top(QWidget* control) const;
    qint32 Width(QWidget* control) const;
    qint32 Height(QWidget* control) const;
    qint32 ToolbarTop() const;
    qint32 StatusBarHeight() const;
    void ReadCurrentEntry();
    // Blanks the view, where a search found nothing with the paragraph that says so.
    void BlankEntryView(std::optional<HyperText::NoResult> notFound = std::nullopt);
    // After a search that found nothing: says so, with what the user probably meant.
    void ShowSearchMiss(const QString& key, const QString& letter, qint16 category);
    // Draws the current description (or the blank view); `fromTop` for a newly shown entry.
    void DrawDescription(bool fromTop);
    // Copying and opening the web page go together with an entry on show.
    void OfferEntryCommands(bool offered);
    // Paste-and-search on a word: into the key field, the spelled-out field cleared, searched.
    void PasteSearch(const QString& word);
    // Acting on a handed-over text (search/LookupHost.cpp).
    void LookUpPending();
    void LookUpSelectionWhenActive();
    void ActOnText(const QString& text, bool cut);
    void ShowFoundEntry(const TextAbbreviations::Found& entry);
    void OpenTextAbbreviations(const QString& text);
    void SearchFullText(const QString& query);

    // Controls.
    QToolBar* tbrToolbar = nullptr;
    std::array<QLabel*, 3> Label1{};
    QLineEdit* txtSearchKey = nullptr;
    QLineEdit* txtLetter = nullptr;
    QComboBox* cmbCategory = nullptr;
    QPushButton* cmdFind = nullptr;
    QLabel* Label3 = nullptr;
    std::array<QLabel*, 2> Label2{};
    RelatedWordsList* lstLink = nullptr;
    DescriptionBox* pbxDescription = nullptr;
    QListWidget* lstDbList = nullptr;
    QStatusBar* stbStatusBar = nullptr;
    StatusPanels* statusPanels = nullptr;

    // Menus and commands: the menu items by their object names (CommandTable.cpp), and the Go
    // menu's items as the array its handler indexes.
    QHash<QString, QAction*> commandActions_;
    QMenu* mnuGo = nullptr;
    std::array<QAction*, GoItemCount> mnuGoItem{};
    Commands::CommandState commandState_;
    KeyPreview* keyPreview_ = nullptr;

    DbAccess::Dictionary dictionary_;
    // Made at the first search that finds nothing; reads dictionary_, so it is declared after it.
    std::unique_ptr<Suggestions::Finder> suggestionFinder_;
    ShownEntry current_;
    QString helpFilePath_;
    QHash<ToolbarKey, QAction*> toolbarButtons_;
    qint32 minWindowWidth_ = 0;
    qint32 minWindowHeight_ = 0;
    qint32 resultCount_ = 0;
    int layoutPasses_ = 0;
    bool layoutBusy_ = false;
    bool windowSized_ = false;
    qint16 fontStep_ = 0;
    qint16 baseFontSize_ = 0;
    bool unloaded_ = false;
    QPointer<frmHistory> historyWindow_;
    QPointer<frmFullText> fullTextWindow_;
    QPointer<FullTextService> keptFullTextService_; // an index in memory, kept for the run
    QPointer<HelpViewer> helpViewer_;
    QPointer<frmTextAbbreviations> textAbbreviationsWindow_;
    // Texts handed over before the dictionary was open, acted on once it is.
    QList<HandOver::LookupRequest> pendingLookups_;
    bool lookupsReady_ = false;
};
