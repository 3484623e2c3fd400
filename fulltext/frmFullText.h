#pragma once

#include "fulltext/FullTextService.h"

#include <QIcon>
#include <QWidget>
#include <functional>

class QLabel;
class QLineEdit;
class QProgressBar;
class QStatusBar;
class QTreeWidget;

// What the full-text window takes from the main window when it opens.
struct FullTextWindowSetup {
    WorkerDictionary dictionary;
    QString cacheDir; // where the index is kept
    QIcon icon;
    std::function<void(qint32)> showEntry; // shows a chosen result in the main window
    std::function<void(int)> showHelp;     // opens a help topic by number
    // An index built in memory by an earlier window, kept for the rest of the run: the window
    // takes it over instead of building one again. Null for none.
    FullTextService* keptService = nullptr;
    // Takes such an index when the window closes.
    std::function<void(FullTextService*)> keepService;
};

// The full-text search window: a query, the entries whose texts hold every term with a piece of
// the description around the first match, and a status line. It builds the index on first use,
// with its progress, and stays open while the user shows one result after another.
class frmFullText : public QWidget {
    Q_OBJECT
public:
    frmFullText(FullTextWindowSetup setup, QWidget* owner);

    // The F1 topic of the window and its controls.
    static constexpr int kHelpTopic = 8;

    QLabel* Label1 = nullptr; // "検索語(&S)"
    QLineEdit* txtQuery = nullptr;
    QLabel* Label2 = nullptr; // "検索結果(&R)"
    QTreeWidget* lstResults = nullptr;
    QLabel* lblNotice = nullptr; // says, once, that the index lives in memory only
    QStatusBar* stbStatus = nullptr;
    QLabel* lblStatus = nullptr;
    QProgressBar* prgIndex = nullptr;

    // Puts the focus into the query field with its text selected.
    void FocusQuery();
    // Puts query into the query field and searches for it, as Enter there does.
    void SearchFor(const QString& query);

public slots:
    void txtQuery_Enter();
    void lstResults_Choose();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateControls();
    void CreateCommands();
    void ConnectService();
    void SetStatus(const QString& text);
    void ShowNotice(const QString& text);
    void AppendHits(const QList<FullTextHit>& hits);

    FullTextWindowSetup setup_;
    FullTextService* service_ = nullptr;
    quint64 search_ = 0; // the search whose results are listed; 0 for none
    bool indexReady_ = false;
};
