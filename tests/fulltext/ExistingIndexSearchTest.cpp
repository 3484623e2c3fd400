// The full-text index as a search that found nothing asks it: only where one already exists, and
// for Japanese words typed into the abbreviation field.
#include "FullTextFixture.h"

#include "data/Suggestions.h"
#include "fulltext/ExistingIndexSearch.h"

namespace {

class ExistingIndexSearchTest : public FullTextFixture {
protected:
    ExistingIndexSearchTest() {
        cpu_ = Add(QStringLiteral("CPU"), QStringLiteral("Central Processing Unit"),
                   QStringLiteral("日本語では中央処理装置と呼ばれる装置。"));
        mpu_ = Add(QStringLiteral("MPU"), QStringLiteral("Micro Processing Unit"),
                   QStringLiteral("一つのチップに収めた中央処理装置。"));
        Add(QStringLiteral("RAM"), QStringLiteral("Random Access Memory"),
            QStringLiteral("主記憶。"));
    }

    qint32 cpu_ = 0;
    qint32 mpu_ = 0;
};

TEST_F(ExistingIndexSearchTest, AnswersOnlyOnceTheIndexExistsAndNeverBuildsIt) {
    dictionary_.Finish();
    ExistingIndexSearch search(dictionary_.Path(), cache_.path());
    EXPECT_TRUE(search.Find(QStringLiteral("中央処理装置"), 10).isEmpty());
    EXPECT_TRUE(QDir(cache_.path()).isEmpty()) << "asking builds nothing";

    // The full-text window builds the index later in the run; the next question finds it.
    db_ = DictionaryFile::OpenSqlite(dictionary_.Path());
    const IndexKey key = IndexKeys::Of(dictionary_.Path());
    ASSERT_EQ(IndexFiles::Build(cache_.path(), key, db_.get(), {}).outcome,
              IndexFiles::Outcome::Ready);
    EXPECT_EQ(search.Find(QStringLiteral("中央処理装置"), 10), (QList<qint32>{cpu_, mpu_}));
    EXPECT_EQ(search.Find(QStringLiteral("中央処理装置"), 1), QList<qint32>{cpu_});
    // Words too short for the index are not read out of every text.
    EXPECT_TRUE(search.Find(QStringLiteral("装置"), 10).isEmpty());
    EXPECT_TRUE(search.Find(QString(), 10).isEmpty());
}

TEST_F(ExistingIndexSearchTest, LeadsAJapaneseWordToTheEntriesThatExplainIt) {
    Build();
    ASSERT_GT(OpenForTest(dictionary_.Path()), 0);
    ExistingIndexSearch index(dictionary_.Path(), cache_.path());
    Suggestions::Finder finder(TestDb());
    finder.SetTextSearch(
        [&index](const QString& text, int limit) { return index.Find(text, limit); });
    QList<qint32> ids;
    for (const Suggestions::Suggestion& s : finder.For({QStringLiteral("中央処理装置"), {}, 0}))
        ids << s.id;
    EXPECT_EQ(ids, (QList<qint32>{cpu_, mpu_}));
}

} // namespace
