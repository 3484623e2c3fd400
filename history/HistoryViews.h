#pragma once

#include <QString>
#include <QtGlobal>

// What the history store needs from the windows. The windows implement these with widgets; the
// store itself stays free of them so that its bookkeeping can be tested exactly.
namespace History {

// The history window's list: one row per recorded entry, oldest at row 0. Each row shows the
// entry's caption and carries its slot number (1 to 100) as item data.
class HistoryListView {
public:
    virtual ~HistoryListView() = default;

    virtual int RowCount() const = 0;
    // The selected (current) row, -1 when no row is selected.
    virtual int SelectedRow() const = 0;
    // Rows after `row` move up by one; the selection follows its row as a list box's does.
    virtual void RemoveRow(int row) = 0;
    // Appends a last row; the selection does not move.
    virtual void AppendRow(const QString& caption, qint16 slot) = 0;
    virtual void Clear() = 0;
    // Selects a row from the code. The selection-change notification this causes must be
    // delivered synchronously, so that the window's `SelectList` flag, which the store sets
    // just before, tells it apart from a user's choice.
    virtual void SelectRow(int row) = 0;
    // The window's `SelectList` flag: while set, the window's click handler resets it and
    // ignores the selection change instead of navigating.
    virtual void SetSelectList(bool on) = 0;
};

// The main window's side of the history window: whether it is loaded, loading and showing it,
// and closing it.
class HistoryWindowHost {
public:
    virtual ~HistoryWindowHost() = default;

    virtual bool IsHistoryWindowOpen() const = 0;
    // Loads the history window, which places itself, and returns its (still empty) list; the
    // store then fills the list and calls ShowHistoryWindow. Null when the window cannot be made.
    virtual HistoryListView* OpenHistoryWindow() = 0;
    // Shows the loaded window modeless and without an owner window.
    virtual void ShowHistoryWindow() = 0;
    virtual void CloseHistoryWindow() = 0;
    // The open window's list; null while the window is closed.
    virtual HistoryListView* HistoryList() = 0;
};

// The back and forward commands of the main window.
class NavigationCommands {
public:
    virtual ~NavigationCommands() = default;

    // Toolbar button "Left" and Go menu items 1 (back) and 0 (first).
    virtual void SetBackEnabled(bool enabled) = 0;
    // Toolbar button "Right" and Go menu items 2 (forward) and 3 (last).
    virtual void SetForwardEnabled(bool enabled) = 0;
};

} // namespace History
