// Each Jet column type bound as the SQLite value the copy stores.
#include "data/jet/RowReader.h"

#include "data/MdbHandles.h"
#include "data/jet/TextConversion.h"

#include <cstring>
#include <optional>

namespace JetImport {
namespace {

bool BindText(sqlite3_stmt* stmt, int index, const std::string& text) {
    return sqlite3_bind_text(stmt, index, text.data(), int(text.size()), SQLITE_TRANSIENT) ==
           SQLITE_OK;
}

bool BindLibraryText(sqlite3_stmt* stmt, int index, char* allocated) {
    MdbString text(allocated);
    return text && BindText(stmt, index, std::string(text.get()));
}

} // namespace

bool BindValue(sqlite3_stmt* stmt, int index, JetReader& reader, const MdbColumn* column,
               const MdbField& field) {
    MdbHandle* mdb = reader.Mdb();
    // A yes/no column keeps its value in the null mask; Jet's true is -1.
    if (column->col_type == MDB_BOOL)
        return sqlite3_bind_int(stmt, index, field.is_null ? 0 : -1) == SQLITE_OK;
    if (field.is_null)
        return sqlite3_bind_null(stmt, index) == SQLITE_OK;
    if (field.start < 0 || field.siz < 0 || field.start + field.siz > mdb->fmt->pg_size)
        return false;
    const unsigned char* p = mdb->pg_buf + field.start;
    const size_t size = size_t(field.siz);
    auto needs = [size](size_t bytes) { return size >= bytes; };
    switch (column->col_type) {
    case MDB_BYTE:
        return needs(1) && sqlite3_bind_int(stmt, index, p[0]) == SQLITE_OK;
    case MDB_INT:
        return needs(2) && sqlite3_bind_int(stmt, index, std::int16_t(Le16(p))) == SQLITE_OK;
    case MDB_LONGINT:
    case MDB_COMPLEX:
        return needs(4) && sqlite3_bind_int64(stmt, index, std::int32_t(Le32(p))) == SQLITE_OK;
    case MDB_MONEY:
        return needs(8) && sqlite3_bind_double(
                               stmt, index, double(std::int64_t(Le64(p))) / 10000.0) == SQLITE_OK;
    case MDB_FLOAT: {
        if (!needs(4))
            return false;
        float value = 0;
        const std::uint32_t bits = Le32(p);
        std::memcpy(&value, &bits, sizeof value);
        return sqlite3_bind_double(stmt, index, value) == SQLITE_OK;
    }
    case MDB_DOUBLE:
    case MDB_DATETIME: {
        if (!needs(8))
            return false;
        double value = 0;
        const std::uint64_t bits = Le64(p);
        std::memcpy(&value, &bits, sizeof value);
        if (column->col_type == MDB_DOUBLE)
            return sqlite3_bind_double(stmt, index, value) == SQLITE_OK;
        const std::optional<std::string> text = JetDateText(value);
        return text ? BindText(stmt, index, *text) : sqlite3_bind_null(stmt, index) == SQLITE_OK;
    }
    case MDB_TEXT:
        return BindText(stmt, index, reader.Text(p, size));
    case MDB_MEMO:
    case MDB_OLE: {
        std::string raw;
        if (!reader.LongValue(p, size, raw))
            return false;
        if (column->col_type == MDB_OLE) {
            reader.CountBinary(raw.size());
            return sqlite3_bind_blob(stmt, index, raw.data(), int(raw.size()), SQLITE_TRANSIENT) ==
                   SQLITE_OK;
        }
        return BindText(
            stmt, index,
            reader.Text(reinterpret_cast<const unsigned char*>(raw.data()), raw.size()));
    }
    case MDB_BINARY:
        reader.CountBinary(size);
        return sqlite3_bind_blob(stmt, index, p, int(size), SQLITE_TRANSIENT) == SQLITE_OK;
    case MDB_REPID:
        return needs(16) &&
               BindLibraryText(stmt, index, mdb_uuid_to_string(mdb->pg_buf, field.start));
    case MDB_NUMERIC:
        return needs(17) &&
               BindLibraryText(
                   stmt, index,
                   mdb_numeric_to_string(mdb, field.start, column->col_scale, column->col_prec));
    default:
        return sqlite3_bind_null(stmt, index) == SQLITE_OK;
    }
}

} // namespace JetImport
