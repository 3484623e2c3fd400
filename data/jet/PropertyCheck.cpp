// Walking the property blocks of the catalogue as libmdb will, with every length checked.
#include "data/jet/PropertyCheck.h"

#include <cstring>

namespace JetImport {
namespace {

constexpr unsigned long kCataloguePage = 2; // the catalogue table's definition
constexpr std::size_t kRecordHeader = 6;    // length (4) and type (2) of a block record
constexpr std::size_t kValueHeader = 8;     // length, type, name index and size of a value

// The bytes a value of a fixed-size type is read as, whatever its record says.
std::size_t FixedSize(int type) {
    switch (type) {
    case MDB_BOOL:
    case MDB_BYTE:
        return 1;
    case MDB_INT:
        return 2;
    case MDB_LONGINT:
    case MDB_FLOAT:
    case MDB_COMPLEX:
        return 4;
    case MDB_MONEY:
    case MDB_DOUBLE:
    case MDB_DATETIME:
        return 8;
    case MDB_REPID:
        return 16;
    case MDB_NUMERIC:
        return 17;
    default:
        return 0;
    }
}

// The names of the properties: each a 16-bit length and that many bytes.
bool SoundNames(const unsigned char* p, std::size_t size) {
    std::size_t at = 0;
    while (at < size) {
        if (size - at < 2)
            return false;
        const std::size_t length = Le16(p + at);
        at += 2;
        if (size - at < length)
            return false;
        at += length;
    }
    return true;
}

// A set of values: a header with the set's name, then values that each name their property.
bool SoundValues(const unsigned char* p, std::size_t size) {
    if (size < 6)
        return false;
    const std::size_t nameLength = Le16(p + 4);
    if (size - 6 < nameLength)
        return false;
    std::size_t at = 6 + nameLength;
    while (at < size) {
        if (size - at < kValueHeader)
            return false;
        const std::size_t length = Le16(p + at);
        const int type = p[at + 3];
        const std::size_t valueSize = Le16(p + at + 6);
        if (length < kValueHeader + valueSize || size - at < length || valueSize < FixedSize(type))
            return false;
        at += length;
    }
    return true;
}

} // namespace

bool IsSoundPropertyBlock(const unsigned char* data, std::size_t size) {
    if (size < 4 || (std::memcmp(data, "KKD", 4) != 0 && std::memcmp(data, "MR2", 4) != 0))
        return false;
    std::size_t at = 4;
    while (at < size) {
        if (size - at < kRecordHeader)
            return false;
        const std::size_t length = Le32(data + at);
        const int type = Le16(data + at + 4);
        if (length < kRecordHeader || size - at < length)
            return false;
        const unsigned char* body = data + at + kRecordHeader;
        const std::size_t bodySize = length - kRecordHeader;
        if (type == 0x80 && !SoundNames(body, bodySize))
            return false;
        if (type <= 2 && !SoundValues(body, bodySize))
            return false;
        at += length;
    }
    return true;
}

bool CatalogueHasSoundProperties(JetReader& reader, int* blocks) {
    MdbHandle* mdb = reader.Mdb();
    MdbCatalogEntry entry{};
    entry.mdb = mdb;
    entry.object_type = MDB_TABLE;
    entry.table_pg = kCataloguePage;
    std::strcpy(entry.object_name, "MSysObjects");
    MdbTablePtr table(mdb_read_table(&entry));
    if (!table || table->num_cols == 0 || table->num_cols > kMaxColumns ||
        !mdb_read_columns(table.get()) || table->columns->len != table->num_cols)
        return false;
    int property = -1;
    for (unsigned i = 0; i < table->num_cols; ++i) {
        const auto* column = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
        if (g_ascii_strcasecmp(column->name, "LvProp") == 0)
            property = int(i);
    }
    if (property < 0)
        return true; // nothing for libmdb to parse

    std::vector<MdbField> fields(table->num_cols);
    std::string value;
    mdb_rewind_table(table.get());
    while (mdb_fetch_row(table.get())) {
        int start = 0;
        size_t size = 0;
        if (table->cur_row == 0 || mdb_find_row(mdb, int(table->cur_row) - 1, &start, &size) != 0 ||
            mdb_crack_row(table.get(), start & kOffsetMask, size, fields.data()) < 0)
            return false;
        for (const MdbField& field : fields) {
            if (field.colnum != property || field.is_null)
                continue;
            if (field.start < 0 || field.siz < 0 || field.start + field.siz > mdb->fmt->pg_size ||
                !reader.LongValue(mdb->pg_buf + field.start, size_t(field.siz), value))
                return false;
            if (value.empty())
                continue;
            if (!IsSoundPropertyBlock(reinterpret_cast<const unsigned char*>(value.data()),
                                      value.size()))
                return false;
            if (blocks)
                ++*blocks;
        }
    }
    return true;
}

} // namespace JetImport
