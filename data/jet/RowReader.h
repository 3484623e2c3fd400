// Reading a row's values from the page libmdb loaded: text, numbers, dates and long values.
#pragma once

#include "data/MdbHandles.h"
#include "data/jet/PageLayout.h"
#include "data/jet/TextConversion.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace JetImport {

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
        bytesRead_ += size;
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

    // Bytes of text and binary values read so far, to bound what one table may bring.
    std::uint64_t BytesRead() const { return bytesRead_; }
    void CountBinary(size_t size) { bytesRead_ += size; }

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
    mutable std::uint64_t bytesRead_ = 0;
    std::unordered_map<std::uint32_t, std::vector<unsigned char>> pages_;
};

// A Jet date: days since 30 December 1899, the fraction being the time of day (also for days
// before, where it counts forward from midnight). Written as ISO 8601 text; nothing outside

// Binds one field of the current row, as libmdb located it on the page, to its parameter.
bool BindValue(sqlite3_stmt* stmt, int index, JetReader& reader, const MdbColumn* column,
               const MdbField& field);

} // namespace JetImport
