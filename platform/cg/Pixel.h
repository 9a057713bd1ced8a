#pragma once
// Named access to the pixels of bitmap memory. A pixel is one native-endian
// 32-bit word, alpha in the top byte then red, green and blue, colours
// premultiplied by alpha (the layout of cairo's ARGB32). Rows are
// `bytesPerRow` bytes apart, the top row first. Code that reads or writes
// channels goes through these functions, never through byte offsets.

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace qm::cg {

// Channels as stored: premultiplied.
struct Pixel
{
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
    std::uint8_t alpha;
};

inline Pixel ReadPixel(const void* data, std::size_t bytesPerRow, int x, int row)
{
    std::uint32_t v;
    std::memcpy(&v,
        static_cast<const unsigned char*>(data) + bytesPerRow * static_cast<std::size_t>(row)
            + static_cast<std::size_t>(x) * 4,
        4);
    return Pixel{static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 8),
        static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 24)};
}

inline void WritePixel(void* data, std::size_t bytesPerRow, int x, int row, Pixel p)
{
    std::uint32_t v = (std::uint32_t(p.alpha) << 24) | (std::uint32_t(p.red) << 16)
        | (std::uint32_t(p.green) << 8) | std::uint32_t(p.blue);
    std::memcpy(static_cast<unsigned char*>(data) + bytesPerRow * static_cast<std::size_t>(row)
            + static_cast<std::size_t>(x) * 4,
        &v, 4);
}

// The stored (premultiplied) form of a straight colour, rounded to nearest.
inline Pixel Premultiply(Pixel p)
{
    auto pre
        = [&](std::uint8_t c) { return static_cast<std::uint8_t>((unsigned(c) * p.alpha + 127u) / 255u); };
    return Pixel{pre(p.red), pre(p.green), pre(p.blue), p.alpha};
}

// Straight (not premultiplied) colour of a stored pixel.
inline Pixel Unpremultiply(Pixel p)
{
    if (p.alpha == 0)
        return Pixel{0, 0, 0, 0};
    if (p.alpha == 255)
        return p;
    auto un = [&](std::uint8_t c) {
        unsigned v = (unsigned(c) * 255u + p.alpha / 2u) / p.alpha;
        return static_cast<std::uint8_t>(v > 255u ? 255u : v);
    };
    return Pixel{un(p.red), un(p.green), un(p.blue), p.alpha};
}

} // namespace qm::cg
