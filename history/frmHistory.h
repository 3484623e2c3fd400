#pragma once

#include "history/HistoryPlacement.h"
#include "history/HistoryViews.h"

#include <QIcon>
#include <QSize>
#include <QWidget>
#include <functional>

class QListWidget;

// What the history window takes from the main window when it opens.
struct HistoryWindowSetup {
    HistoryPlacement::MainWindow mainWindow; // its outer frame, in twips
    qint32 screenWidth = 0;                  // twips
    QSize listSize;                          // the related-words list, which the history matches
    QIcon icon;
    std::function<void(qint32)> goToSlot; // moves the history to the slot the user chose
};

// The history window: the visited entries, oldest at the top; a click or a keyboard move
// jumps to the chosen entry. It keeps its width and follows the user only in height.
class frmHistory : public QWidget, public History::HistoryListView {
    Q_OBJECT
public:
    explicit frmHistory(HistoryWindowSetup setup);

    QListWidget* lstHistory = nullptr;
    // Set by the history store just before it selects a row from the code.
    bool SelectList = false;

    bool IsClosed() const { return closed_; }
    qint32 FixedWidth() const { return fixedWidth_; }
    qint32 LoadedHeight() const { return loadedHeight_; }

    // Sizes and places the window beside the main window it was set up with.
    void Form_Load();

    // History::HistoryListView
    int RowCount() const override;
    int SelectedRow() const override;
    void RemoveRow(int row) override;
    void AppendRow(const QString& caption, qint16 slot) override;
    void Clear() override;
    void SelectRow(int row) override;
    void SetSelectList(bool on) override { SelectList = on; }

public slots:
    void lstHistory_Click();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Resize();
    qint32 OuterWidth() const;
    qint32 OuterHeight() const;

    HistoryWindowSetup setup_;
    qint32 fixedWidth_ = 0;
    qint32 loadedHeight_ = 0;
    bool closed_ = false;
};
