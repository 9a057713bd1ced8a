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

namespace detail {

// UnpremultiplyRow for 3 or 4 channels, a constant so that the loop over
// opaque pixels has no branch.
template <int kChannels>
bool UnpremultiplyRowTo(const unsigned char* in, int count, unsigned char* out)
{
    std::uint32_t opaque = 0xFF000000u;
    for (int i = 0; i < count; ++i) {
        std::uint32_t v;
        std::memcpy(&v, in + std::size_t(i) * 4, 4);
        opaque &= v;
        unsigned char* o = out + std::size_t(i) * kChannels;
        o[0] = static_cast<std::uint8_t>(v >> 16);
        o[1] = static_cast<std::uint8_t>(v >> 8);
        o[2] = static_cast<std::uint8_t>(v);
        if (kChannels == 4)
            o[3] = static_cast<std::uint8_t>(v >> 24);
    }
    if (opaque == 0xFF000000u)
        return true;
    for (int i = 0; i < count; ++i) {
        const Pixel p = Unpremultiply(ReadPixel(in, 0, i, 0));
        unsigned char* o = out + std::size_t(i) * kChannels;
        o[0] = p.red;
        o[1] = p.green;
        o[2] = p.blue;
        if (kChannels == 4)
            o[3] = p.alpha;
    }
    return false;
}

} // namespace detail

// Converts `count` stored pixels from `src` (one row of bitmap memory) to
// straight RGBA bytes, 4 a pixel, at `out`; with `alpha` false to RGB
// bytes, 3 a pixel, leaving alpha out. True when every pixel was opaque.
// Nearly every pixel of a document is opaque and needs no division: one
// pass of shifts converts the row, and only a row with other pixels is
// converted again, pixel by pixel.
inline bool UnpremultiplyRow(const void* src, int count, unsigned char* out, bool alpha)
{
    const unsigned char* in = static_cast<const unsigned char*>(src);
    return alpha ? detail::UnpremultiplyRowTo<4>(in, count, out)
                 : detail::UnpremultiplyRowTo<3>(in, count, out);
}

} // namespace qm::cg
