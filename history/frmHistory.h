#pragma once

#include "history/HistoryViews.h"

#include <QWidget>

class QListWidget;
class frmMain;

// The history window: the visited entries, oldest at the top; a click or a keyboard move
// jumps to the chosen entry. It keeps its width and follows the user only in height.
class frmHistory : public QWidget, public History::HistoryListView {
    Q_OBJECT
public:
    explicit frmHistory(frmMain* mainWindow);

    QListWidget* lstHistory = nullptr;
    // Set by the history store just before it selects a row from the code.
    bool SelectList = false;

    bool IsClosed() const { return closed_; }
    qint32 FixedWidth() const { return fixedWidth_; }
    qint32 LoadedHeight() const { return loadedHeight_; }

    // Sizes and places the window beside the main window.
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

    frmMain* main_;
    qint32 fixedWidth_ = 0;
    qint32 loadedHeight_ = 0;
    bool closed_ = false;
};
