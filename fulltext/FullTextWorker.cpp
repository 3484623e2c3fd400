#include "fulltext/FullTextWorker.h"

#include "fulltext/FullTextQuery.h"
#include "fulltext/HitReader.h"
#include "fulltext/IndexFiles.h"
#include "fulltext/IndexSearch.h"

namespace {

// Results found are passed on at once for the first, then at most this often, so that a long
// scan shows what it has while the list does not redraw for every line.
constexpr qint64 kBatchIntervalMs = 100;

} // namespace

FullTextWorker::FullTextWorker(WorkerDictionary dictionary, QString cacheDir,
                               std::shared_ptr<FullTextService::State> state,
                               FullTextService* service)
    : source_(std::move(dictionary)), cacheDir_(std::move(cacheDir)), state_(std::move(state)),
      service_(service) {}

bool FullTextWorker::Superseded(quint64 search) const {
    return Stopping() || state_->latestSearch.load(std::memory_order_relaxed) != search;
}

void FullTextWorker::Prepare() {
    if (Stopping())
        return;
    dictionary_ = source_.Connect();
    if (!dictionary_) {
        emit service_->Unavailable(QStringLiteral("辞書を読めないため、全文検索を使えません。"));
        return;
    }
    if (source_.replaced) {
        key_ = IndexKeys::OfCopy(source_.path, source_.opened, source_.image);
    } else {
        // Taken after connecting: the key and the connection name the file the program has open,
        // or another was renamed into its place meanwhile.
        key_ = IndexKeys::Of(source_.path);
        if (source_.opened.IsValid() && !key_.Names(source_.opened)) {
            dictionary_.reset();
            emit service_->Unavailable(
                QStringLiteral("辞書ファイルが置き換えられたため、全文検索を使えません。"
                               "全文検索のウィンドウを開き直してください。"));
            return;
        }
    }
    OpenOrBuild(false);
}

FullTextWorker::IndexState FullTextWorker::OpenOrBuild(bool rebuild) {
    index_.reset();
    const bool cached = key_.IsValid() && !cacheDir_.isEmpty();
    if (cached) {
        if (rebuild)
            IndexFiles::Remove(cacheDir_, key_);
        else if ((index_ = IndexFiles::OpenValid(IndexFiles::PathFor(cacheDir_, key_), key_))) {
            emit service_->Ready(false, false);
            return IndexState::Ready;
        }
        IndexFiles::RemoveAbandoned(cacheDir_);
    }

    IndexBuilder::Control control;
    control.cancelled = [this] { return Stopping(); };
    control.progress = [this](int percent) { emit service_->BuildProgress(percent); };
    IndexFiles::BuildResult built =
        IndexFiles::Build(cached ? cacheDir_ : QString(), key_, dictionary_.get(), control);
    if (built.outcome == IndexFiles::Outcome::Cancelled || Stopping())
        return IndexState::Stopped;
    if (built.outcome != IndexFiles::Outcome::Ready && !built.inMemory && !Stopping()) {
        // The cache took the file but not the whole index (a full disk, say): this run can
        // still search with an index in memory.
        built = IndexFiles::Build(QString(), key_, dictionary_.get(), control);
        if (Stopping())
            return IndexState::Stopped;
    }
    if (built.outcome != IndexFiles::Outcome::Ready) {
        emit service_->Unavailable(
            QStringLiteral("全文検索の索引を作成できませんでした（%1）。").arg(built.error));
        return IndexState::Failed;
    }
    index_ = std::move(built.db);
    inMemory_ = built.inMemory;
    emit service_->Ready(true, inMemory_);
    return IndexState::Ready;
}

void FullTextWorker::Search(quint64 search, const QString& query) {
    if (Superseded(search))
        return;
    QElapsedTimer clock;
    clock.start();
    const FullTextQuery::Parsed parsed = FullTextQuery::Parse(query);
    if (!parsed.error.isEmpty()) {
        emit service_->SearchRejected(search, parsed.error);
        return;
    }
    if (!index_) {
        emit service_->SearchRejected(search, QStringLiteral("全文検索の索引がありません。"));
        return;
    }

    HitReader reader(dictionary_.get());
    QList<FullTextHit> batch;
    int found = 0;
    QElapsedTimer sinceBatch;
    auto flush = [&] {
        if (!batch.isEmpty())
            emit service_->HitsFound(search, batch);
        batch.clear();
        sinceBatch.start();
    };
    unsigned checks = 0;
    auto cancelled = [&] {
        if (Superseded(search))
            return true;
        if ((++checks & 255) == 0 && !batch.isEmpty() && sinceBatch.elapsed() >= kBatchIntervalMs)
            flush();
        return false;
    };
    auto onHit = [&](const IndexSearch::Hit& hit) {
        batch.append(reader.Read(hit.entry, parsed.terms));
        if (++found == 1 || sinceBatch.elapsed() >= kBatchIntervalMs)
            flush();
    };

    sinceBatch.start();
    IndexSearch::Result result =
        IndexSearch::Run(index_.get(), parsed.terms, FullTextLimits::kMaxResults, cancelled, onHit);
    if (result.outcome == IndexSearch::Outcome::Failed && IndexSearch::IsDamage(result.errorCode) &&
        !rebuilt_ && !Superseded(search)) {
        // A damaged index is not trusted again: build it anew, once, and search again.
        rebuilt_ = true;
        batch.clear();
        found = 0;
        emit service_->HitsFound(search, {}); // nothing of the failed attempt stands
        if (OpenOrBuild(true) != IndexState::Ready)
            return;
        result = IndexSearch::Run(index_.get(), parsed.terms, FullTextLimits::kMaxResults,
                                  cancelled, onHit);
    }
    if (result.outcome == IndexSearch::Outcome::Cancelled || Superseded(search))
        return;
    flush();
    if (result.outcome == IndexSearch::Outcome::Failed) {
        emit service_->SearchRejected(
            search, QStringLiteral("検索できませんでした（%1）。").arg(result.error));
        return;
    }
    emit service_->SearchFinished(search, found, clock.nsecsElapsed() / 1000);
}
