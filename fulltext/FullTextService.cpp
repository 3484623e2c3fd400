#include "fulltext/FullTextService.h"

#include "fulltext/FullTextWorker.h"

FullTextService::FullTextService(WorkerDictionary dictionary, QString cacheDir, QObject* parent)
    : QObject(parent), state_(std::make_shared<State>()) {
    auto* worker = new FullTextWorker(std::move(dictionary), std::move(cacheDir), state_, this);
    worker->moveToThread(&thread_);
    // The worker ends in its own thread, where its connections were opened.
    connect(&thread_, &QThread::finished, worker, &QObject::deleteLater);
    worker_ = worker;
    thread_.setObjectName(QStringLiteral("fulltext"));
    thread_.start();
    connect(this, &FullTextService::Ready, this, [this](bool, bool inMemory) {
        ready_ = true;
        inMemory_ = inMemory;
    });
    // A rebuild after damage makes the index unready until it is done.
    connect(this, &FullTextService::BuildProgress, this, [this] { ready_ = false; });
}

FullTextService::~FullTextService() {
    state_->stopping = true;
    thread_.quit();
    thread_.wait();
}

void FullTextService::Start() {
    QMetaObject::invokeMethod(worker_, "Prepare", Qt::QueuedConnection);
}

quint64 FullTextService::Search(const QString& query) {
    const quint64 search = state_->latestSearch.fetch_add(1) + 1;
    QMetaObject::invokeMethod(worker_, "Search", Qt::QueuedConnection, Q_ARG(quint64, search),
                              Q_ARG(QString, query));
    return search;
}

void FullTextService::CancelSearch() {
    state_->latestSearch.fetch_add(1);
}
