// The full-text search in its worker thread: opening or building the index with progress,
// searches that report results in batches, and cancelling searches and builds.
#include "FullTextFixture.h"

#include "JetTestFiles.h"
#include "data/DbAccess.h"
#include "fulltext/FullTextService.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <cstdio>

using namespace Qt::Literals::StringLiterals;

namespace {

// Everything a service reports, received as the window receives it: queued to this thread.
struct Reports {
    explicit Reports(FullTextService& service) {
        QObject::connect(&service, &FullTextService::BuildProgress, &context,
                         [this](int percent) { progress << percent; });
        QObject::connect(&service, &FullTextService::Ready, &context,
                         [this](bool builtNow, bool inMemory) {
                             ready << std::pair{builtNow, inMemory};
                         });
        QObject::connect(&service, &FullTextService::Unavailable, &context,
                         [this](const QString& message) { unavailable << message; });
        QObject::connect(&service, &FullTextService::HitsFound, &context,
                         [this](quint64 search, const QList<FullTextHit>& batch) {
                             for (const FullTextHit& hit : batch)
                                 hits[search] << hit;
                         });
        QObject::connect(&service, &FullTextService::SearchFinished, &context,
                         [this](quint64 search, int count, qint64 us) {
                             finished << Finish{search, count, us};
                         });
        QObject::connect(&service, &FullTextService::SearchRejected, &context,
                         [this](quint64 search, const QString& message) {
                             rejected << std::pair{search, message};
                         });
    }

    static bool WaitFor(const std::function<bool()>& condition) {
        return QTest::qWaitFor(condition, 60000);
    }
    QList<qint32> Ids(quint64 search) const {
        QList<qint32> ids;
        for (const FullTextHit& hit : hits.value(search))
            ids << hit.id;
        return ids;
    }

    struct Finish {
        quint64 search;
        int count;
        qint64 us;
    };
    QObject context;
    QList<int> progress;
    QList<std::pair<bool, bool>> ready;
    QStringList unavailable;
    QHash<quint64, QList<FullTextHit>> hits;
    QList<Finish> finished;
    QList<std::pair<quint64, QString>> rejected;
};

class ServiceTest : public FullTextFixture {
protected:
    // A dictionary large enough that a scan and a build take a noticeable while.
    void MakeLarge(int entries) {
        for (int i = 0; i < entries; ++i)
            Add(QStringLiteral("L%1").arg(i, 6, 10, QLatin1Char('0')), u"Large Entry"_s,
                u"大きな辞書の項目の解説で、あまり意味のない文をいくつも並べて長くしてあります。"
                u"番号は%1です。"_s.arg(i));
        Add(u"ZZZ"_s, u"Last"_s, u"最後にだけある珍語"_s);
    }

    std::unique_ptr<FullTextService> Service(const QString& cacheDir) {
        return std::make_unique<FullTextService>(WorkerDictionary::Of(dictionary_.Path(), nullptr),
                                                 cacheDir);
    }
};

TEST_F(ServiceTest, BuildsOnceThenOpensTheCachedIndex) {
    MakeLarge(2000);
    dictionary_.Finish();
    for (const bool builtNow : {true, false}) {
        auto service = Service(cache_.path());
        Reports reports(*service);
        service->Start();
        ASSERT_TRUE(Reports::WaitFor([&] { return !reports.ready.isEmpty(); }));
        EXPECT_EQ(reports.ready.first(), std::pair(builtNow, false)); // on disk
        EXPECT_EQ(!reports.progress.isEmpty(), builtNow);
        if (builtNow) {
            EXPECT_EQ(reports.progress.last(), 100);
        }
    }
    EXPECT_EQ(QDir(cache_.path()).entryList(QDir::Files).size(), 1);
}

TEST_F(ServiceTest, SearchReportsHitsWithExcerptsThenTheCountAndTime) {
    const qint32 cpu = Add(u"CPU"_s, u"Central Processing Unit"_s,
                           u"\\Bコンピュータ\\bの\\J2 中央処理装置\\jです。"_s);
    const qint32 mpu =
        Add(u"MPU"_s, u"Micro Processing Unit"_s, u"一つのチップにした中央処理装置。"_s);
    Add(u"RAM"_s, u"Random Access Memory"_s, u"主記憶。"_s);
    dictionary_.Finish();
    auto service = Service(cache_.path());
    Reports reports(*service);
    service->Start();
    const quint64 search = service->Search(u"処理装置"_s); // waits for the index
    ASSERT_TRUE(Reports::WaitFor([&] { return !reports.finished.isEmpty(); }));
    EXPECT_EQ(reports.ready.size(), 1);
    ASSERT_EQ(reports.finished.size(), 1);
    EXPECT_EQ(reports.finished.first().search, search);
    EXPECT_EQ(reports.finished.first().count, 2);
    EXPECT_GT(reports.finished.first().us, 0);
    EXPECT_EQ(reports.Ids(search), (QList<qint32>{cpu, mpu}));

    const FullTextHit first = reports.hits.value(search).first();
    EXPECT_EQ(first.abbr, u"CPU"_s);
    EXPECT_EQ(first.letter, u"Central Processing Unit"_s);
    EXPECT_EQ(first.excerpt.text, u"コンピュータの中央処理装置です。"_s);
    EXPECT_EQ(first.excerpt.text.mid(first.excerpt.matchStart, first.excerpt.matchLength),
              u"処理装置"_s);
}

TEST_F(ServiceTest, BadQueriesAreRejectedAndNothingIsSearched) {
    MakeLarge(10);
    dictionary_.Finish();
    auto service = Service(cache_.path());
    Reports reports(*service);
    service->Start();
    const QString queries[] = {QString(10000, u'x'), u"a"_s + QChar(u'\0'), QString(QChar(0xD800))};
    for (const QString& query : queries) {
        const quint64 search = service->Search(query);
        ASSERT_TRUE(Reports::WaitFor([&] {
            return !reports.rejected.isEmpty() && reports.rejected.last().first == search;
        }));
        EXPECT_FALSE(reports.rejected.last().second.isEmpty());
    }
    EXPECT_EQ(reports.rejected.size(), 3);
    EXPECT_TRUE(reports.finished.isEmpty());
}

TEST_F(ServiceTest, ANewSearchCancelsTheRunningOne) {
    MakeLarge(40000);
    dictionary_.Finish();
    auto service = Service(cache_.path());
    Reports reports(*service);
    service->Start();
    ASSERT_TRUE(Reports::WaitFor([&] { return !reports.ready.isEmpty(); }));

    // A rare short term scans every entry; the next search takes over.
    const quint64 scan = service->Search(u"珍"_s);
    const quint64 next = service->Search(u"番号は1234で"_s);
    ASSERT_TRUE(Reports::WaitFor([&] { return !reports.finished.isEmpty(); }));
    QTest::qWait(50);
    ASSERT_EQ(reports.finished.size(), 1);
    EXPECT_EQ(reports.finished.first().search, next);
    EXPECT_EQ(reports.finished.first().count, 1);
    EXPECT_TRUE(reports.Ids(scan).isEmpty());

    // Cancelled by itself: no finish is reported for it.
    reports.finished.clear();
    const quint64 cancelled = service->Search(u"珍"_s);
    service->CancelSearch();
    const quint64 last = service->Search(u"珍語"_s);
    ASSERT_TRUE(Reports::WaitFor([&] { return !reports.finished.isEmpty(); }));
    QTest::qWait(50);
    ASSERT_EQ(reports.finished.size(), 1);
    EXPECT_EQ(reports.finished.first().search, last);
    EXPECT_TRUE(reports.Ids(cancelled).isEmpty());
}

TEST_F(ServiceTest, ScanningStopsWhenCancelledBetweenRows) {
    MakeLarge(5000);
    Build();
    int seen = 0;
    std::atomic<bool> stop{false};
    const IndexSearch::Result result = IndexSearch::Run(
        index_.get(), {u"大"_s}, 500, [&] { return stop.load(); },
        [&](const IndexSearch::Hit&) {
            if (++seen == 10)
                stop = true;
        });
    EXPECT_EQ(result.outcome, IndexSearch::Outcome::Cancelled);
    EXPECT_EQ(seen, 10);
}

TEST_F(ServiceTest, ClosingDuringABuildCancelsItAndLeavesNoFile) {
    MakeLarge(40000);
    dictionary_.Finish();
    auto service = Service(cache_.path());
    Reports reports(*service);
    service->Start();
    ASSERT_TRUE(Reports::WaitFor(
        [&] { return !reports.progress.isEmpty() && reports.progress.last() >= 5; }));
    service.reset(); // waits for the worker
    QCoreApplication::processEvents();
    EXPECT_TRUE(reports.ready.isEmpty());
    EXPECT_LT(reports.progress.last(), 100);
    EXPECT_TRUE(QDir(cache_.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST_F(ServiceTest, AnIndexFoundDamagedWhileSearchingIsBuiltAgain) {
    MakeLarge(3000);
    dictionary_.Finish();
    auto service = Service(cache_.path());
    Reports reports(*service);
    service->Start();
    ASSERT_TRUE(Reports::WaitFor([&] { return !reports.ready.isEmpty(); }));

    // Everything after the first page turns to garbage, and the change counter moves, so that
    // the service's connection cannot go on trusting what it read before.
    const QString path = IndexFiles::PathFor(cache_.path(), IndexKeys::Of(dictionary_.Path()));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    const qint64 size = file.size();
    ASSERT_GT(size, 4 * 4096);
    ASSERT_TRUE(file.seek(4096));
    ASSERT_GT(file.write(QByteArray(size - 4096, '\x5A')), 0);
    ASSERT_TRUE(file.seek(24));
    ASSERT_EQ(file.write(QByteArray("\x7F\x7F\x7F\x7F", 4)), 4);
    file.close();

    const quint64 search = service->Search(u"番号は1234で"_s);
    ASSERT_TRUE(Reports::WaitFor([&] { return !reports.finished.isEmpty(); }));
    EXPECT_EQ(reports.finished.first().search, search);
    EXPECT_EQ(reports.finished.first().count, 1);
    EXPECT_EQ(reports.Ids(search).size(), 1);
    EXPECT_EQ(reports.ready.size(), 2); // opened, then built again
    EXPECT_TRUE(IndexFiles::OpenValid(path, IndexKeys::Of(dictionary_.Path())));
}

TEST_F(ServiceTest, UnwritableCacheBuildsInMemoryAndSaysSo) {
    MakeLarge(10);
    dictionary_.Finish();
    const QString blocker = cache_.filePath(u"file"_s);
    QFile file(blocker);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    auto service = Service(blocker + u"/below"_s);
    Reports reports(*service);
    service->Start();
    service->Search(u"ZZZ"_s);
    ASSERT_TRUE(Reports::WaitFor([&] { return !reports.finished.isEmpty(); }));
    ASSERT_EQ(reports.ready.size(), 1);
    EXPECT_EQ(reports.ready.first(), std::pair(true, true));
    EXPECT_EQ(reports.finished.first().count, 1);
}

// The index is made from the file the program has open, and keyed to it: another file renamed
// into its place is noticed, not indexed in its stead.
TEST_F(ServiceTest, TheIndexIsMadeFromTheOpenFileWhenAnotherTakesItsPlace) {
    const qint32 old = Add(u"OLD"_s, u"Old"_s, u"古い辞書だけにある珍語。"_s);
    dictionary_.Finish();
    const QString path = dictionary_.Path();
    ASSERT_GT(OpenForTest(path), 0);
    TestDictionary replacement;
    replacement.AddCategory(1, u"一般"_s, u"GEN"_s);
    replacement.AddEntry(u"NEW"_s, u"New"_s, 1, u"新しい辞書だけにある珍語。"_s);
    replacement.Finish();
    // Described before the replacement: its worker finds the path naming another file.
    const WorkerDictionary before =
        WorkerDictionary::Of(path, TestDb().Db(), TestDb().OpenedFile());
    EXPECT_FALSE(before.replaced);
    ASSERT_EQ(std::rename(QFile::encodeName(replacement.Path()).constData(),
                          QFile::encodeName(path).constData()),
              0);
    {
        FullTextService service(before, cache_.path());
        Reports reports(service);
        service.Start();
        ASSERT_TRUE(Reports::WaitFor([&] { return !reports.unavailable.isEmpty(); }));
        EXPECT_TRUE(reports.unavailable.first().contains(u"置き換え"_s));
        EXPECT_TRUE(reports.ready.isEmpty());
    }

    const WorkerDictionary after = WorkerDictionary::Of(path, TestDb().Db(), TestDb().OpenedFile());
    EXPECT_TRUE(after.replaced);
    FullTextService service(after, cache_.path());
    Reports reports(service);
    service.Start();
    const quint64 search = service.Search(u"珍語"_s);
    ASSERT_TRUE(Reports::WaitFor([&] { return !reports.finished.isEmpty(); }));
    EXPECT_EQ(reports.Ids(search), QList<qint32>{old});
    ASSERT_EQ(reports.hits.value(search).size(), 1);
    EXPECT_EQ(reports.hits.value(search).first().abbr, u"OLD"_s);
    // What was built belongs to the open file: the new one is not taken for indexed.
    const IndexKey newKey = IndexKeys::Of(path);
    EXPECT_FALSE(IndexFiles::OpenValid(IndexFiles::PathFor(cache_.path(), newKey), newKey));
    TestDb().Close();
}

TEST_F(ServiceTest, AJetDictionaryReadIntoMemoryIsIndexedTheSameWay) {
    const QTemporaryDir dir;
    const QString path = dir.filePath(u"ABBR.MDB"_s);
    JetDictionary jet;
    jet.AddCategory(1, u"一般"_s, u"GEN"_s);
    jet.AddEntry({1, u"CPU"_s, u"CPU"_s, u"Central Processing Unit"_s, 1,
                  u"\\Bコンピュータ\\bの中央処理装置。"_s, u"中央処理装置"_s, QVariant()});
    jet.AddEntry({2, u"RAM"_s, u"RAM"_s, u"Random Access Memory"_s, 1, u"主記憶。"_s, QVariant(),
                  QVariant()});
    ASSERT_TRUE(jet.Writer().WriteTo(path));
    ASSERT_GT(OpenForTest(path), 0);

    const WorkerDictionary source = WorkerDictionary::Of(path, TestDb().Db());
    EXPECT_FALSE(source.image.isEmpty()); // the copy in memory, not the Jet file
    FullTextService service(source, cache_.path());
    Reports reports(service);
    service.Start();
    const quint64 search = service.Search(u"ｺﾝﾋﾟｭｰﾀ 処理"_s);
    ASSERT_TRUE(Reports::WaitFor([&] { return !reports.finished.isEmpty(); }));
    TestDb().Close();
    EXPECT_EQ(reports.Ids(search), QList<qint32>{1});
    // Its index is kept by the Jet file's key like any other.
    EXPECT_TRUE(IndexFiles::OpenValid(IndexFiles::PathFor(cache_.path(), IndexKeys::Of(path)),
                                      IndexKeys::Of(path)));
}

} // namespace
