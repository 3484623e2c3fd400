#pragma once

#include "data/DictionaryFile.h"
#include "data/Strings.h"
#include "fulltext/FullTextQuery.h"
#include "fulltext/IndexFiles.h"
#include "fulltext/IndexSearch.h"
#include "support/DataFixtures.h"

#include <QHash>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// A real dictionary in our format, its index built into a temporary cache directory, and the
// searches run on it as the program runs them.
class FullTextFixture : public ::testing::Test {
protected:
    FullTextFixture() { dictionary_.AddCategory(1, QStringLiteral("一般"), QStringLiteral("GEN")); }

    qint32 Add(const QString& abbr, const QString& letter, const QString& hyperText,
               const QString& description = QString(), qint32 id = 0) {
        DictionaryWriter::Entry e;
        e.id = id > 0 ? id : nextId_;
        nextId_ = std::max(nextId_, e.id + 1);
        e.abbr = abbr;
        e.key = Strings::NormalizeKey(abbr);
        e.letter = letter;
        e.letterIsNull = letter.isNull();
        e.categoryId = 1;
        e.hyperText = hyperText;
        e.description = description;
        dictionary_.AddEntry(e);
        abbrById_.insert(e.id, abbr);
        return e.id;
    }

    // Writes the dictionary and builds its index.
    void Build() {
        dictionary_.Finish();
        db_ = DictionaryFile::OpenSqlite(dictionary_.Path());
        ASSERT_TRUE(db_);
        key_ = IndexKeys::Of(dictionary_.Path());
        IndexFiles::BuildResult built = IndexFiles::Build(cache_.path(), key_, db_.get(), {});
        ASSERT_EQ(built.outcome, IndexFiles::Outcome::Ready) << built.error.toStdString();
        index_ = std::move(built.db);
    }

    // The abbreviations of the results, in the order found.
    QStringList Search(const QString& query, int limit = 500,
                       const IndexSearch::Tuning& tuning = {}) {
        const FullTextQuery::Parsed parsed = FullTextQuery::Parse(query);
        EXPECT_TRUE(parsed.error.isEmpty()) << parsed.error.toStdString();
        QStringList found;
        const IndexSearch::Result result = IndexSearch::Run(
            index_.get(), parsed.terms, limit, {},
            [&](const IndexSearch::Hit& h) {
                found << abbrById_.value(h.entry, QStringLiteral("?"));
            },
            tuning);
        EXPECT_EQ(result.outcome, IndexSearch::Outcome::Finished) << result.error.toStdString();
        EXPECT_EQ(result.hits, found.size());
        return found;
    }

    // Short terms alone: read through every text, or looked up in the index's vocabulary at once.
    static IndexSearch::Tuning ReadingOnly() { return {std::chrono::hours(1)}; }
    static IndexSearch::Tuning VocabularyAtOnce() { return {std::chrono::milliseconds(0)}; }

    TestDictionary dictionary_;
    QTemporaryDir cache_;
    SqliteDb db_;
    SqliteDb index_;
    IndexKey key_;
    QHash<qint32, QString> abbrById_;
    qint32 nextId_ = 1;
};
