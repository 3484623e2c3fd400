#pragma once

#include "fulltext/Excerpt.h"
#include "fulltext/WorkerDictionary.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QThread>
#include <memory>

// One result of a full-text search, as the window lists it.
struct FullTextHit {
    qint32 id = 0; // AbbrID
    QString abbr;
    QString letter;
    Excerpt excerpt;
};

namespace FullTextLimits {
// As many results as the main result list shows at most.
inline constexpr int kMaxResults = 500;
} // namespace FullTextLimits

// The full-text search of one dictionary, worked in a thread of its own so that the window stays
// responsive: first the index is opened, or built with progress reports; then searches run one at
// a time, each new one cancelling the one before. Destroying the service cancels whatever is
// running, a build included, and waits for the thread to end; a cancelled build leaves nothing.
class FullTextService : public QObject {
    Q_OBJECT
public:
    // cacheDir: where indexes are kept; empty or unwritable means building in memory.
    FullTextService(WorkerDictionary dictionary, QString cacheDir, QObject* parent = nullptr);
    ~FullTextService() override;

    // Opens or builds the index. Call once.
    void Start();
    // Starts searching for query and returns the search's number, which the signals about it
    // carry; any earlier search is cancelled and reports nothing more.
    quint64 Search(const QString& query);
    // Cancels the running search, if any.
    void CancelSearch();
    // The index can be searched and lives in memory only: worth keeping for the rest of the run.
    bool HoldsIndexInMemory() const { return ready_ && inMemory_; }

    struct State;

signals:
    // The index is being built: percent from 0 to 100.
    void BuildProgress(int percent);
    // The index can be searched. inMemory: the cache could not be written, so it was built in
    // memory and lasts only as long as the service.
    void Ready(bool builtNow, bool inMemory);
    // No index could be opened or built.
    void Unavailable(const QString& message);
    void HitsFound(quint64 search, const QList<FullTextHit>& hits);
    // The search is done: `count` results in `elapsedUs` microseconds. Not sent for a cancelled
    // search.
    void SearchFinished(quint64 search, int count, qint64 elapsedUs);
    // The query cannot be searched; message says why.
    void SearchRejected(quint64 search, const QString& message);

private:
    std::shared_ptr<State> state_;
    bool ready_ = false;
    bool inMemory_ = false;
    QThread thread_;
    QObject* worker_ = nullptr; // lives in thread_
};
