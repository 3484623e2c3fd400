#include "history/History.h"

namespace History {

namespace {

qint16 NextSlot(qint16 slot) {
    return slot >= HistoryStore::HistoryCapacity ? qint16(1) : qint16(slot + 1);
}

qint16 PreviousSlot(qint16 slot) {
    return slot <= 1 ? HistoryStore::HistoryCapacity : qint16(slot - 1);
}

// Removes every row after `row`; with -1 the list is emptied.
void RemoveRowsAfter(HistoryListView& list, int row) {
    while (row < list.RowCount() - 1)
        list.RemoveRow(row + 1);
}

} // namespace

HistoryStore::HistoryStore() = default;

void HistoryStore::Reset() {
    m_historyEntries.fill(HistoryEntry{});
    m_oldestSlot = 0;
    m_newestSlot = 0;
    m_currentSlot = 0;
    m_skipNextAdd = false;
    if (HistoryListView* list = OpenList())
        list->Clear();
    if (m_commands) {
        m_commands->SetBackEnabled(false);
        m_commands->SetForwardEnabled(false);
    }
}

void HistoryStore::SetWindowHost(HistoryWindowHost* host) {
    m_host = host;
}

void HistoryStore::SetNavigationCommands(NavigationCommands* commands) {
    m_commands = commands;
    UpdateNavigationState();
}

qint32 HistoryStore::HistoryAction(HistoryOp op, qint32 id, const QString& caption) {
    qint32 result = 0;
    switch (op) {
    case HistoryOp::Add:
        result = Add(id, caption);
        break;
    case HistoryOp::GoFirst:
        m_currentSlot = m_oldestSlot;
        result = CurrentEntryId();
        break;
    case HistoryOp::GoLast:
        m_currentSlot = m_newestSlot;
        result = CurrentEntryId();
        break;
    case HistoryOp::GoBack:
        // Comparing before moving keeps back from passing the oldest entry; the wrap only
        // follows the ring.
        if (m_currentSlot != m_oldestSlot)
            m_currentSlot = PreviousSlot(m_currentSlot);
        result = CurrentEntryId();
        break;
    case HistoryOp::GoForward:
        if (m_currentSlot != m_newestSlot)
            m_currentSlot = NextSlot(m_currentSlot);
        result = CurrentEntryId();
        break;
    case HistoryOp::GoToSlot:
        result = GoToSlot(id);
        break;
    case HistoryOp::ToggleWindow:
        result = ToggleWindow();
        break;
    }
    UpdateNavigationState();
    return result;
}

// An empty history has nothing to go to. The Go operations then answer 0 and the flag stays
// clear, so the first entry shown afterwards is recorded, although the Alt+arrow keys reach the
// Go commands while they are disabled.
qint32 HistoryStore::Navigate(HistoryOp op, qint32 slot) {
    switch (op) {
    case HistoryOp::GoFirst:
    case HistoryOp::GoLast:
    case HistoryOp::GoBack:
    case HistoryOp::GoForward:
    case HistoryOp::GoToSlot:
        break;
    default:
        return 0;
    }
    const qint32 id = HistoryAction(op, slot, QString());
    m_skipNextAdd = id > 0;
    return id;
}

qint32 HistoryStore::GoAndShow(HistoryOp op, qint32 slot, const std::function<void(qint32)>& show) {
    const qint32 id = Navigate(op, slot);
    if (id > 0 && show)
        show(id);
    m_skipNextAdd = false;
    return id;
}

void HistoryStore::SetSkipNextAdd(bool skip) {
    m_skipNextAdd = skip && !IsEmpty();
}

bool HistoryStore::IsHistoryWindowOpen() const {
    return m_host && m_host->IsHistoryWindowOpen();
}

HistoryListView* HistoryStore::OpenList() const {
    return IsHistoryWindowOpen() ? m_host->HistoryList() : nullptr;
}

qint32 HistoryStore::Add(qint32 id, const QString& caption) {
    HistoryListView* list = OpenList();
    if (m_skipNextAdd) {
        // The echo of a navigation: the entry is already in the history.
        m_skipNextAdd = false;
    } else if (id >= 1 && CurrentEntryId() != id) {
        // Only an immediate repeat of the current entry is suppressed; with an empty history the
        // current slot is 0, which holds id 0, so any real entry is recorded.
        Record(id, caption, list);
    }
    if (list)
        SelectCurrentRow(*list);
    return id;
}

void HistoryStore::Record(qint32 id, const QString& caption, HistoryListView* list) {
    const int previousRow = CurrentRowIndex();
    int rowsDroppedAtTop = 0;

    if (m_currentSlot >= HistoryCapacity) {
        m_currentSlot = 1;
        if (m_oldestSlot == 1)
            m_oldestSlot = 2;
    } else {
        ++m_currentSlot;
        if (m_oldestSlot == 0) {
            m_oldestSlot = 1;
        } else if (m_oldestSlot == m_currentSlot) {
            // The ring was full: the new entry replaces the oldest.
            m_oldestSlot = NextSlot(m_oldestSlot);
            if (list) {
                list->RemoveRow(0);
                rowsDroppedAtTop = 1;
            }
        }
    }
    // Everything that lay after the previous current entry is dropped.
    m_newestSlot = m_currentSlot;
    m_historyEntries[m_currentSlot] = HistoryEntry{id, caption};

    if (!list)
        return;
    const int count = list->RowCount();
    int selected = list->SelectedRow();
    // The list's selection is the current entry's row unless the user has cleared it; then the
    // store's own position says where the kept rows end, so the list cannot lose older entries.
    if (selected < 0)
        selected = previousRow - rowsDroppedAtTop;
    if (count > 0 && selected < count - 1)
        RemoveRowsAfter(*list, selected);
    list->AppendRow(caption, m_currentSlot);
    if (list->RowCount() > HistoryCapacity)
        list->RemoveRow(0);
}

qint32 HistoryStore::GoToSlot(qint32 slot) {
    // Slot numbers come from the history list. One that names no recorded entry (below 1, above
    // 100 or outside the run) moves nothing, so the current position always stays on the run.
    if (!IsRecordedSlot(slot))
        return 0;
    m_currentSlot = qint16(slot);
    return CurrentEntryId();
}

qint32 HistoryStore::ToggleWindow() {
    if (!m_host)
        return 0;
    if (m_host->IsHistoryWindowOpen()) {
        m_host->CloseHistoryWindow();
    } else if (HistoryListView* list = m_host->OpenHistoryWindow()) {
        FillHistoryList(*list);
        m_host->ShowHistoryWindow();
    }
    return 0;
}

void HistoryStore::UpdateNavigationState() {
    // With one entry or none there is nowhere to go; the commands keep the disabled state they
    // start with.
    if (!m_commands || EntryCount() < 2)
        return;
    m_commands->SetForwardEnabled(m_currentSlot != m_newestSlot);
    m_commands->SetBackEnabled(m_currentSlot != m_oldestSlot);
}

void HistoryStore::FillHistoryList(HistoryListView& list) const {
    list.Clear();
    const QList<qint16> recorded = RecordedSlots();
    for (qint16 slot : recorded)
        list.AppendRow(m_historyEntries[slot].Caption, slot);
    SelectCurrentRow(list);
}

void HistoryStore::SelectCurrentRow(HistoryListView& list) const {
    if (m_oldestSlot <= 0)
        return;
    list.SetSelectList(true);
    list.SelectRow(CurrentRowIndex());
    // Selecting the row that is already selected raises no selection change, which would leave
    // the flag set and swallow the user's next click in the list.
    list.SetSelectList(false);
}

int HistoryStore::CurrentRowIndex() const {
    if (m_oldestSlot <= 0)
        return -1;
    if (m_currentSlot >= m_oldestSlot)
        return m_currentSlot - m_oldestSlot;
    return m_currentSlot - m_oldestSlot + HistoryCapacity;
}

void HistoryStore::RemoveRowsAfterSelection(HistoryListView& list) const {
    const int selected = list.SelectedRow();
    // Without a selection there is no row to keep the list up to; it is left alone.
    if (selected < 0)
        return;
    RemoveRowsAfter(list, selected);
}

int HistoryStore::EntryCount() const {
    if (IsEmpty())
        return 0;
    return (m_newestSlot - m_oldestSlot + HistoryCapacity) % HistoryCapacity + 1;
}

QList<qint16> HistoryStore::RecordedSlots() const {
    QList<qint16> recorded;
    if (IsEmpty())
        return recorded;
    recorded.reserve(EntryCount());
    for (qint16 slot = m_oldestSlot;; slot = NextSlot(slot)) {
        recorded.append(slot);
        if (slot == m_newestSlot)
            break;
    }
    return recorded;
}

bool HistoryStore::IsRecordedSlot(qint32 slot) const {
    if (IsEmpty() || slot < 1 || slot > HistoryCapacity)
        return false;
    return (slot - m_oldestSlot + HistoryCapacity) % HistoryCapacity < EntryCount();
}

HistoryStore& Store() {
    static HistoryStore store;
    return store;
}

qint32 HistoryAction(HistoryOp op, qint32 id, const QString& caption) {
    return Store().HistoryAction(op, id, caption);
}

qint32 Navigate(HistoryOp op, qint32 slot) {
    return Store().Navigate(op, slot);
}

qint32 GoAndShow(HistoryOp op, qint32 slot, const std::function<void(qint32)>& show) {
    return Store().GoAndShow(op, slot, show);
}

} // namespace History
