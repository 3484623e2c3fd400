#include "JetTestFiles.h"

#include "data/JetImport.h"
#include "data/TextCollation.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

// The importer's generic table copying, on real files written by the Jet engine itself: a
// Jet 3 file (text in its code page) and a Jet 4 file (text in UTF-16).
namespace {

const QStringList kNwindTables{
    QStringLiteral("Order Details"), QStringLiteral("Orders"),     QStringLiteral("Products"),
    QStringLiteral("Shippers"),      QStringLiteral("Categories"), QStringLiteral("Customers"),
    QStringLiteral("Employees"),     QStringLiteral("Suppliers"),  QStringLiteral("Umsätze")};

class NwindTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!QFileInfo::exists(Path()))
            return;
        imported_ = std::make_unique<JetImport::ImportedDatabase>(
            JetImport::ImportTables(Path(), kNwindTables));
    }
    static void TearDownTestSuite() { imported_.reset(); }
    void SetUp() override {
        SKIP_WITHOUT_JET_TESTDATA(Path());
        ASSERT_TRUE(imported_ && imported_->db) << "nwind.mdb could not be imported";
    }
    static QString Path() { return JetTestDataPath(QStringLiteral("nwind.mdb")); }
    static sqlite3* Db() { return imported_->db.get(); }
    static QVariant Value(const QString& sql) { return QueryValue(Db(), sql); }

    static inline std::unique_ptr<JetImport::ImportedDatabase> imported_;
};

TEST_F(NwindTest, CatalogueListsTheUserTablesInItsOwnOrder) {
    EXPECT_EQ(imported_->catalogue->tables, kNwindTables);
    EXPECT_EQ(imported_->catalogue->columns.value(QStringLiteral("Categories")),
              (QStringList{QStringLiteral("CategoryID"), QStringLiteral("CategoryName"),
                           QStringLiteral("Description"), QStringLiteral("Picture")}));
    EXPECT_EQ(imported_->catalogue->columns.value(QStringLiteral("Employees")).size(), 17);
}

TEST_F(NwindTest, EveryRowOfEveryTableIsCopied) {
    const QList<std::pair<QString, int>> counts{
        {QStringLiteral("Categories"), 8}, {QStringLiteral("Customers"), 91},
        {QStringLiteral("Employees"), 9},  {QStringLiteral("Order Details"), 2155},
        {QStringLiteral("Orders"), 830},   {QStringLiteral("Products"), 77},
        {QStringLiteral("Shippers"), 3},   {QStringLiteral("Suppliers"), 29},
        {QStringLiteral("Umsätze"), 830}};
    for (const auto& [table, rows] : counts)
        EXPECT_EQ(Value(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(table)).toInt(), rows)
            << qPrintable(table);
}

TEST_F(NwindTest, IntegerTextAndMemoValues) {
    EXPECT_EQ(Value(QStringLiteral("SELECT CategoryName FROM Categories WHERE CategoryID = 1")),
              QVariant(QStringLiteral("Beverages")));
    EXPECT_EQ(Value(QStringLiteral("SELECT Description FROM Categories WHERE CategoryID = 1")),
              QVariant(QStringLiteral("Soft drinks, coffees, teas, beers, and ales")));
    EXPECT_EQ(Value(QStringLiteral("SELECT typeof(CategoryID) FROM Categories LIMIT 1")),
              QVariant(QStringLiteral("integer")));
    EXPECT_EQ(Value(QStringLiteral("SELECT sum(CategoryID) FROM Categories")).toInt(), 36);
    // A 16-bit integer and a currency value of an order line.
    EXPECT_EQ(Value(QStringLiteral("SELECT typeof(Quantity) || typeof(UnitPrice) FROM "
                                   "\"Order Details\" LIMIT 1")),
              QVariant(QStringLiteral("integerreal")));
    // The pictures are OLE objects, read whole as bytes.
    const QByteArray picture =
        Value(QStringLiteral("SELECT Picture FROM Categories WHERE CategoryID = 1")).toByteArray();
    EXPECT_GT(picture.size(), 4096);
    EXPECT_TRUE(picture.startsWith(QByteArrayLiteral("\x15\x1C"))) << "OLE object header";
}

TEST_F(NwindTest, NullIsNullAndTextIsText) {
    EXPECT_EQ(Value(QStringLiteral("SELECT typeof(Region) FROM Customers WHERE CustomerID = "
                                   "'CENTC'")),
              QVariant(QStringLiteral("null")));
    EXPECT_EQ(Value(QStringLiteral("SELECT Region FROM Customers WHERE CustomerID = 'COMMI'")),
              QVariant(QStringLiteral("SP")));
    EXPECT_EQ(Value(QStringLiteral("SELECT count(*) FROM Customers WHERE Region IS NULL")).toInt(),
              60);
}

TEST_F(NwindTest, NonAsciiNamesAndTextOfTheCodePage) {
    EXPECT_TRUE(imported_->catalogue->tables.contains(QStringLiteral("Umsätze")));
    // The dictionary's own "like", with "*" as its wildcard.
    const QString name =
        Value(QStringLiteral("SELECT CompanyName FROM Customers WHERE CompanyName LIKE 'Océ*'"))
            .toString();
    EXPECT_EQ(name, QStringLiteral("Océano Atlántico Ltda."));
    EXPECT_EQ(Value(QStringLiteral("SELECT ShipCity FROM \"Umsätze\" WHERE OrderID = 10249")),
              QVariant(QStringLiteral("Münster")));
}

TEST_F(NwindTest, DatesBecomeIsoText) {
    EXPECT_EQ(Value(QStringLiteral("SELECT OrderDate FROM Orders WHERE OrderID = 10248")),
              QVariant(QStringLiteral("1994-08-04 00:00:00")));
}

TEST_F(NwindTest, TextColumnsSortInTheDictionaryCollation) {
    QStringList names;
    for (const QVariant& v : QueryColumn(
             Db(), QStringLiteral("SELECT ContactName FROM Customers ORDER BY ContactName")))
        names << v.toString();
    ASSERT_EQ(names.size(), 91);
    QStringList sorted = names;
    std::stable_sort(sorted.begin(), sorted.end(), [](const QString& a, const QString& b) {
        return TextCollation::Compare(a, b) < 0;
    });
    EXPECT_EQ(names, sorted);
    EXPECT_EQ(
        Value(QStringLiteral("SELECT count(*) FROM Customers WHERE Country = 'germany'")).toInt(),
        11);
}

TEST(JetImportTest, DateTestDatabaseOfJet4) {
    const QString path = JetTestDataPath(QStringLiteral("DateTestDatabase.mdb"));
    SKIP_WITHOUT_JET_TESTDATA(path);
    const JetImport::ImportedDatabase imported =
        JetImport::ImportTables(path, {QStringLiteral("DateTest")});
    ASSERT_TRUE(imported.db);
    EXPECT_EQ(imported.catalogue->tables, QStringList{QStringLiteral("DateTest")});
    EXPECT_EQ(imported.catalogue->columns.value(QStringLiteral("DateTest")),
              (QStringList{QStringLiteral("IDCol"), QStringLiteral("DateTimeCol"),
                           QStringLiteral("DateCol"), QStringLiteral("TimeCol"),
                           QStringLiteral("LongTextCol"), QStringLiteral("ShortTextCol")}));
    sqlite3* db = imported.db.get();
    EXPECT_EQ(QueryValue(db, QStringLiteral("SELECT count(*) FROM DateTest")).toInt(), 6);
    EXPECT_EQ(QueryValue(db, QStringLiteral("SELECT group_concat(IDCol) FROM DateTest")),
              QVariant(QStringLiteral("1,2,3,4,5,6")));
    EXPECT_EQ(QueryValue(db, QStringLiteral("SELECT LongTextCol FROM DateTest WHERE IDCol = 6")),
              QVariant(QStringLiteral("New line\r\nin field")));
    EXPECT_EQ(QueryValue(db, QStringLiteral("SELECT ShortTextCol FROM DateTest WHERE IDCol = 2")),
              QVariant(QStringLiteral("Year 1999")));
    EXPECT_EQ(QueryValue(db, QStringLiteral("SELECT typeof(LongTextCol) FROM DateTest LIMIT 1")),
              QVariant(QStringLiteral("text")));
    // Dates far from today, including those before the engine's day zero (30 Dec 1899).
    EXPECT_EQ(QueryValue(db, QStringLiteral("SELECT DateTimeCol FROM DateTest WHERE IDCol = 2")),
              QVariant(QStringLiteral("9999-01-01 00:00:00")));
    EXPECT_EQ(
        QueryValue(db, QStringLiteral("SELECT DateTimeCol || ' ' || DateCol || ' ' || "
                                      "TimeCol FROM DateTest WHERE IDCol = 3")),
        QVariant(QStringLiteral("1898-01-01 00:00:00 1899-01-01 00:00:00 1900-01-01 00:00:00")));
    EXPECT_EQ(QueryValue(db, QStringLiteral("SELECT DateTimeCol FROM DateTest WHERE IDCol = 4")),
              QVariant(QStringLiteral("0632-01-01 00:00:00")));
}

TEST(JetImportTest, NamesMatchWithoutCaseAndMissingTablesAreLeftOut) {
    const QString path = JetTestDataPath(QStringLiteral("nwind.mdb"));
    SKIP_WITHOUT_JET_TESTDATA(path);
    const JetImport::ImportedDatabase imported =
        JetImport::ImportTables(path, {QStringLiteral("shippers"), QStringLiteral("NoSuchTable")});
    ASSERT_TRUE(imported.db);
    sqlite3* db = imported.db.get();
    // Created under the file's own spelling; nothing else is copied.
    EXPECT_EQ(
        QueryColumn(db, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'")),
        QList<QVariant>{QStringLiteral("Shippers")});
    EXPECT_EQ(QueryValue(db, QStringLiteral("SELECT count(*) FROM Shippers")).toInt(), 3);
    // The catalogue still lists every table.
    EXPECT_EQ(imported.catalogue->tables, kNwindTables);
}

// A Jet 3 dictionary made on a Japanese system keeps its text in code page 932. The header of
// a copy of nwind.mdb is changed to say so, and one company name is replaced by bytes that only
// Windows' code page 932 reads right: a backslash (the strict Shift-JIS table turns it into a
// yen sign), a vendor character, a half-width katakana and a wave dash.
TEST(JetImportTest, Jet3TextInCodePage932) {
    const QString source = JetTestDataPath(QStringLiteral("nwind.mdb"));
    SKIP_WITHOUT_JET_TESTDATA(source);
    QByteArray bytes = ReadWholeFile(source);
    ASSERT_EQ(bytes.at(0x14), 0) << "a Jet 3 file";
    constexpr int kJet3HeaderRegion = 126;
    JetTestWriter::ScrambleHeader(bytes, kJet3HeaderRegion);
    ASSERT_EQ(uchar(bytes[0x3C]) | (uchar(bytes[0x3D]) << 8), 1252);
    bytes[0x3C] = char(932 & 0xFF);
    bytes[0x3D] = char(932 >> 8);
    JetTestWriter::ScrambleHeader(bytes, kJet3HeaderRegion);
    const QByteArray name("Oc\xE9"
                          "ano");
    const QByteArray replacement("\x5C\x87\x40\xB1\x81\x60");
    ASSERT_EQ(name.size(), replacement.size());
    ASSERT_GT(bytes.count(name), 0);
    bytes.replace(name, replacement);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cp932.mdb"));
    ASSERT_TRUE(WriteWholeFile(path, bytes));
    const JetImport::ImportedDatabase imported =
        JetImport::ImportTables(path, {QStringLiteral("Customers")});
    ASSERT_TRUE(imported.db);
    const QString company =
        QueryValue(imported.db.get(),
                   QStringLiteral("SELECT CompanyName FROM Customers WHERE CustomerID = 'OCEAN'"))
            .toString();
    EXPECT_TRUE(company.startsWith(QStringLiteral("\\①ｱ～"))) << qPrintable(company);
    EXPECT_EQ(QueryValue(imported.db.get(),
                         QStringLiteral("SELECT CompanyName FROM Customers WHERE CustomerID = "
                                        "'ALFKI'")),
              QVariant(QStringLiteral("Alfreds Futterkiste")));
}

} // namespace
