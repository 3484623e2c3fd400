#include "fulltext/IndexTextReader.h"

#include "fulltext/EntryText.h"

IndexTextReader::IndexTextReader(sqlite3* dictionary, std::function<bool()> cancelled)
    : rows_(dictionary, DictionaryRows::Mode::AllInListingOrder), cancelled_(std::move(cancelled)) {
    if (!rows_.IsValid()) {
        failed_ = true;
        finished_ = true;
        error_ = rows_.ErrorText();
        return;
    }
    thread_ = std::thread([this] { Read(); });
}

IndexTextReader::~IndexTextReader() {
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

void IndexTextReader::Read() {
    qint64 rank = 0;
    DictionaryRows::Entry entry;
    bool more = true;
    while (more) {
        std::vector<Row> batch;
        batch.reserve(kBatchRows);
        while (batch.size() < kBatchRows && (more = rows_.Next(entry)))
            batch.push_back({++rank, entry.id, EntryText::IndexText(entry)});
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return stop_ || ready_.size() < kBatchesAhead; });
        if (stop_)
            return;
        if (!batch.empty())
            ready_.push_back(std::move(batch));
        if (!more || (cancelled_ && cancelled_())) {
            finished_ = true;
            failed_ = rows_.Failed();
            error_ = rows_.ErrorText();
            more = false;
        }
        changed_.notify_all();
    }
}

bool IndexTextReader::Next(std::vector<Row>& batch) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !ready_.empty() || finished_; });
    if (ready_.empty())
        return false;
    batch = std::move(ready_.front());
    ready_.pop_front();
    changed_.notify_all();
    return true;
}

bool IndexTextReader::Failed() const {
    const std::lock_guard lock(mutex_);
    return failed_;
}

QString IndexTextReader::ErrorText() const {
    const std::lock_guard lock(mutex_);
    return error_;
}
