#include "data/TextCollation.h"

#include "data/JetPattern.h"

#include <string>

namespace TextCollation {
namespace {

constexpr char32_t kSortsLast = 0xFF9D; // half-width katakana N
constexpr char32_t kAboveEverything = 0x110000;

char32_t SortValue(char32_t c) {
    return c == kSortsLast ? kAboveEverything : TextFolding::Fold(c);
}

// Reads one code point; malformed bytes count as U+FFFD so that comparison stays total.
char32_t NextCodePoint(const unsigned char*& p, const unsigned char* end) {
    const unsigned char b = *p++;
    if (b < 0x80)
        return b;
    int extra = (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : -1;
    if (extra < 0 || end - p < extra)
        return 0xFFFD;
    char32_t cp = b & (0x3F >> extra);
    for (int i = 0; i < extra; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0xFFFD;
        cp = (cp << 6) | (p[i] & 0x3F);
    }
    p += extra;
    return cp;
}

int CollationCallback(void*, int aLength, const void* a, int bLength, const void* b) {
    return Compare(static_cast<const char*>(a), aLength, static_cast<const char*>(b), bLength);
}

void DeletePattern(void* pattern) {
    delete static_cast<JetPattern*>(pattern);
}

std::u32string_view DecodeArgument(sqlite3_value* value, std::u32string& buffer) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
    TextFolding::DecodeUtf8(std::string_view(text, size_t(sqlite3_value_bytes(value))), buffer);
    return buffer;
}

// like(pattern, text): SQLite hands "text LIKE pattern" to this function. The compiled pattern
// is kept with the statement, so a scan compiles it once.
void LikeFunction(sqlite3_context* context, int argc, sqlite3_value** argv) {
    if (argc != 2 || sqlite3_value_type(argv[0]) == SQLITE_NULL ||
        sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    thread_local std::u32string subject;
    if (const auto* cached = static_cast<const JetPattern*>(sqlite3_get_auxdata(context, 0))) {
        sqlite3_result_int(context, cached->Matches(DecodeArgument(argv[1], subject)) ? 1 : 0);
        return;
    }
    std::u32string patternText;
    std::optional<JetPattern> compiled = JetPattern::Compile(DecodeArgument(argv[0], patternText));
    if (!compiled) {
        sqlite3_result_error(context, "invalid pattern string", -1);
        return;
    }
    const bool matches = compiled->Matches(DecodeArgument(argv[1], subject));
    sqlite3_set_auxdata(context, 0, new JetPattern(std::move(*compiled)), DeletePattern);
    sqlite3_result_int(context, matches ? 1 : 0);
}

} // namespace

int Compare(const char* a, int aLength, const char* b, int bLength) {
    const auto* pa = reinterpret_cast<const unsigned char*>(a);
    const auto* pb = reinterpret_cast<const unsigned char*>(b);
    const auto* endA = pa + aLength;
    const auto* endB = pb + bLength;
    while (pa < endA && pb < endB) {
        // Plain ASCII letters and digits are most of every key: compare them without decoding.
        if (*pa < 0x80 && *pb < 0x80) {
            unsigned char ca = *pa++;
            unsigned char cb = *pb++;
            if (ca >= 'a' && ca <= 'z')
                ca -= 'a' - 'A';
            if (cb >= 'a' && cb <= 'z')
                cb -= 'a' - 'A';
            if (ca != cb)
                return ca < cb ? -1 : 1;
            continue;
        }
        const char32_t ca = SortValue(NextCodePoint(pa, endA));
        const char32_t cb = SortValue(NextCodePoint(pb, endB));
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (pa < endA)
        return 1;
    if (pb < endB)
        return -1;
    return 0;
}

int Compare(const QString& a, const QString& b) {
    const QByteArray ua = a.toUtf8();
    const QByteArray ub = b.toUtf8();
    return Compare(ua.constData(), int(ua.size()), ub.constData(), int(ub.size()));
}

int Register(sqlite3* db) {
    int rc =
        sqlite3_create_collation_v2(db, kName, SQLITE_UTF8, nullptr, CollationCallback, nullptr);
    if (rc != SQLITE_OK)
        return rc;
    return sqlite3_create_function_v2(db, "like", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                      LikeFunction, nullptr, nullptr, nullptr);
}

} // namespace TextCollation
