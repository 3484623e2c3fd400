#include "data/JetImport.h"

#include "data/MdbHandles.h"
#include "data/Schema.h"
#include "data/TextCollation.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <iconv.h>
#include <limits>
#include <mutex>
#include <optional>
#include <poll.h>
#include <signal.h>
#include <string>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace JetImport {
namespace {

using Clock = std::chrono::steady_clock;

// ---------------------------------------------------------------------------------------------
// Small owning helpers

class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        if (this != &other)
            Reset(std::exchange(other.fd_, -1));
        return *this;
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd() { Reset(); }

    int Get() const { return fd_; }
    void Reset(int fd = -1) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = fd;
    }

private:
    int fd_ = -1;
};

// The Jet file, open read-only and locked against writers for as long as this object lives.
class LockedFile {
public:
    static std::optional<LockedFile> Open(const QString& path) {
        const QByteArray name = QFile::encodeName(path);
        // O_NONBLOCK keeps a FIFO put in the file's place from blocking the open.
        UniqueFd fd(::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
        if (fd.Get() < 0)
            return std::nullopt;
        struct stat st {};
        if (::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode))
            return std::nullopt;
        struct flock range {};
        range.l_type = F_RDLCK;
        range.l_whence = SEEK_SET;
        range.l_start = 0;
        range.l_len = 0; // to the end of the file, however far it grows
        // Refused while a writer holds its lock; a file system without locks is no reason not
        // to read the dictionary.
        if (::fcntl(fd.Get(), F_SETLK, &range) != 0 && (errno == EAGAIN || errno == EACCES))
            return std::nullopt;
        if (::flock(fd.Get(), LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK)
            return std::nullopt;
        LockedFile file;
        file.name_ = std::string(name.constData(), size_t(name.size()));
        file.fd_ = std::move(fd);
        file.device_ = st.st_dev;
        file.inode_ = st.st_ino;
        file.size_ = st.st_size;
        return file;
    }

    const std::string& Name() const { return name_; }
    dev_t Device() const { return device_; }
    ino_t Inode() const { return inode_; }
    qint64 Size() const { return size_; }

private:
    LockedFile() = default;

    std::string name_;
    UniqueFd fd_;
    dev_t device_ = 0;
    ino_t inode_ = 0;
    qint64 size_ = 0;
};

// ---------------------------------------------------------------------------------------------
// What the child sends through the pipe: a magic word, the catalogue, the size of the copied
// database (which it has written into shared memory) and a trailer. A crash or a kill anywhere
// before the end leaves the trailer missing.

constexpr char kMagic[4] = {'T', 'J', 'I', '1'};
constexpr char kTrailer[4] = {'D', 'O', 'N', 'E'};

struct TableNames {
    std::string name;
    std::vector<std::string> columns;
};

void PutU32(std::string& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out.push_back(char((value >> (8 * i)) & 0xFF));
}

void PutU64(std::string& out, std::uint64_t value) {
    for (int i = 0; i < 8; ++i)
        out.push_back(char((value >> (8 * i)) & 0xFF));
}

void PutString(std::string& out, const std::string& text) {
    PutU32(out, std::uint32_t(text.size()));
    out += text;
}

std::string EncodeCatalogue(const std::vector<TableNames>& tables) {
    std::string out(kMagic, sizeof kMagic);
    PutU32(out, std::uint32_t(tables.size()));
    for (const TableNames& table : tables) {
        PutString(out, table.name);
        PutU32(out, std::uint32_t(table.columns.size()));
        for (const std::string& column : table.columns)
            PutString(out, column);
    }
    return out;
}

class FrameReader {
public:
    explicit FrameReader(const QByteArray& data)
        : p_(data.constData()), end_(data.constData() + data.size()) {}

    bool Take(std::uint64_t size, const char** bytes) {
        if (std::uint64_t(end_ - p_) < size)
            return false;
        *bytes = p_;
        p_ += size;
        return true;
    }
    bool U32(std::uint32_t& value) {
        const char* b = nullptr;
        if (!Take(4, &b))
            return false;
        value = 0;
        for (int i = 3; i >= 0; --i)
            value = (value << 8) | std::uint8_t(b[i]);
        return true;
    }
    bool U64(std::uint64_t& value) {
        const char* b = nullptr;
        if (!Take(8, &b))
            return false;
        value = 0;
        for (int i = 7; i >= 0; --i)
            value = (value << 8) | std::uint8_t(b[i]);
        return true;
    }
    bool String(QString& text) {
        std::uint32_t size = 0;
        const char* b = nullptr;
        if (!U32(size) || !Take(size, &b))
            return false;
        text = QString::fromUtf8(b, qsizetype(size));
        return true;
    }
    bool Expect(const char (&word)[4]) {
        const char* b = nullptr;
        return Take(4, &b) && std::memcmp(b, word, 4) == 0;
    }
    bool AtEnd() const { return p_ == end_; }

private:
    const char* p_;
    const char* end_;
};

bool WriteAll(int fd, const void* data, size_t size) {
    const auto* p = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd, p, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        size -= size_t(n);
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// Reading the Jet file with libmdb. Everything from here to ImportInChild runs in the child.

constexpr int kOffsetMask = 0x1FFF;   // row offsets carry flags in their top bits
constexpr unsigned kMaxColumns = 255; // Jet's own limit; more means a damaged definition
constexpr std::uint32_t kMaxLongValue = 0x3FFFFFFF;

std::uint16_t Le16(const unsigned char* p) {
    return std::uint16_t(p[0] | (p[1] << 8));
}
std::uint32_t Le32(const unsigned char* p) {
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
           (std::uint32_t(p[3]) << 24);
}
std::uint64_t Le64(const unsigned char* p) {
    return std::uint64_t(Le32(p)) | (std::uint64_t(Le32(p + 4)) << 32);
}

// libmdb converts Jet 3 text from the code page in the file header, but it maps code page 932
// to iconv's strict SHIFT-JIS, which turns every backslash into a yen sign (and the markup of
// our descriptions with it) and rejects the vendor characters (①, ㈱ ...) that Windows
// writes. Jet 4 text is UTF-16, which libmdb reads as UCS-2 and so loses characters outside
// the basic plane. Both conversions are replaced by the right ones before anything is read,
// also the catalogue's names; the values of Jet 4 rows are then converted by Utf16ToUtf8.
bool UseCorrectTextConversion(MdbHandle* mdb) {
    mdb_iconv_close(mdb);
    mdb->iconv_in = iconv_t(-1);
    mdb->iconv_out = iconv_t(-1);
    char codePage[16] = "UTF-16LE";
    if (IS_JET3(mdb)) {
        const unsigned cp = mdb->f->code_page;
        const bool windows = cp == 874 || cp == 932 || cp == 936 || cp == 949 || cp == 950 ||
                             (cp >= 1250 && cp <= 1258);
        std::snprintf(codePage, sizeof codePage, "CP%u", windows ? cp : 1252u);
    }
    mdb->iconv_in = iconv_open("UTF-8", codePage);
    if (mdb->iconv_in == iconv_t(-1) && IS_JET3(mdb)) {
        std::snprintf(codePage, sizeof codePage, "CP1252");
        mdb->iconv_in = iconv_open("UTF-8", codePage);
    }
    mdb->iconv_out = iconv_open(codePage, "UTF-8");
    return mdb->iconv_in != iconv_t(-1) && mdb->iconv_out != iconv_t(-1);
}

char* PutUtf8(char* out, char32_t c) {
    if (c < 0x80) {
        *out++ = char(c);
    } else if (c < 0x800) {
        *out++ = char(0xC0 | (c >> 6));
        *out++ = char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *out++ = char(0xE0 | (c >> 12));
        *out++ = char(0x80 | ((c >> 6) & 0x3F));
        *out++ = char(0x80 | (c & 0x3F));
    } else {
        *out++ = char(0xF0 | (c >> 18));
        *out++ = char(0x80 | ((c >> 12) & 0x3F));
        *out++ = char(0x80 | ((c >> 6) & 0x3F));
        *out++ = char(0x80 | (c & 0x3F));
    }
    return out;
}

// Jet 4 text is UTF-16, or after the marker FF FE its compressed form: there each byte is a
// character below U+0100, and a zero byte switches to plain two-byte characters and back.
// Converted here rather than by iconv: it is simple, and iconv took a large share of the time
// that reading a big dictionary takes. A surrogate without its partner becomes U+FFFD.
std::string Utf16ToUtf8(const unsigned char* p, size_t size) {
    // A byte never needs more than two bytes of UTF-8, a two-byte character never more than
    // three.
    std::string text(2 * size + 4, '\0');
    char* out = text.data();
    const unsigned char* end = p + size;
    const bool hasSwitches = size >= 2 && p[0] == 0xFF && p[1] == 0xFE;
    bool compressed = hasSwitches;
    if (hasSwitches)
        p += 2;
    char16_t high = 0;
    while (p < end) {
        char16_t unit;
        if (hasSwitches && *p == 0) {
            compressed = !compressed;
            ++p;
            continue;
        }
        if (compressed) {
            unit = *p++;
        } else if (end - p >= 2) {
            unit = char16_t(p[0] | (p[1] << 8));
            p += 2;
        } else {
            break; // an odd byte at the end
        }
        if (high && unit >= 0xDC00 && unit <= 0xDFFF) {
            out = PutUtf8(out, 0x10000 + ((char32_t(high) - 0xD800) << 10) + (unit - 0xDC00));
            high = 0;
            continue;
        }
        if (high)
            out = PutUtf8(out, 0xFFFD);
        high = unit >= 0xD800 && unit <= 0xDBFF ? unit : 0;
        if (!high)
            out = PutUtf8(out, unit >= 0xDC00 && unit <= 0xDFFF ? 0xFFFD : unit);
    }
    if (high)
        out = PutUtf8(out, 0xFFFD);
    text.resize(size_t(out - text.data()));
    return text;
}

// What the child reads from the Jet file beyond libmdb's own row scan: text in the file's
// encoding and long values (memos, OLE objects) whole. The pages of long values are read
// through libmdb (which undoes a file's page encryption) and kept, because one page holds the
// memos of many rows.
class JetReader {
public:
    explicit JetReader(MdbHandle* mdb) : mdb_(mdb) {}

    MdbHandle* Mdb() const { return mdb_; }

    // Jet 3 text through libmdb's conversion (set up by UseCorrectTextConversion), with a
    // buffer large enough for any text: one byte never needs more than three of UTF-8.
    std::string Text(const unsigned char* text, size_t size) const {
        if (size == 0)
            return {};
        if (!IS_JET3(mdb_))
            return Utf16ToUtf8(text, size);
        std::string out(size * 3 + 8, '\0');
        const int written = mdb_unicode2ascii(mdb_, reinterpret_cast<const char*>(text), size,
                                              out.data(), out.size());
        out.resize(size_t(std::clamp(written, 0, int(out.size()))));
        return out;
    }

    // A memo or OLE value whole: stored in the row after its 12-byte header, in one row of a
    // long-value page, or in a chain of such rows. The header holds the length, flags and
    // where the value begins.
    bool LongValue(const unsigned char* header, size_t size, std::string& out) {
        out.clear();
        if (size < MDB_MEMO_OVERHEAD)
            return true; // an empty value carries no header
        const std::uint32_t word = Le32(header);
        const std::uint32_t length = word & kMaxLongValue;
        if (word & 0x80000000u) {
            if (size - MDB_MEMO_OVERHEAD < length)
                return false;
            out.assign(reinterpret_cast<const char*>(header + MDB_MEMO_OVERHEAD), length);
            return true;
        }
        std::uint32_t pgRow = Le32(header + 4);
        const unsigned char* row = nullptr;
        size_t rowSize = 0;
        if (word & 0x40000000u) {
            if (!Row(pgRow, row, rowSize) || rowSize < length)
                return false;
            out.assign(reinterpret_cast<const char*>(row), length);
            return true;
        }
        // Each row of the chain begins with the address of the next. A row met twice means
        // the chain loops: the value would repeat a part of itself.
        out.reserve(std::min<size_t>(length, size_t(1) << 24));
        std::unordered_set<std::uint32_t> seen;
        while (out.size() < length) {
            if (pgRow == 0 || !seen.insert(pgRow).second || !Row(pgRow, row, rowSize) ||
                rowSize <= 4)
                return false;
            out.append(reinterpret_cast<const char*>(row + 4),
                       std::min<size_t>(rowSize - 4, length - out.size()));
            pgRow = Le32(row);
        }
        return true;
    }

private:
    // The row of a page, found as libmdb's mdb_find_row finds it, with its checks and one
    // more: that the page has that many rows.
    bool Row(std::uint32_t pgRow, const unsigned char*& data, size_t& size) {
        const std::vector<unsigned char>* page = Page(pgRow >> 8);
        if (!page)
            return false;
        const int pageSize = int(page->size());
        const int countAt = mdb_->fmt->row_count_offset;
        const int row = int(pgRow & 0xFF);
        if (row >= Le16(page->data() + countAt))
            return false;
        const int start = Le16(page->data() + countAt + 2 + 2 * row) & kOffsetMask;
        const int end = row == 0 ? pageSize : Le16(page->data() + countAt + 2 * row) & kOffsetMask;
        if (start >= pageSize || start > end || end > pageSize)
            return false;
        data = page->data() + start;
        size = size_t(end - start);
        return true;
    }

    const std::vector<unsigned char>* Page(std::uint32_t number) {
        const auto it = pages_.find(number);
        if (it != pages_.end())
            return &it->second;
        if (number == 0 || mdb_read_alt_pg(mdb_, number) != mdb_->fmt->pg_size)
            return nullptr;
        if (pages_.size() >= kCachedPages)
            pages_.clear();
        std::vector<unsigned char>& page = pages_[number];
        page.assign(mdb_->alt_pg_buf, mdb_->alt_pg_buf + mdb_->fmt->pg_size);
        return &page;
    }

    static constexpr size_t kCachedPages = 256;
    MdbHandle* mdb_;
    std::unordered_map<std::uint32_t, std::vector<unsigned char>> pages_;
};

// A Jet date: days since 30 December 1899, the fraction being the time of day (also for days
// before, where it counts forward from midnight). Written as ISO 8601 text; nothing outside
// the years 100 to 9999 that Jet accepts.
std::optional<std::string> JetDateText(double value) {
    if (!std::isfinite(value) || value < -657434.0 || value >= 2958466.0)
        return std::nullopt;
    const double whole = std::trunc(value);
    long long days = static_cast<long long>(whole);
    long long seconds = std::llround(std::fabs(value - whole) * 86400.0);
    if (seconds >= 86400) {
        seconds -= 86400;
        ++days;
    }
    // Civil date from a day count (days since 1970-01-01 after the shift).
    long long z = days - 25569 + 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = unsigned(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned day = doy - (153 * mp + 2) / 5 + 1;
    const unsigned month = mp < 10 ? mp + 3 : mp - 9;
    const long long year = (long long)yoe + era * 400 + (month <= 2 ? 1 : 0);
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u %02d:%02d:%02d", int(year), month, day,
                  int(seconds / 3600), int(seconds / 60 % 60), int(seconds % 60));
    return std::string(text);
}

bool BindText(sqlite3_stmt* stmt, int index, const std::string& text) {
    return sqlite3_bind_text(stmt, index, text.data(), int(text.size()), SQLITE_TRANSIENT) ==
           SQLITE_OK;
}

bool BindLibraryText(sqlite3_stmt* stmt, int index, char* allocated) {
    MdbString text(allocated);
    return text && BindText(stmt, index, std::string(text.get()));
}

// Binds one field of the current row, as libmdb located it on the page, to its parameter.
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
        if (column->col_type == MDB_OLE)
            return sqlite3_bind_blob(stmt, index, raw.data(), int(raw.size()), SQLITE_TRANSIENT) ==
                   SQLITE_OK;
        return BindText(
            stmt, index,
            reader.Text(reinterpret_cast<const unsigned char*>(raw.data()), raw.size()));
    }
    case MDB_BINARY:
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
bool CopyTable(JetReader& reader, MdbTableDef* table, sqlite3* db) {
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
    mdb_rewind_table(table);
    while (mdb_fetch_row(table)) {
        if (++rows > table->num_rows)
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

struct ChildJob {
    std::string path;
    dev_t device = 0;
    ino_t inode = 0;
    std::vector<std::string> tables;
    int imageFd = -1; // shared memory that receives the copied database
};

bool Requested(const ChildJob& job, const char* name) {
    return std::any_of(job.tables.begin(), job.tables.end(), [name](const std::string& table) {
        return g_ascii_strcasecmp(table.c_str(), name) == 0;
    });
}

bool ImportInChild(const ChildJob& job, int out) {
    // The user's libmdb settings must not change what is read: debugging output, another
    // target encoding, another Jet 3 code page, or a search path for the file.
    for (const char* name : {"MDBOPTS", "MDBICONV", "MDB_JET3_CHARSET", "MDBPATH"})
        ::unsetenv(name);
    MdbHandlePtr mdb(mdb_open(job.path.c_str(), MDB_NOFLAGS));
    if (!mdb || !mdb->f || !mdb->f->stream)
        return false;
    // Read the file that the parent holds locked, not one renamed into its place since.
    struct stat st {};
    if (::fstat(::fileno(mdb->f->stream), &st) != 0 || st.st_dev != job.device ||
        st.st_ino != job.inode)
        return false;
    // Jet allocates whole pages; a file that ends inside one has lost its end, and libmdb
    // would read the missing bytes as zeros.
    if (mdb->fmt->pg_size <= 0 || st.st_size % mdb->fmt->pg_size != 0)
        return false;
    if (!UseCorrectTextConversion(mdb.get()))
        return false;
    if (!mdb_read_catalog(mdb.get(), MDB_TABLE) || !mdb->catalog)
        return false;

    // A database in one block of memory, which can be handed over without another copy.
    sqlite3* raw = nullptr;
    const int rc =
        sqlite3_open_v2("file:tessarine-jet-copy?vfs=memdb", &raw,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_URI, nullptr);
    SqliteDb db(raw);
    if (rc != SQLITE_OK || TextCollation::Register(db.get()) != SQLITE_OK ||
        !Exec(db.get(), "PRAGMA journal_mode = OFF") || !Exec(db.get(), "BEGIN"))
        return false;

    JetReader reader(mdb.get());
    std::vector<TableNames> catalogue;
    std::vector<std::string> copied;
    for (guint i = 0; i < mdb->catalog->len; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (!entry || !mdb_is_user_table(entry))
            continue;
        TableNames names{entry->object_name, {}};
        const bool wanted =
            Requested(job, entry->object_name) &&
            std::none_of(copied.begin(), copied.end(), [entry](const std::string& c) {
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
            if (!CopyTable(reader, table.get(), db.get()))
                return false;
            copied.push_back(names.name);
        }
        catalogue.push_back(std::move(names));
    }
    if (!CreateDictionaryIndexes(db.get()) || !Exec(db.get(), "COMMIT"))
        return false;

    sqlite3_int64 size = 0;
    const unsigned char* image =
        sqlite3_serialize(db.get(), "main", &size, SQLITE_SERIALIZE_NOCOPY);
    if (!image)
        size = 0;
    if (size == 0 && !copied.empty())
        return false;
    if (size > 0 && !WriteAll(job.imageFd, image, size_t(size)))
        return false;
    std::string frame = EncodeCatalogue(catalogue);
    PutU64(frame, std::uint64_t(size));
    frame.append(kTrailer, sizeof kTrailer);
    return WriteAll(out, frame.data(), frame.size());
}

// ---------------------------------------------------------------------------------------------
// Back in the parent

// The copy as the child left it in shared memory, mapped read-only: SQLite reads it in place,
// so a large dictionary is not copied once more on its way in.
class MappedImage {
public:
    static std::optional<MappedImage> Map(int fd, std::uint64_t size) {
        struct stat st {};
        if (size == 0 || ::fstat(fd, &st) != 0 || std::uint64_t(st.st_size) != size ||
            size > std::uint64_t(std::numeric_limits<sqlite3_int64>::max()))
            return std::nullopt;
        void* data = ::mmap(nullptr, size_t(size), PROT_READ, MAP_PRIVATE, fd, 0);
        if (data == MAP_FAILED)
            return std::nullopt;
        MappedImage image;
        image.data_ = static_cast<unsigned char*>(data);
        image.size_ = size_t(size);
        return image;
    }
    MappedImage(MappedImage&& other) noexcept
        : data_(std::exchange(other.data_, nullptr)), size_(other.size_) {}
    MappedImage& operator=(MappedImage&& other) noexcept {
        std::swap(data_, other.data_);
        std::swap(size_, other.size_);
        return *this;
    }
    MappedImage(const MappedImage&) = delete;
    ~MappedImage() {
        if (data_)
            ::munmap(data_, size_);
    }
    unsigned char* Data() const { return data_; }
    size_t Size() const { return size_; }

private:
    MappedImage() = default;
    unsigned char* data_ = nullptr;
    size_t size_ = 0;
};

// What a connection made from a Jet file needs for as long as it lives: the memory it reads,
// its catalogue, and for a dictionary the locked file.
struct JetSource {
    sqlite3* db = nullptr;
    std::shared_ptr<const Catalogue> catalogue;
    std::optional<MappedImage> image;
    std::optional<LockedFile> file;
};

std::mutex& RegistryMutex() {
    static std::mutex mutex;
    return mutex;
}
// The sources of the open connections, owned by the connections (see AttachSource).
std::unordered_map<sqlite3*, JetSource*>& Registry() {
    static std::unordered_map<sqlite3*, JetSource*> registry;
    return registry;
}

void ReleaseSource(void* data) {
    std::unique_ptr<JetSource> source(static_cast<JetSource*>(data));
    std::lock_guard lock(RegistryMutex());
    Registry().erase(source->db);
}

void NoValue(sqlite3_context* context, int, sqlite3_value**) {
    sqlite3_result_null(context);
}

// SQLite calls the destructor of a function's data when the connection closes, after it has
// closed its databases: registering the source as such data ties the memory, the catalogue and
// the file lock to the connection's life, so the caller holds one handle as for any other
// dictionary.
bool AttachSource(sqlite3* db, std::unique_ptr<JetSource> source) {
    source->db = db;
    {
        std::lock_guard lock(RegistryMutex());
        Registry()[db] = source.get();
    }
    // On failure SQLite has already called ReleaseSource, which also forgot the source.
    return sqlite3_create_function_v2(db, "tessarine_jet_source", 0, SQLITE_UTF8, source.release(),
                                      NoValue, nullptr, nullptr, ReleaseSource) == SQLITE_OK;
}

std::optional<ImportedDatabase> LoadChildOutput(const QByteArray& output, int imageFd) {
    FrameReader reader(output);
    auto catalogue = std::make_shared<Catalogue>();
    std::uint32_t tableCount = 0;
    if (!reader.Expect(kMagic) || !reader.U32(tableCount))
        return std::nullopt;
    for (std::uint32_t t = 0; t < tableCount; ++t) {
        QString table;
        std::uint32_t columnCount = 0;
        if (!reader.String(table) || !reader.U32(columnCount))
            return std::nullopt;
        QStringList columns;
        for (std::uint32_t c = 0; c < columnCount; ++c) {
            QString column;
            if (!reader.String(column))
                return std::nullopt;
            columns << column;
        }
        catalogue->tables << table;
        catalogue->columns.insert(table, columns);
    }
    std::uint64_t size = 0;
    if (!reader.U64(size) || !reader.Expect(kTrailer) || !reader.AtEnd())
        return std::nullopt;

    auto source = std::make_unique<JetSource>();
    source->catalogue = catalogue;
    if (size > 0) {
        source->image = MappedImage::Map(imageFd, size);
        if (!source->image)
            return std::nullopt;
    }
    unsigned char* image = source->image ? source->image->Data() : nullptr;

    sqlite3* raw = nullptr;
    const int rc =
        sqlite3_open_v2(":memory:", &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    SqliteDb db(raw);
    // The source goes first, so that the memory outlives the database read from it.
    if (rc != SQLITE_OK || !AttachSource(db.get(), std::move(source)))
        return std::nullopt;
    if (image && sqlite3_deserialize(db.get(), "main", image, sqlite3_int64(size),
                                     sqlite3_int64(size), SQLITE_DESERIALIZE_READONLY) != SQLITE_OK)
        return std::nullopt;
    if (TextCollation::Register(db.get()) != SQLITE_OK ||
        sqlite3_exec(db.get(), "PRAGMA query_only = 1", nullptr, nullptr, nullptr) != SQLITE_OK ||
        sqlite3_exec(db.get(), "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) !=
            SQLITE_OK)
        return std::nullopt;
    return ImportedDatabase{std::move(db), std::move(catalogue)};
}

ImportedDatabase ImportLocked(const LockedFile& file, const QStringList& tables,
                              const Options& options) {
    UniqueFd image(::memfd_create("tessarine-jet-copy", MFD_CLOEXEC));
    if (image.Get() < 0)
        return {};
    ChildJob job;
    job.path = file.Name();
    job.device = file.Device();
    job.inode = file.Inode();
    job.imageFd = image.Get();
    for (const QString& table : tables)
        job.tables.push_back(table.toStdString());
    // The copy is about the size of the file (Jet 4 text is UTF-16, ours UTF-8, plus indexes);
    // far more means the child has run away. The limit holds for the shared memory as well.
    const qint64 maxOutput = (qint64(64) << 20) + 16 * file.Size();
    const Isolation::Result result = Isolation::Run(
        [&job](int out) { return ImportInChild(job, out); }, options.timeLimit, maxOutput);
    if (result.outcome != Isolation::Outcome::Finished)
        return {};
    std::optional<ImportedDatabase> loaded = LoadChildOutput(result.output, image.Get());
    return loaded ? std::move(*loaded) : ImportedDatabase{};
}

} // namespace

bool HasJetSignature(const QByteArray& header) {
    if (header.size() < 20 || !header.startsWith(QByteArrayLiteral("\x00\x01\x00\x00")))
        return false;
    const QByteArray name = header.mid(4, 16);
    return name == QByteArrayLiteral("Standard Jet DB\0") ||
           name == QByteArrayLiteral("Standard ACE DB\0");
}

ImportedDatabase ImportTables(const QString& path, const QStringList& tables,
                              const Options& options) {
    std::optional<LockedFile> file = LockedFile::Open(path);
    if (!file)
        return {};
    return ImportLocked(*file, tables, options);
}

SqliteDb OpenDictionaryCopy(const QString& path, const Options& options) {
    std::optional<LockedFile> file = LockedFile::Open(path);
    if (!file)
        return nullptr;
    ImportedDatabase imported = ImportLocked(*file, kDictionaryTables, options);
    if (!imported.db)
        return nullptr;
    std::lock_guard lock(RegistryMutex());
    Registry().at(imported.db.get())->file = std::move(file);
    return std::move(imported.db);
}

std::shared_ptr<const Catalogue> CatalogueOf(sqlite3* db) {
    std::lock_guard lock(RegistryMutex());
    const auto it = Registry().find(db);
    return it == Registry().end() ? nullptr : it->second->catalogue;
}

// ---------------------------------------------------------------------------------------------

namespace Isolation {
namespace {

constexpr int kExitFailed = 3;
constexpr int kExitCalledByLibrary = 4;

// A library that calls exit() in the child would run the parent's exit handlers and flush its
// output a second time; this handler, registered last, runs first and leaves at once.
void LeaveAtOnce() {
    ::_exit(kExitCalledByLibrary);
}

// Bounds the child's memory: a damaged length or a looping chain inside libmdb would otherwise
// let it grow until the system runs short. The allowance is generous against the largest
// result the parent accepts.
void LimitMemory(qint64 maxOutput) {
    // Plain system calls: the child keeps away from anything another thread may have held.
    char text[64] = {};
    long pages = 0;
    const int statm = ::open("/proc/self/statm", O_RDONLY | O_CLOEXEC);
    if (statm >= 0) {
        if (::read(statm, text, sizeof text - 1) > 0)
            pages = std::strtol(text, nullptr, 10);
        ::close(statm);
    }
    if (pages <= 0)
        return;
    const rlim_t current = rlim_t(pages) * rlim_t(::sysconf(_SC_PAGESIZE));
    struct rlimit limit {};
    if (::getrlimit(RLIMIT_AS, &limit) != 0)
        return;
    const rlim_t wanted =
        current + (rlim_t(512) << 20) + 8 * rlim_t(std::max<qint64>(maxOutput, 0));
    if (limit.rlim_max == RLIM_INFINITY || wanted < limit.rlim_max) {
        limit.rlim_cur = wanted;
        ::setrlimit(RLIMIT_AS, &limit);
    }
}

void PrepareChild(std::chrono::milliseconds timeLimit, qint64 maxOutput) {
    sigset_t none;
    sigemptyset(&none);
    ::pthread_sigmask(SIG_SETMASK, &none, nullptr);
    for (int s : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGALRM, SIGTERM, SIGINT, SIGHUP,
                  SIGXFSZ, SIGXCPU})
        ::signal(s, SIG_DFL);
    ::signal(SIGPIPE, SIG_IGN);
    // libmdb reports damage on stderr; the parent tells the user instead.
    const int devNull = ::open("/dev/null", O_RDWR);
    if (devNull >= 0) {
        for (int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO})
            ::dup2(devNull, fd);
        if (devNull > STDERR_FILENO)
            ::close(devNull);
    }
    std::atexit(LeaveAtOnce);
    LimitMemory(maxOutput);
    // Nor may it fill a file (the shared memory of an import is one) beyond what is accepted.
    struct rlimit fileSize {};
    if (::getrlimit(RLIMIT_FSIZE, &fileSize) == 0 && maxOutput > 0 &&
        (fileSize.rlim_max == RLIM_INFINITY || rlim_t(maxOutput) < fileSize.rlim_max)) {
        fileSize.rlim_cur = rlim_t(maxOutput);
        ::setrlimit(RLIMIT_FSIZE, &fileSize);
    }
    // Should the parent die without killing it, the child still ends.
    ::alarm(unsigned(timeLimit.count() / 1000 + 2));
}

// Kills and reaps the child on every way out of Run.
class ChildProcess {
public:
    explicit ChildProcess(pid_t pid) : pid_(pid) {}
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess() {
        if (reaped_)
            return;
        ::kill(pid_, SIGKILL);
        while (::waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
        }
    }

    enum class Ended { WithStatus, UnknownStatus, NotYet };

    Ended WaitUntil(Clock::time_point deadline, int& status) {
        for (;;) {
            const pid_t r = ::waitpid(pid_, &status, WNOHANG);
            if (r == pid_) {
                reaped_ = true;
                return Ended::WithStatus;
            }
            if (r < 0 && errno != EINTR) {
                // Someone else reaped it (SIGCHLD ignored): the output has to speak for it.
                reaped_ = true;
                return Ended::UnknownStatus;
            }
            if (Clock::now() >= deadline)
                return Ended::NotYet;
            ::usleep(500);
        }
    }

private:
    pid_t pid_;
    bool reaped_ = false;
};

} // namespace

Result Run(const ChildWork& work, std::chrono::milliseconds timeLimit, qint64 maxOutput) {
    Result result;
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return result;
    UniqueFd readEnd(fds[0]);
    UniqueFd writeEnd(fds[1]);
    // Fewer, larger transfers for a large dictionary; the default size works as well.
    ::fcntl(fds[1], F_SETPIPE_SZ, 1 << 20);
    std::fflush(nullptr); // the child must not inherit half-written output and repeat it
    const Clock::time_point deadline = Clock::now() + timeLimit;
    const pid_t pid = ::fork();
    if (pid < 0)
        return result;
    if (pid == 0) {
        ::close(fds[0]);
        PrepareChild(timeLimit, maxOutput);
        bool ok = false;
        try {
            ok = work(fds[1]);
        } catch (...) {
            ok = false;
        }
        ::_exit(ok ? 0 : kExitFailed);
    }
    writeEnd.Reset();
    ChildProcess child(pid);

    std::vector<char> buffer(size_t(1) << 16);
    for (;;) {
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            result.outcome = Outcome::TimedOut;
            return result;
        }
        pollfd pfd{readEnd.Get(), POLLIN, 0};
        const int ready = ::poll(&pfd, 1, int(std::min<long long>(left, INT_MAX)));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0)
            return result;
        if (ready == 0)
            continue;
        const ssize_t n = ::read(readEnd.Get(), buffer.data(), buffer.size());
        if (n < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (n < 0)
            return result;
        if (n == 0)
            break;
        if (result.output.size() + n > maxOutput) {
            result.output.clear();
            result.outcome = Outcome::TooMuchOutput;
            return result;
        }
        result.output.append(buffer.data(), qsizetype(n));
    }

    int status = 0;
    switch (child.WaitUntil(deadline, status)) {
    case ChildProcess::Ended::NotYet:
        result.outcome = Outcome::TimedOut;
        break;
    case ChildProcess::Ended::UnknownStatus:
        result.outcome = Outcome::Finished;
        break;
    case ChildProcess::Ended::WithStatus:
        if (WIFSIGNALED(status))
            result.outcome = WTERMSIG(status) == SIGALRM ? Outcome::TimedOut : Outcome::Crashed;
        else
            result.outcome =
                WIFEXITED(status) && WEXITSTATUS(status) == 0 ? Outcome::Finished : Outcome::Failed;
        break;
    }
    if (result.outcome != Outcome::Finished)
        result.output.clear();
    return result;
}

} // namespace Isolation

} // namespace JetImport
