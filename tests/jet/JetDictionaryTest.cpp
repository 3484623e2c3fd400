#include "JetTestFiles.h"

#include "base/AppInfo.h"
#include "data/DbAccess.h"
#include "data/DictionaryFile.h"
#include "data/DictionarySummary.h"
#include "data/JetImport.h"
#include "data/OpenProgress.h"
#include "data/Recordset.h"
#include "data/Schema.h"
#include "data/Strings.h"
#include "support/DataFixtures.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// A dictionary kept as a Jet file opens through the same OpenDictionary as our own format and
// answers every query the same way.
namespace {

constexpr DbAccess::OpenFailure kInvalid = DbAccess::OpenFailure::NotADictionary;
constexpr DbAccess::OpenFailure kNoRecords = DbAccess::OpenFailure::NoCategories;

// The names of the dictionary's indexes, as our format creates them.
QStringList DictionaryIndexNames() {
    QStringList names;
    const QRegularExpression create(QStringLiteral("CREATE INDEX (\\w+) ON (\\w+)"));
    for (const QRegularExpressionMatch& m :
         create.globalMatch(QString::fromUtf8(Schema::kCreateIndexes)))
        names << m.captured(1);
    names.sort();
    return names;
}

QStringList IndexNames(sqlite3* db) {
    QStringList names;
    for (const QVariant& v : QueryColumn(db, QStringLiteral("SELECT name FROM sqlite_master WHERE "
                                                            "type = 'index' ORDER BY name")))
        names << v.toString();
    return names;
}

class JetDictionaryTest : public ::testing::Test {
protected:
    void TearDown() override { TestDb().Close(); }

    QString Write(JetDictionary dictionary, const QString& name = QStringLiteral("ABBR.MDB")) {
        const QString path = dir_.filePath(name);
        EXPECT_TRUE(dictionary.Writer().WriteTo(path));
        return path;
    }

    // Opens the file and expects the failure reported, or none.
    qint16 Open(const QString& path, DbAccess::OpenFailure failure = DbAccess::OpenFailure::None,
                RecordingList* categories = nullptr) {
        MessageRecorder recorder;
        const qint16 count = OpenForTest(path, categories);
        EXPECT_EQ(TestDb().Failure(), failure);
        EXPECT_TRUE(recorder.boxes.isEmpty()) << qPrintable(recorder.boxes.value(0).text);
        return count;
    }

    QTemporaryDir dir_;
};

TEST_F(JetDictionaryTest, ListsCategoriesByNameInTheDictionaryCollation) {
    RecordingList categories;
    categories.AddItem(QStringLiteral("全て"), 0);
    ASSERT_EQ(Open(Write(JetDictionary::Standard()), DbAccess::OpenFailure::None, &categories), 3);
    ASSERT_EQ(categories.Count(), 4);
    EXPECT_EQ(categories.Texts(),
              (QStringList{QStringLiteral("全て"), QStringLiteral("ネットワーク"),
                           QStringLiteral("ハードウェア"), QStringLiteral("一般")}));
    EXPECT_EQ(categories.items[1].data, 2);
    EXPECT_EQ(categories.items[3].data, 3);
    EXPECT_TRUE(TestDb().HasUrlField());
    EXPECT_EQ(TestDb().CategoryShortNames(),
              (QStringList{QString(), QStringLiteral("HW"), QStringLiteral("NW"), QString()}));
}

// The same searches, entries and related words from both formats, through the program's own
// queries.
TEST_F(JetDictionaryTest, AnswersLikeTheSameDictionaryInOurFormat) {
    struct Answers {
        QList<QStringList> searches;
        QStringList entries;
        QStringList copies;
        QStringList links;
    };
    auto collect = [] {
        Answers a;
        const QList<std::tuple<QString, QString, qint16>> searches{
            {QStringLiteral("cpu"), QString(), 0},
            {QStringLiteral("c*"), QString(), 0},
            {QStringLiteral("?PU"), QString(), 0},
            {QString(), QStringLiteral("*memory*"), 0},
            {QString(), QStringLiteral("o'clock"), 0},
            {QStringLiteral("*"), QString(), 1},
            {QString(), QString(), 2},
            {QStringLiteral("tcp/ip"), QString(), 0},
            {QStringLiteral("CD*"), QStringLiteral("compact*"), 1}};
        for (const auto& [key, letter, category] : searches) {
            RecordingList list;
            TestDb().SearchEntries(key, letter, category, list);
            QStringList rows;
            for (const RecordingList::Item& item : list.items)
                rows << item.text + QLatin1Char('#') + QString::number(item.data);
            a.searches << rows;
        }
        for (qint32 id = 0; id <= 8; ++id) {
            QString abbr, url;
            a.entries << ShownEntryText(id, abbr, url) + QLatin1Char('|') + abbr +
                             QLatin1Char('|') + url;
            a.copies << TestDb().GetEntryCopyText(id);
            RecordingList links;
            TestDb().LoadLinkList(id, links);
            a.links << links.Texts().join(QLatin1Char(','));
        }
        return a;
    };

    auto ours = TestDictionary::Standard();
    ASSERT_EQ(OpenForTest(ours->Path()), 3);
    const Answers expected = collect();
    TestDb().Close();

    ASSERT_EQ(Open(Write(JetDictionary::Standard())), 3);
    const Answers actual = collect();
    EXPECT_EQ(actual.searches, expected.searches);
    EXPECT_EQ(actual.entries, expected.entries);
    EXPECT_EQ(actual.copies, expected.copies);
    EXPECT_EQ(actual.links, expected.links);
    // Not a vacuous comparison: the searches found something.
    EXPECT_EQ(expected.searches[0], QStringList{QStringLiteral("CPU\tCentral Processing Unit#1")});
    EXPECT_EQ(expected.searches[1].size(), 2);
}

TEST_F(JetDictionaryTest, TablesAndColumnsComeFromTheJetCatalogueInItsOrder) {
    JetDictionary d = JetDictionary::Standard();
    using T = JetTestWriter::Type;
    d.Writer().AddTable(QStringLiteral("略語メモ"), {{QStringLiteral("Memo"), T::Memo}});
    d.Writer().AddCatalogueObject(QStringLiteral("qryAll"), 5); // a query is not a table
    ASSERT_EQ(Open(Write(d)), 3);
    sqlite3* db = TestDb().Db();
    // Not alphabetical, and without the catalogue's own system table.
    EXPECT_EQ(DictionaryFile::TableNames(db),
              (QStringList{QStringLiteral("CategoryTB"), QStringLiteral("AbbrTB"),
                           QStringLiteral("LinkTB"), QStringLiteral("略語メモ")}));
    EXPECT_EQ(DictionaryFile::ColumnNames(db, QStringLiteral("AbbrTB")),
              (QStringList{QStringLiteral("AbbrID"), QStringLiteral("AbbrKey"),
                           QStringLiteral("Abbr"), QStringLiteral("Letter"),
                           QStringLiteral("CategoryID"), QStringLiteral("HyperText"),
                           QStringLiteral("Description"), QStringLiteral("URL")}));
    EXPECT_EQ(DictionaryFile::ColumnNames(db, QStringLiteral("略語メモ")),
              QStringList{QStringLiteral("Memo")});
    // Names compare exactly; the table the program does not read is not copied.
    EXPECT_TRUE(DictionaryFile::ColumnNames(db, QStringLiteral("abbrtb")).isEmpty());
    EXPECT_FALSE(QueryValue(db, QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name = "
                                               "'略語メモ'"))
                     .toBool());
}

TEST_F(JetDictionaryTest, WebAddressColumnCountsOnlyUnderItsExactName) {
    JetDictionary without{QString()};
    without.AddCategory(1, QStringLiteral("一般"), QString(""));
    ASSERT_EQ(Open(Write(without, QStringLiteral("a.mdb"))), 1);
    EXPECT_FALSE(TestDb().HasUrlField());
    TestDb().Close();

    JetDictionary lower(QStringLiteral("url"));
    lower.AddCategory(1, QStringLiteral("一般"), QString(""));
    lower.AddEntry({1, QStringLiteral("CPU"), QStringLiteral("CPU"), QVariant(), 1,
                    QStringLiteral("x"), QVariant(), QStringLiteral("https://x.example/")});
    ASSERT_EQ(Open(Write(lower, QStringLiteral("b.mdb"))), 1);
    EXPECT_FALSE(TestDb().HasUrlField());
    QString abbr, url;
    ShownEntryText(1, abbr, url);
    EXPECT_TRUE(url.isEmpty());
    EXPECT_EQ(TestDb().GetEntryCopyText(1), QStringLiteral("CPU\r\n\r\n\r\n"));
}

TEST_F(JetDictionaryTest, MemosAreReadWholeWhereverJetKeepsThem) {
    JetDictionary d;
    d.AddCategory(1, QStringLiteral("一般"), QStringLiteral("G"));
    // Stored in the row, in one long-value page, and across a chain of pages: the last is
    // longer than libmdb's own bound-value buffer.
    QString longest;
    for (int i = 0; longest.size() < 30000; ++i)
        longest += QStringLiteral("第%1節 \\B強調\\b と参照 \\L12\\l。").arg(i);
    const QStringList texts{QStringLiteral("short"), QString(1500, QLatin1Char('m')), longest};
    for (qint32 id = 1; id <= 3; ++id)
        d.AddEntry({id, QStringLiteral("K%1").arg(id), QStringLiteral("K%1").arg(id), QVariant(), 1,
                    texts[id - 1], texts[3 - id], QVariant()});
    ASSERT_EQ(Open(Write(d)), 1);
    for (qint32 id = 1; id <= 3; ++id) {
        std::optional<Recordset> rs = Recordset::Open(
            TestDb().Db(), QStringLiteral("SELECT * FROM AbbrTB WHERE [AbbrID] = %1").arg(id));
        ASSERT_TRUE(rs && !rs->Eof());
        EXPECT_EQ(rs->Text("HyperText"), texts[id - 1]) << id;
        EXPECT_EQ(rs->Text("Description"), texts[3 - id]) << id;
    }
    // The display text is cut by the program, not by the reading; without a spelled-out form
    // the abbreviation heads it.
    QString abbr, url;
    const QString shown = ShownEntryText(3, abbr, url);
    EXPECT_EQ(shown, QStringLiteral("\\HK3 [G]\\h") +
                         Strings::CutToCodePageBytes(longest, DbAccess::kDescriptionBytes));
    EXPECT_TRUE(TestDb().GetEntryCopyText(1).contains(longest));
}

TEST_F(JetDictionaryTest, TextKeepsEveryCharacterInPlainAndCompressedForm) {
    const QStringList samples{
        QStringLiteral("中央処理装置"),                     // UTF-16 only
        QStringLiteral("CPU 中央 unit"),                    // compressed, switching in and out
        QStringLiteral("Ünïcödé à la carte"),               // compressed Latin-1 range
        QStringLiteral("ｱｲｳｴｵ ﾝ"),                          // half-width katakana
        QStringLiteral("𠮷野家 🍣"),                         // outside the basic plane
        QStringLiteral("\\Hback\\h \\B~\\b ¥ ～ ①"),        // markup and look-alikes
        QStringLiteral("第一章 chapter one, 一般 general"), // 一 is U+4E00
    };
    const qsizetype n = samples.size();
    for (bool compress : {true, false}) {
        JetDictionary d;
        d.Writer().SetCompressText(compress);
        d.AddCategory(1, samples[0], samples[1]);
        for (qsizetype i = 0; i < samples.size(); ++i)
            d.AddEntry({qint32(i + 1), QStringLiteral("K"), samples[i], samples[(i + 1) % n], 1,
                        samples[(i + 2) % n], samples[(i + 3) % n], samples[(i + 4) % n]});
        ASSERT_EQ(Open(Write(d, QStringLiteral("%1.mdb").arg(compress))), 1);
        sqlite3* db = TestDb().Db();
        for (qsizetype i = 0; i < samples.size(); ++i) {
            const QString where = QStringLiteral(" FROM AbbrTB WHERE AbbrID = %1").arg(i + 1);
            EXPECT_EQ(QueryValue(db, QStringLiteral("SELECT Abbr") + where).toString(), samples[i]);
            EXPECT_EQ(QueryValue(db, QStringLiteral("SELECT Letter") + where).toString(),
                      samples[(i + 1) % n]);
            EXPECT_EQ(QueryValue(db, QStringLiteral("SELECT HyperText") + where).toString(),
                      samples[(i + 2) % n]);
            EXPECT_EQ(QueryValue(db, QStringLiteral("SELECT URL") + where).toString(),
                      samples[(i + 4) % n]);
        }
        EXPECT_EQ(TestDb().CategoryShortNames().value(1), samples[1]);
        TestDb().Close();
    }
}

TEST_F(JetDictionaryTest, NullStaysNullAndEmptyTextStaysEmpty) {
    JetDictionary d;
    d.AddCategory(1, QStringLiteral("一般"), QString(""));
    d.AddCategory(2, QStringLiteral("他"), QVariant());
    d.AddEntry({1, QStringLiteral("A"), QStringLiteral("A"), QVariant(), 1, QString(""), QVariant(),
                QString("")});
    ASSERT_EQ(Open(Write(d)), 2);
    sqlite3* db = TestDb().Db();
    EXPECT_EQ(QueryValue(db, QStringLiteral("SELECT typeof(ShortName) FROM CategoryTB WHERE "
                                            "CategoryID = 1")),
              QVariant(QStringLiteral("text")));
    EXPECT_EQ(QueryValue(db, QStringLiteral("SELECT typeof(ShortName) FROM CategoryTB WHERE "
                                            "CategoryID = 2")),
              QVariant(QStringLiteral("null")));
    EXPECT_EQ(QueryColumn(db, QStringLiteral("SELECT typeof(Letter) || typeof(HyperText) || "
                                             "typeof(Description) || typeof(URL) FROM AbbrTB")),
              QList<QVariant>{QStringLiteral("nulltextnulltext")});
    std::optional<Recordset> rs =
        Recordset::Open(db, QStringLiteral("SELECT * FROM AbbrTB WHERE [AbbrID] = 1"));
    ASSERT_TRUE(rs && !rs->Eof());
    EXPECT_TRUE(rs->IsNull("Letter"));
    EXPECT_FALSE(rs->IsNull("URL"));
}

TEST_F(JetDictionaryTest, CopyKeepsTheKeyAndTheDictionaryIndexes) {
    ASSERT_EQ(Open(Write(JetDictionary::Standard())), 3);
    sqlite3* db = TestDb().Db();
    const QString abbrTable =
        QueryValue(db, QStringLiteral("SELECT sql FROM sqlite_master WHERE name = 'AbbrTB'"))
            .toString();
    EXPECT_TRUE(abbrTable.contains(QStringLiteral("\"AbbrID\" INTEGER PRIMARY KEY")))
        << qPrintable(abbrTable);
    EXPECT_TRUE(abbrTable.contains(QStringLiteral("\"Letter\" TEXT COLLATE JAPANESE_CI")));
    // LinkTB has no key in the file, so none is made up.
    EXPECT_FALSE(QueryValue(db, QStringLiteral("SELECT sql FROM sqlite_master WHERE name = "
                                               "'LinkTB'"))
                     .toString()
                     .contains(QStringLiteral("PRIMARY KEY")));
    const QStringList expected = DictionaryIndexNames();
    ASSERT_GE(expected.size(), 4);
    EXPECT_EQ(IndexNames(db), expected);
    // The copy is read-only like the file.
    EXPECT_NE(sqlite3_exec(db, "DELETE FROM LinkTB", nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_EQ(QueryValue(db, QStringLiteral("SELECT count(*) FROM LinkTB")).toInt(), 2);
}

TEST_F(JetDictionaryTest, IndexesAreLeftOutWhereTheirColumnsAreMissing) {
    JetTestWriter w;
    using T = JetTestWriter::Type;
    // An older layout: AbbrTB without Letter, and no LinkTB at all.
    w.AddTable(QStringLiteral("CategoryTB"), {{QStringLiteral("CategoryID"), T::Long},
                                              {QStringLiteral("Category"), T::Text, 50},
                                              {QStringLiteral("ShortName"), T::Text, 10}});
    w.AddTable(QStringLiteral("AbbrTB"), {{QStringLiteral("AbbrID"), T::Long},
                                          {QStringLiteral("AbbrKey"), T::Text, 50},
                                          {QStringLiteral("Abbr"), T::Text, 50}});
    w.AddRow(QStringLiteral("CategoryTB"), {1, QStringLiteral("一般"), QString("")});
    w.AddRow(QStringLiteral("AbbrTB"), {1, QStringLiteral("CPU"), QStringLiteral("CPU")});
    const QString path = dir_.filePath(QStringLiteral("old.mdb"));
    ASSERT_TRUE(w.WriteTo(path));
    ASSERT_EQ(Open(path), 1);
    // Every index the copy has is one of ours; the category index, whose column is there,
    // is among them, and none is on the missing table.
    const QStringList indexes = IndexNames(TestDb().Db());
    EXPECT_TRUE(indexes.contains(QStringLiteral("CategoryTB_Category")));
    for (const QString& index : indexes) {
        EXPECT_TRUE(DictionaryIndexNames().contains(index)) << qPrintable(index);
        EXPECT_FALSE(index.startsWith(QStringLiteral("LinkTB"))) << qPrintable(index);
    }
    RecordingList list;
    EXPECT_EQ(TestDb().SearchEntries(QStringLiteral("cpu"), QString(), 0, list), 0)
        << "listing by [Letter] fails without the column, as it does on Jet itself";
    RecordingList links;
    EXPECT_EQ(TestDb().LoadLinkList(1, links), 0);
}

TEST_F(JetDictionaryTest, AceFileOpensLikeJet4) {
    JetDictionary d(QStringLiteral("URL"), JetTestWriter::Version::Ace);
    d.AddCategory(5, QStringLiteral("一般"), QStringLiteral("G"));
    const QString path = Write(d, QStringLiteral("ABBR.accdb"));
    EXPECT_EQ(DictionaryFile::Detect(path), DictionaryFile::Format::Jet);
    ASSERT_EQ(Open(path), 1);
    EXPECT_EQ(TestDb().CategoryShortNames().size(), 6);
    EXPECT_EQ(TestDb().CategoryShortNames()[5], QStringLiteral("G"));
}

TEST_F(JetDictionaryTest, EmptyCategoryTable) {
    JetDictionary d;
    EXPECT_EQ(Open(Write(d), kNoRecords), 0);
}

TEST_F(JetDictionaryTest, JetFileWithoutOurTablesIsInvalid) {
    const QString nwind = JetTestDataPath(QStringLiteral("nwind.mdb"));
    SKIP_WITHOUT_JET_TESTDATA(nwind);
    EXPECT_EQ(Open(nwind, kInvalid), 0);
    // The connection stays open, as after success, and lists the file's own tables.
    ASSERT_NE(TestDb().Db(), nullptr);
    EXPECT_EQ(DictionaryFile::TableNames(TestDb().Db()).size(), 9);
    EXPECT_FALSE(TestDb().HasUrlField());
}

TEST_F(JetDictionaryTest, ClosingForgetsTheCatalogue) {
    ASSERT_EQ(Open(Write(JetDictionary::Standard())), 3);
    sqlite3* jet = TestDb().Db();
    ASSERT_NE(JetImport::CatalogueOf(jet), nullptr);
    TestDb().Close();
    EXPECT_EQ(JetImport::CatalogueOf(jet), nullptr);
    // A dictionary in our format opened afterwards answers from its own catalogue.
    auto ours = TestDictionary::Standard();
    ours->Execute("CREATE TABLE Extra (x)");
    ASSERT_EQ(OpenForTest(ours->Path()), 3);
    EXPECT_TRUE(DictionaryFile::TableNames(TestDb().Db()).contains(QStringLiteral("Extra")));
}

TEST_F(JetDictionaryTest, FileIsNeverWritten) {
    const QString path = Write(JetDictionary::Standard());
    const QByteArray before = FileDigest(path);
    ASSERT_EQ(Open(path), 3);
    TestDb().Close();
    EXPECT_EQ(FileDigest(path), before);
}

// The window layer's indicator is made for a Jet file, told the progress, and dropped once the
// dictionary is open; a file in our own format needs none.
TEST_F(JetDictionaryTest, OpeningReportsItsProgressToTheIndicator) {
    struct Indicator : OpenProgress {
        std::vector<double>* updates;
        bool* alive;
        Indicator(std::vector<double>* u, bool* a) : updates(u), alive(a) { *alive = true; }
        ~Indicator() override { *alive = false; }
        void Update(double fraction) override { updates->push_back(fraction); }
    };
    std::vector<double> updates;
    bool alive = false;
    QStringList paths;
    SetOpenProgressFactory([&](const QString& path) {
        paths << path;
        return std::make_unique<Indicator>(&updates, &alive);
    });
    const QString path = Write(JetDictionary::Standard());
    EXPECT_EQ(Open(path), 3);
    EXPECT_EQ(paths, QStringList{path});
    EXPECT_FALSE(updates.empty());
    EXPECT_FALSE(alive) << "the indicator outlived the opening";

    auto ours = TestDictionary::Standard();
    ASSERT_EQ(OpenForTest(ours->Path()), 3);
    EXPECT_EQ(paths.size(), 1);
    SetOpenProgressFactory({});
}

// The version line counts a Jet dictionary's entries through the same isolated import, leaves
// the file as it was, and the open program names the file, not its copy in memory.
TEST_F(JetDictionaryTest, SummaryCountsTheEntriesOfTheJetFile) {
    const QString path = Write(JetDictionary::Standard());
    const QByteArray digest = FileDigest(path);
    const DictionarySummary::Summary read = DictionarySummary::Read(path);
    EXPECT_EQ(read.file, QFileInfo(path).canonicalFilePath());
    EXPECT_EQ(read.entries, 7);
    EXPECT_EQ(FileDigest(path), digest);

    ASSERT_EQ(Open(path), 3);
    const DictionarySummary::Summary open = DictionarySummary::Of(TestDb());
    EXPECT_EQ(open.file, read.file);
    EXPECT_EQ(open.entries, 7);
}

} // namespace
