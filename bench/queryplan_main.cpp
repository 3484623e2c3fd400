// Shows how SQLite runs each search of the benchmarks on a dictionary: the statement as the
// search builds it and as the result listing sends it, each with its query plan. Runs through the
// program's own connection, which knows the dictionary's collation.
#include "base/ToolArguments.h"
#include "data/DbAccess.h"
#include "data/ListSink.h"
#include "data/Recordset.h"

#include <QCoreApplication>
#include <cstdio>

namespace {

void PrintPlan(sqlite3* db, const QString& sql) {
    std::printf("%s\n", qUtf8Printable(sql));
    const std::optional<QByteArray> translated = TranslateSelect(sql);
    if (!translated) {
        std::printf("  (not one statement)\n\n");
        return;
    }
    const QByteArray explain = QByteArrayLiteral("EXPLAIN QUERY PLAN ") + *translated;
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, explain.constData(), -1, &raw, nullptr) != SQLITE_OK) {
        std::printf("  rejected: %s\n\n", sqlite3_errmsg(db));
        sqlite3_finalize(raw);
        return;
    }
    SqliteStmt stmt(raw);
    while (sqlite3_step(stmt.get()) == SQLITE_ROW)
        std::printf("  %s\n", reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), 3)));
    std::printf("\n");
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ToolArguments arguments;
    if (const std::optional<int> status =
            ToolCommandLine(QStringLiteral("tessarine-queryplan"), QStringLiteral("DICTIONARY"))
                .Operands(1, 1)
                .Handle(argc, argv, &arguments))
        return *status;
    const QStringList& operands = arguments.operands;
    DbAccess::Dictionary dictionary;
    CountingSink categories;
    if (dictionary.Open(operands[0], categories) <= 0)
        return 1;
    sqlite3* db = dictionary.Db();
    struct Search {
        const char* key;
        const char* letter;
        qint16 category;
    };
    const Search searches[] = {{"cpu", "", 0},   {"C*", "", 0},       {"*", "", 0}, {"?PU", "", 0},
                               {"*NET*", "", 0}, {"", "central*", 0}, {"", "", 3}};
    for (const Search& s : searches) {
        const QString sql = DbAccess::BuildSearchSql(QString::fromUtf8(s.key),
                                                     QString::fromUtf8(s.letter), s.category);
        PrintPlan(db, sql);
        // The statement the result listing sends for it (keep in step with FillResultList).
        PrintPlan(db, QStringLiteral("SELECT [AbbrID],[Abbr],[Letter] FROM (") + sql +
                          QStringLiteral(") LIMIT ") + QString::number(DbAccess::kResultListLimit));
    }
    PrintPlan(db, QStringLiteral("SELECT * FROM AbbrTB WHERE [AbbrID] = 1"));
    PrintPlan(db, QStringLiteral("SELECT * FROM LinkTB WHERE [AbbrID]=1 ORDER BY Word"));
    PrintPlan(db, QStringLiteral("SELECT * FROM CategoryTB ORDER BY Category"));
    return 0;
}
