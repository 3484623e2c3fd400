#pragma once

#include "fulltext/DictionaryRows.h"

#include <QString>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Reads a dictionary's entries in listing order and makes the text the index keeps of each (see
// EntryText), in a thread of its own: while the index takes in one batch of texts, the next is
// read and folded, so that a build keeps two processors busy.
class IndexTextReader {
public:
    struct Row {
        qint64 rank = 0; // place in listing order, from 1
        qint32 entry = 0;
        std::string text;
    };

    // The reading starts at once; `dictionary` must not be used by anyone else until this object
    // is gone. `cancelled` is asked between batches.
    IndexTextReader(sqlite3* dictionary, std::function<bool()> cancelled);
    // Stops the reading and waits for its thread.
    ~IndexTextReader();
    IndexTextReader(const IndexTextReader&) = delete;
    IndexTextReader& operator=(const IndexTextReader&) = delete;

    // The next rows, replacing batch; false when there are no more (see Failed).
    bool Next(std::vector<Row>& batch);
    bool Failed() const;
    QString ErrorText() const;

private:
    void Read();

    static constexpr size_t kBatchRows = 256;
    static constexpr size_t kBatchesAhead = 16; // how far the reading may run ahead

    DictionaryRows rows_;
    std::function<bool()> cancelled_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::vector<Row>> ready_;
    bool finished_ = false;
    bool stop_ = false;
    bool failed_ = false;
    QString error_;
    std::thread thread_;
};
