// Text and dates as Jet stores them, turned into UTF-8 and ISO 8601 for the copy.
#pragma once

#include "data/MdbHandles.h"

#include <cstddef>
#include <optional>
#include <string>

namespace JetImport {

// libmdb converts Jet 3 text from the code page in the file header, but it maps code page 932
// to iconv's strict SHIFT-JIS, which turns every backslash into a yen sign (and the markup of
// our descriptions with it) and rejects the vendor characters (①, ㈱ ...) that Windows
// writes. Jet 4 text is UTF-16, which libmdb reads as UCS-2 and so loses characters outside
// the basic plane. Both conversions are replaced by the right ones before anything is read,
// also the catalogue's names; the values of Jet 4 rows are then converted by Utf16ToUtf8.
bool UseCorrectTextConversion(MdbHandle* mdb);

// Jet 4 text is UTF-16, or after the marker FF FE its compressed form: there each byte is a
// character below U+0100, and a zero byte switches to plain two-byte characters and back.
// Converted here rather than by iconv: it is simple, and iconv took a large share of the time
// that reading a big dictionary takes. A surrogate without its partner becomes U+FFFD.
std::string Utf16ToUtf8(const unsigned char* p, std::size_t size);

// A Jet date: days since 30 December 1899, the fraction being the time of day (also for days
// before, where it counts forward from midnight). Written as ISO 8601 text; nothing outside
// the years 100 to 9999 that Jet accepts.
std::optional<std::string> JetDateText(double value);

} // namespace JetImport
