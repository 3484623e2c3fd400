#pragma once

#include "history/HistoryViews.h"

#include <QList>
#include <QString>
#include <QStringList>

// Stand-ins for the windows. The list behaves like a single-selection list box: removing rows
// shifts the indexes, the selection follows its row, removing the selected row selects the row
// that takes its place (or the one before it at the end), appending leaves the selection alone,
// and selecting the row that is already selected raises no selection change.

struct FakeRow {
    QString Caption;
    qint16 Slot = 0;
};

class FakeHistoryList : public History::HistoryListView {
public:
    int RowCount() const override { return int(Rows.size()); }
    int SelectedRow() const override { return Selected; }

    void RemoveRow(int row) override {
        if (row < 0 || row >= RowCount())
            return;
        Rows.removeAt(row);
        if (row < Selected) {
            --Selected;
        } else if (row == Selected) {
            if (Selected >= RowCount())
                Selected = RowCount() - 1;
            SelectionChanged();
        }
    }

    void AppendRow(const QString& caption, qint16 slot) override { Rows.append({caption, slot}); }

    void Clear() override {
        Rows.clear();
        if (Selected != -1) {
            Selected = -1;
            SelectionChanged();
        }
    }

    void SelectRow(int row) override {
        ++SelectRowCalls;
        SelectListWhenSelecting.append(SelectList);
        if (row < 0 || row >= RowCount())
            row = -1;
        if (row == Selected)
            return;
        Selected = row;
        SelectionChanged();
    }

    void SetSelectList(bool on) override { SelectList = on; }

    // The user clicks a row (or clears the selection with -1) without the code being involved.
    void UserSelects(int row) { Selected = row; }

    QStringList Captions() const {
        QStringList captions;
        for (const FakeRow& row : Rows)
            captions.append(row.Caption);
        return captions;
    }

    QList<qint16> Slots() const {
        QList<qint16> result;
        for (const FakeRow& row : Rows)
            result.append(row.Slot);
        return result;
    }

    QList<FakeRow> Rows;
    int Selected = -1;
    bool SelectList = false;
    int SelectRowCalls = 0;
    QList<bool> SelectListWhenSelecting;
    // Selection changes that the window's click handler would have taken for the user's choice
    // of a row, and so turned into a navigation of their own.
    int StrayClicks = 0;

private:
    // What the window's click handler does with a selection change.
    void SelectionChanged() {
        if (SelectList) {
            SelectList = false;
            return;
        }
        if (Selected >= 0)
            ++StrayClicks;
    }
};

class FakeHistoryWindow : public History::HistoryWindowHost {
public:
    bool IsHistoryWindowOpen() const override { return Open; }

    History::HistoryListView* OpenHistoryWindow() override {
        Open = true;
        Shown = false;
        List = FakeHistoryList{};
        return &List;
    }

    void ShowHistoryWindow() override {
        Shown = true;
        RowsWhenShown = List.RowCount();
    }

    void CloseHistoryWindow() override {
        Open = false;
        Shown = false;
    }

    History::HistoryListView* HistoryList() override { return Open ? &List : nullptr; }

    bool Open = false;
    bool Shown = false;
    int RowsWhenShown = -1;
    FakeHistoryList List;
};

class FakeNavigationCommands : public History::NavigationCommands {
public:
    void SetBackEnabled(bool enabled) override {
        BackEnabled = enabled;
        ++Calls;
    }
    void SetForwardEnabled(bool enabled) override {
        ForwardEnabled = enabled;
        ++Calls;
    }

    // Both groups start disabled, as the main window defines them.
    bool BackEnabled = false;
    bool ForwardEnabled = false;
    int Calls = 0;
};
