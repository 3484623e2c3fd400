#pragma once

#include "history/HistoryViews.h"

#include <QList>
#include <QString>
#include <QtGlobal>

#include <array>
#include <functional>

// The navigation history: a ring of the last 100 entries shown, with a current position. It
// records every visit the entry view reports, answers the Go commands and the history window's
// jumps with the id of the entry to show, keeps the open history window's list in step, and after
// every operation enables or disables the back and forward commands.
namespace History {

struct HistoryEntry {
    qint32 EntryId = 0; // AbbrID of the entry; 0 means no entry
    QString Caption;    // the entry's Abbr text, as the history window lists it
};

enum class HistoryOp { Add, GoFirst, GoLast, GoBack, GoForward, GoToSlot, ToggleWindow };

class HistoryStore {
public:
    // Slots 1 to 100 form the ring; slot 0 is never written and answers every question asked of
    // an empty history with id 0.
    static constexpr qint16 HistoryCapacity = 100;
    static constexpr int SlotCount = HistoryCapacity + 1;

    HistoryStore();

    // Empties the history: every slot empty, all slot numbers 0, SkipNextAdd clear. The back and
    // forward commands are disabled and an open history window's list is emptied with it.
    void Reset();

    // Either may be null: then no history window is ever open, or the navigation state goes
    // nowhere. The store does not own them.
    void SetWindowHost(HistoryWindowHost* host);
    void SetNavigationCommands(NavigationCommands* commands);

    // The module's single entry point. `Add` records the visit of `id` with `caption` and returns
    // `id`; the Go operations move the current position and return the id of the entry now
    // current (0 for an empty history); `GoToSlot` takes its slot number in `id`; `ToggleWindow`
    // closes or opens the history window and returns 0. The back and forward commands are
    // updated after every operation.
    qint32 HistoryAction(HistoryOp op, qint32 id, const QString& caption);

    // The way for the Go commands and the history list to move: performs a Go operation
    // (`slot` is used by GoToSlot only) and sets SkipNextAdd exactly when it returns an entry to
    // show, so the Add the caller's showing of that entry makes records nothing. When it returns
    // 0 there is nothing to show and the caller shows nothing. Other operations return 0 and do
    // nothing.
    qint32 Navigate(HistoryOp op, qint32 slot = 0);

    // The whole round trip of a move through the history: moves (as Navigate does), hands the
    // id it lands on to `show`, whose Add then records nothing, and clears the flag again
    // afterwards, so that a move which shows nothing, or a `show` that adds twice, can never
    // leave the flag to swallow a later visit. `show` is not called when there is nothing to
    // show. Returns the id shown, or 0.
    qint32 GoAndShow(HistoryOp op, qint32 slot, const std::function<void(qint32)>& show);

    bool IsHistoryWindowOpen() const;

    // List upkeep of the history window.
    void FillHistoryList(HistoryListView& list) const;
    void SelectCurrentRow(HistoryListView& list) const;
    // Row of the current entry in the history list; -1 with an empty history.
    int CurrentRowIndex() const;
    void RemoveRowsAfterSelection(HistoryListView& list) const;

    const std::array<HistoryEntry, SlotCount>& HistoryEntries() const { return m_historyEntries; }
    qint16 OldestSlot() const { return m_oldestSlot; }
    qint16 NewestSlot() const { return m_newestSlot; }
    qint16 CurrentSlot() const { return m_currentSlot; }
    bool SkipNextAdd() const { return m_skipNextAdd; }
    // Asks that the next Add record nothing. Ignored while the history is empty: no navigation
    // can show an entry then, so nothing would consume the flag and the next real visit would be
    // lost.
    void SetSkipNextAdd(bool skip);

    bool IsEmpty() const { return m_oldestSlot <= 0; }
    // Number of recorded entries, 0 to 100.
    int EntryCount() const;
    // The recorded slots in visiting order, oldest first.
    QList<qint16> RecordedSlots() const;

private:
    qint32 Add(qint32 id, const QString& caption);
    void Record(qint32 id, const QString& caption, HistoryListView* list);
    qint32 GoToSlot(qint32 slot);
    qint32 ToggleWindow();
    void UpdateNavigationState();
    bool IsRecordedSlot(qint32 slot) const;
    qint32 CurrentEntryId() const { return m_historyEntries[m_currentSlot].EntryId; }
    HistoryListView* OpenList() const;

    std::array<HistoryEntry, SlotCount> m_historyEntries;
    qint16 m_oldestSlot = 0; // 0: the history is empty
    qint16 m_newestSlot = 0;
    qint16 m_currentSlot = 0;
    bool m_skipNextAdd = false; // the next Add is the echo of a navigation

    HistoryWindowHost* m_host = nullptr;
    NavigationCommands* m_commands = nullptr;
};

// The program's one history store.
HistoryStore& Store();

// Module-level forms of the store's operations, for the rest of the program.
qint32 HistoryAction(HistoryOp op, qint32 id, const QString& caption);
qint32 Navigate(HistoryOp op, qint32 slot = 0);
qint32 GoAndShow(HistoryOp op, qint32 slot, const std::function<void(qint32)>& show);

} // namespace History
