// Tables of the Jet file copied row by row into an in-memory database, in the child.
#include "data/jet/ChildImport.h"

#include "data/JetImport.h"

#include "data/MdbHandles.h"
#include "data/Schema.h"
#include "data/SqliteHandles.h"
#include "data/TextCollation.h"
#include "data/jet/PropertyCheck.h"
#include "data/jet/RowReader.h"
#include "data/jet/TextConversion.h"
#include "data/jet/WireFormat.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <sys/stat.h>

namespace JetImport {
namespace {

// A Jet database holds at most 32 768 objects; a catalogue far longer is damaged.
constexpr unsigned kMaxCatalogueEntries = 65536;

std::string Quoted(const char* name) {
    std::string out = "\"";
    for (const char* c = name; *c; ++c) {
        out += *c;
        if (*c == '"')
            out += '"';
    }
    return out + "\"";
}

const char* Declaration(int type) {
    switch (type) {
    case MDB_BOOL:
    case MDB_BYTE:
    case MDB_INT:
    case MDB_LONGINT:
    case MDB_COMPLEX:
        return "INTEGER";
    case MDB_MONEY:
    case MDB_FLOAT:
    case MDB_DOUBLE:
        return "REAL";
    case MDB_NUMERIC:
        return "NUMERIC";
    case MDB_DATETIME:
        return "DATETIME";
    case MDB_TEXT:
    case MDB_MEMO:
        return "TEXT COLLATE JAPANESE_CI";
    case MDB_REPID:
        return "TEXT";
    case MDB_BINARY:
    case MDB_OLE:
        return "BLOB";
    default:
        return "";
    }
}

MdbColumn* ColumnAt(MdbTableDef* table, unsigned i) {
    return static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
}

// The column of a primary key made of one integer column, which becomes the copy's row key
// so that looking an entry up by its identifier stays a direct lookup; -1 when there is none.
int IntegerPrimaryKey(MdbTableDef* table) {
    if (!table->indices)
        return -1;
    for (guint i = 0; i < table->indices->len; ++i) {
        const auto* index = static_cast<const MdbIndex*>(g_ptr_array_index(table->indices, i));
        if (!index || index->index_type != 1 || index->num_keys != 1)
            continue;
        const int column = index->key_col_num[0] - 1;
        if (column < 0 || unsigned(column) >= table->num_cols)
            return -1;
        const int type = ColumnAt(table, unsigned(column))->col_type;
        return type == MDB_BYTE || type == MDB_INT || type == MDB_LONGINT ? column : -1;
    }
    return -1;
}

bool Exec(sqlite3* db, const std::string& sql) {
    return sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

// Copies every row. The table definition's row count is the check that nothing was lost: a
// damaged page makes libmdb end a scan early or skip rows without telling.
bool CopyTable(JetReader& reader, MdbTableDef* table, sqlite3* db, unsigned long long maxBytes) {
    MdbHandle* mdb = reader.Mdb();
    const unsigned count = table->num_cols;
    if (count == 0 || !table->columns || table->columns->len != count)
        return false;
    mdb_read_indices(table);
    const int key = IntegerPrimaryKey(table);
    std::string create = "CREATE TABLE " + Quoted(table->name) + " (";
    std::string insert = "INSERT INTO " + Quoted(table->name) + " VALUES (";
    for (unsigned i = 0; i < count; ++i) {
        const MdbColumn* column = ColumnAt(table, i);
        create += (i ? ", " : "") + Quoted(column->name) + " " +
                  (int(i) == key ? "INTEGER PRIMARY KEY" : Declaration(column->col_type));
        insert += i ? ",?" : "?";
    }
    if (!Exec(db, create + ")"))
        return false;
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, (insert + ")").c_str(), -1, &raw, nullptr) != SQLITE_OK) {
        sqlite3_finalize(raw);
        return false;
    }
    SqliteStmt stmt(raw);
    std::vector<MdbField> fields(count);
    unsigned long long rows = 0;
    const std::uint64_t bytesBefore = reader.BytesRead();
    mdb_rewind_table(table);
    while (mdb_fetch_row(table)) {
        if (++rows > table->num_rows || reader.BytesRead() - bytesBefore > maxBytes)
            return false;
        // mdb_fetch_row leaves the row's page loaded; crack the row again to learn which
        // fields are null, which its bound values cannot tell from empty text.
        int start = 0;
        size_t size = 0;
        if (table->cur_row == 0 || mdb_find_row(mdb, int(table->cur_row) - 1, &start, &size) != 0 ||
            mdb_crack_row(table, start & kOffsetMask, size, fields.data()) < 0)
            return false;
        for (unsigned i = 0; i < count; ++i) {
            const MdbField& field = fields[i];
            if (field.colnum < 0 || unsigned(field.colnum) >= count ||
                !BindValue(stmt.get(), field.colnum + 1, reader,
                           ColumnAt(table, unsigned(field.colnum)), field))
                return false;
        }
        if (sqlite3_step(stmt.get()) != SQLITE_DONE)
            return false;
        sqlite3_reset(stmt.get());
        sqlite3_clear_bindings(stmt.get());
    }
    return rows == table->num_rows;
}

// The dictionary's indexes, each where its table and columns exist: a statement naming a table
// or column that the file lacks does not compile and is passed over.
bool CreateDictionaryIndexes(sqlite3* db) {
    const char* sql = Schema::kCreateIndexes;
    while (sql && *sql) {
        sqlite3_stmt* raw = nullptr;
        const char* tail = nullptr;
        const int rc = sqlite3_prepare_v2(db, sql, -1, &raw, &tail);
        SqliteStmt stmt(raw);
        if (rc == SQLITE_OK && stmt && sqlite3_step(stmt.get()) != SQLITE_DONE)
            return false;
        if (!tail || tail == sql)
            break;
        sql = tail;
    }
    return true;
}

bool Requested(const ChildJob& job, const char* name) {
    return std::any_of(job.tables.begin(), job.tables.end(), [name](const std::string& table) {
        return g_ascii_strcasecmp(table.c_str(), name) == 0;
    });
}

} // namespace

unsigned long PageReadBudget(unsigned long pages) {
    return 8 * pages + 4096;
}

// Opens the file the parent holds locked (not one renamed into its place since) as whole Jet
// pages; null otherwise.
MdbHandlePtr OpenLockedFile(const ChildJob& job, unsigned long* pages) {
    // The user's libmdb settings must not change what is read: debugging output, another
    // target encoding, another Jet 3 code page, or a search path for the file.
    for (const char* name : {"MDBOPTS", "MDBICONV", "MDB_JET3_CHARSET", "MDBPATH"})
        ::unsetenv(name);
    MdbHandlePtr mdb(mdb_open(job.path.c_str(), MDB_NOFLAGS));
    if (!mdb || !mdb->f || !mdb->f->stream)
        return nullptr;
    struct stat st {};
    if (::fstat(::fileno(mdb->f->stream), &st) != 0 || st.st_dev != job.device ||
        st.st_ino != job.inode)
        return nullptr;
    // Jet allocates whole pages; a file that ends inside one has lost its end, and libmdb
    // would read the missing bytes as zeros.
    if (mdb->fmt->pg_size <= 0 || st.st_size % mdb->fmt->pg_size != 0)
        return nullptr;
    *pages = (unsigned long)(st.st_size / mdb->fmt->pg_size);
    return mdb;
}

// A database in one block of memory, which can be handed over without another copy.
SqliteDb OpenMemoryCopy() {
    sqlite3* raw = nullptr;
    const int rc =
        sqlite3_open_v2("file:tessarine-jet-copy?vfs=memdb", &raw,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_URI, nullptr);
    SqliteDb db(raw);
    if (rc != SQLITE_OK || TextCollation::Register(db.get()) != SQLITE_OK ||
        !Exec(db.get(), "PRAGMA journal_mode = OFF") || !Exec(db.get(), "BEGIN"))
        return nullptr;
    return db;
}

// Lists every user table of the catalogue with its columns, and copies the tables the job asks
// for (each name once, whatever its case). False when a table asked for cannot be read.
bool CopyCatalogue(const ChildJob& job, MdbHandle* mdb, JetReader& reader, sqlite3* db,
                   std::vector<TableNames>* catalogue, std::vector<std::string>* copied) {
    for (guint i = 0; i < mdb->catalog->len; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (!entry || !mdb_is_user_table(entry))
            continue;
        TableNames names{entry->object_name, {}};
        const bool wanted =
            Requested(job, entry->object_name) &&
            std::none_of(copied->begin(), copied->end(), [entry](const std::string& c) {
                return g_ascii_strcasecmp(c.c_str(), entry->object_name) == 0;
            });
        MdbTablePtr table(mdb_read_table(entry));
        if (table && table->num_cols <= kMaxColumns && mdb_read_columns(table.get()) &&
            table->columns->len == table->num_cols) {
            for (unsigned c = 0; c < table->num_cols; ++c)
                names.columns.emplace_back(ColumnAt(table.get(), c)->name);
        } else if (wanted) {
            return false;
        }
        if (wanted) {
            if (!CopyTable(reader, table.get(), db, job.maxTableBytes))
                return false;
            copied->push_back(names.name);
        }
        catalogue->push_back(std::move(names));
    }
    return true;
}

// Writes the copy's image to the job's image file and the catalogue's frame to `out`.
bool HandOver(const ChildJob& job, sqlite3* db, const std::vector<TableNames>& catalogue,
              bool copiedAny, int out) {
    sqlite3_int64 size = 0;
    const unsigned char* image = sqlite3_serialize(db, "main", &size, SQLITE_SERIALIZE_NOCOPY);
    if (!image)
        size = 0;
    if (size == 0 && copiedAny)
        return false;
    if (size > 0 && !WriteAll(job.imageFd, image, size_t(size)))
        return false;
    const std::string frame = EncodeFrame(catalogue, std::uint64_t(size));
    return WriteAll(out, frame.data(), frame.size());
}

bool ImportInChild(const ChildJob& job, int out) {
    unsigned long pages = 0;
    MdbHandlePtr mdb = OpenLockedFile(job, &pages);
    if (!mdb)
        return false;
    // Everything from here is bounded by the pages it reads, libmdb's reading included.
    mdb_stats_on(mdb.get());
    // Ends before the handle closes: mdb_close frees the counter the watch reads.
    const Isolation::WatchedWork watch = Isolation::WatchWork(
        &mdb->stats->pg_reads, job.maxPageReads ? job.maxPageReads : PageReadBudget(pages), pages);
    if (!UseCorrectTextConversion(mdb.get()))
        return false;
    JetReader reader(mdb.get());
    if (!CatalogueHasSoundProperties(reader))
        return false;
    if (!mdb_read_catalog(mdb.get(), MDB_TABLE) || !mdb->catalog ||
        mdb->catalog->len > kMaxCatalogueEntries)
        return false;

    const SqliteDb db = OpenMemoryCopy();
    std::vector<TableNames> catalogue;
    std::vector<std::string> copied;
    if (!db || !CopyCatalogue(job, mdb.get(), reader, db.get(), &catalogue, &copied) ||
        !CreateDictionaryIndexes(db.get()) || !Exec(db.get(), "COMMIT"))
        return false;
    Isolation::CheckWork();
    return HandOver(job, db.get(), catalogue, !copied.empty(), out);
}

} // namespace JetImport
