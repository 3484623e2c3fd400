// Little-endian fields and the limits of Jet's page layout that the import relies on.
#pragma once

#include <cstdint>

namespace JetImport {

inline constexpr int kOffsetMask = 0x1FFF;   // row offsets carry flags in their top bits
inline constexpr unsigned kMaxColumns = 255; // Jet's own limit; more means a damaged definition
inline constexpr std::uint32_t kMaxLongValue = 0x3FFFFFFF;

inline std::uint16_t Le16(const unsigned char* p) {
    return std::uint16_t(p[0] | (p[1] << 8));
}
inline std::uint32_t Le32(const unsigned char* p) {
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
           (std::uint32_t(p[3]) << 24);
}
inline std::uint64_t Le64(const unsigned char* p) {
    return std::uint64_t(Le32(p)) | (std::uint64_t(Le32(p + 4)) << 32);
}

} // namespace JetImport
