#include "fulltext/ExistingIndexSearch.h"

#include "fulltext/FullTextQuery.h"
#include "fulltext/IndexFiles.h"
#include "fulltext/IndexSearch.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <algorithm>

ExistingIndexSearch::ExistingIndexSearch(const QString& dictionaryPath, QString cacheDir)
    : dictionaryPath_(dictionaryPath), cacheDir_(std::move(cacheDir)) {}

bool ExistingIndexSearch::Open() {
    if (index_)
        return true;
    if (cacheDir_.isEmpty())
        return false;
    if (!key_.IsValid())
        key_ = IndexKeys::Of(dictionaryPath_);
    if (!key_.IsValid())
        return false;
    const QFileInfo file(IndexFiles::PathFor(cacheDir_, key_));
    if (file.exists() && file.lastModified() != damaged_)
        index_ = IndexFiles::OpenValid(file.filePath(), key_);
    return index_ != nullptr;
}

QList<qint32> ExistingIndexSearch::Find(const QString& text, int limit) {
    const FullTextQuery::Parsed query = FullTextQuery::Parse(text);
    // A short word is looked for in the texts themselves, which takes a whole scan when rare.
    if (!query.error.isEmpty() || query.terms.isEmpty() ||
        !std::all_of(query.terms.cbegin(), query.terms.cend(), FullTextQuery::IsIndexed) || !Open())
        return {};
    QElapsedTimer clock;
    clock.start();
    QList<qint32> ids;
    const IndexSearch::Result result = IndexSearch::Run(
        index_.get(), query.terms, limit, [&clock] { return clock.elapsed() > kBudget.count(); },
        [&ids](const IndexSearch::Hit& hit) { ids << hit.entry; });
    if (result.outcome == IndexSearch::Outcome::Failed && IndexSearch::IsDamage(result.errorCode)) {
        // The full-text window builds it anew; until then it is not asked again.
        damaged_ = QFileInfo(IndexFiles::PathFor(cacheDir_, key_)).lastModified();
        index_.reset();
    }
    return ids;
}
