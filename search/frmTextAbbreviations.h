#pragma once

#include <QIcon>
#include <QWidget>
#include <functional>

class QLabel;
class QPlainTextEdit;
class QStatusBar;
class QTimer;
class QTreeWidget;
struct sqlite3;

// What the window of a text's abbreviations takes from the main window when it opens.
struct TextAbbreviationsWindowSetup {
    // The open dictionary, asked anew for every look: null once it has been closed.
    std::function<sqlite3*()> dictionary;
    QIcon icon;
    std::function<void(qint32)> showEntry; // shows a chosen row in the main window
    std::function<void(int)> showHelp;     // opens a help topic by number
};

// The window "文中の略語": a text, and every abbreviation of the dictionary found in it, each
// with the word as the text writes it, the abbreviation, its spelled-out form and its first
// Japanese term. The list follows edits of the text a moment after the typing stops; choosing a
// row shows its entry in the main window.
class frmTextAbbreviations : public QWidget {
    Q_OBJECT
public:
    frmTextAbbreviations(TextAbbreviationsWindowSetup setup, QWidget* owner);

    // The F1 topic of the window and its controls.
    static constexpr int kHelpTopic = 9;
    // How long the list waits after an edit before it looks again.
    static constexpr int kRefreshDelayMs = 300;

    // Puts text into the box and lists its abbreviations at once.
    void SetText(const QString& text);
    // Puts the focus into the text box, with its text selected.
    void FocusText();
    // Puts the focus into the list of what was found.
    void FocusList();

public slots:
    void lstFound_Choose();
    void tmrRefresh_Timer();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateControls();
    void CreateCommands();

    TextAbbreviationsWindowSetup setup_;
    QLabel* Label1 = nullptr; // "文(&T)"
    QPlainTextEdit* txtText = nullptr;
    QLabel* Label2 = nullptr; // "見つかった略語(&L)"
    QTreeWidget* lstFound = nullptr;
    QStatusBar* stbStatus = nullptr;
    QLabel* lblStatus = nullptr;
    QTimer* tmrRefresh = nullptr;
};
