#pragma once

#include "data/SqliteHandles.h"
#include "fulltext/IndexKey.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <chrono>

// The full-text index of a dictionary, asked where one is already in the cache and never built
// here: a search that found nothing looks up Japanese words in it, on the window's own thread,
// so it must stay quick. An index that appears later (the full-text window built it) is found
// at the next question.
class ExistingIndexSearch {
public:
    // How long one question may take; what is found by then is the answer.
    static constexpr std::chrono::milliseconds kBudget{20};

    ExistingIndexSearch(const QString& dictionaryPath, QString cacheDir);

    // Entries whose text holds every word of `text`, at most `limit`, in listing order; none
    // without an index, or for words too short for the index to answer quickly.
    QList<qint32> Find(const QString& text, int limit);

private:
    bool Open();

    QString dictionaryPath_;
    QString cacheDir_;
    IndexKey key_; // read at the first question
    SqliteDb index_;
    QDateTime damaged_; // when the index last found damaged was written
};
