// Jet text through the right code page or straight from UTF-16, and Jet dates as text.
#include "data/jet/TextConversion.h"

#include <cmath>
#include <cstdio>
#include <iconv.h>

namespace JetImport {
namespace {

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

} // namespace

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

} // namespace JetImport
