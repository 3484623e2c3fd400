#pragma once

#include "data/SqliteHandles.h"
#include "fulltext/FullTextService.h"
#include "fulltext/IndexKey.h"

#include <QElapsedTimer>
#include <QObject>
#include <atomic>

// What the service and its worker share across the thread boundary.
struct FullTextService::State {
    std::atomic<bool> stopping{false};
    std::atomic<quint64> latestSearch{0};
};

// The service's half in the worker thread: it owns both connections and does all the work.
class FullTextWorker : public QObject {
    Q_OBJECT
public:
    FullTextWorker(WorkerDictionary dictionary, QString cacheDir,
                   std::shared_ptr<FullTextService::State> state, FullTextService* service);

public slots:
    void Prepare();
    void Search(quint64 search, const QString& query);

private:
    enum class IndexState { Ready, Stopped, Failed };
    IndexState OpenOrBuild(bool rebuild);
    bool Stopping() const { return state_->stopping.load(std::memory_order_relaxed); }
    bool Superseded(quint64 search) const;

    WorkerDictionary source_;
    QString cacheDir_;
    std::shared_ptr<FullTextService::State> state_;
    FullTextService* service_; // signals are sent through it; it outlives this object's work
    IndexKey key_;
    SqliteDb dictionary_;
    SqliteDb index_;
    bool inMemory_ = false;
    bool rebuilt_ = false;
};
