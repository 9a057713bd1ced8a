#pragma once
// Reading 16- and 32-bit unsigned fields of picture headers, in either byte
// order. The caller has checked that the bytes are there.

#include <cstdint>

namespace qm::image {

inline std::uint32_t BigEndian16(const unsigned char* p) { return (std::uint32_t(p[0]) << 8) | p[1]; }

inline std::uint32_t BigEndian32(const unsigned char* p)
{
    return (BigEndian16(p) << 16) | BigEndian16(p + 2);
}

inline std::uint32_t LittleEndian16(const unsigned char* p) { return p[0] | (std::uint32_t(p[1]) << 8); }

inline std::uint32_t LittleEndian32(const unsigned char* p)
{
    return LittleEndian16(p) | (LittleEndian16(p + 2) << 16);
}

} // namespace qm::image
