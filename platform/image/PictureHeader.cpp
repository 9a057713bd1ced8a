#include "platform/image/PictureHeader.h"

#include <cstdint>
#include <cstring>

#include "platform/image/ByteOrder.h"
#include "platform/image/IconFamily.h"

namespace qm::image {

namespace {

PictureHeader Declared(PictureFormat format, long long width, long long height)
{
    PictureHeader header;
    header.format = format;
    header.width = width;
    header.height = height;
    return header;
}

PictureHeader Png(const unsigned char* b, std::size_t size)
{
    static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (size < 24 || std::memcmp(b, kSignature, 8) != 0 || BigEndian32(b + 8) != 13
        || std::memcmp(b + 12, "IHDR", 4) != 0)
        return {};
    return Declared(PictureFormat::Png, BigEndian32(b + 16), BigEndian32(b + 20));
}

// The segments are walked as the decoder reads them: a marker is 0xFF (any
// number of them) and a marker byte; bytes between segments are skipped;
// restart markers stand alone; every other segment carries a big-endian
// length that counts its two length bytes. The first start-of-frame gives the
// size; a scan, an image end or a second image start before it means none.
PictureHeader Jpeg(const unsigned char* b, std::size_t size)
{
    if (size < 4 || b[0] != 0xFF || b[1] != 0xD8)
        return {};
    std::size_t i = 2;
    while (i < size) {
        if (b[i] != 0xFF) {
            ++i;
            continue;
        }
        while (i < size && b[i] == 0xFF)
            ++i;
        if (i >= size)
            break;
        const unsigned char marker = b[i];
        if (marker == 0x00 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            ++i;
            continue;
        }
        if (marker == 0xD8 || marker == 0xD9 || marker == 0xDA || size - i < 3)
            break;
        const std::size_t length = BigEndian16(b + i + 1);
        const bool frame
            = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (length < 8 || size - i < 8)
                break;
            return Declared(PictureFormat::Jpeg, BigEndian16(b + i + 6), BigEndian16(b + i + 4));
        }
        if (length < 2)
            break;
        i += 1 + length;
    }
    return {};
}

PictureHeader Gif(const unsigned char* b, std::size_t size)
{
    if (size < 10 || (std::memcmp(b, "GIF87a", 6) != 0 && std::memcmp(b, "GIF89a", 6) != 0))
        return {};
    return Declared(PictureFormat::Gif, LittleEndian16(b + 6), LittleEndian16(b + 8));
}

// The file header (14 bytes: "BM", file length, two reserved fields, offset
// of the pixel data) and the information header, whose first field is its own
// length. The decoder reads as many bytes as that length, the pixel offset
// and the count of colours used say (four bytes a colour) before it looks at
// the picture's size, so all three are held to the bytes actually there.
PictureHeader Bmp(const unsigned char* b, std::size_t size)
{
    if (size < 18 || b[0] != 'B' || b[1] != 'M')
        return {};
    const std::uint32_t info = LittleEndian32(b + 14);
    static const std::uint32_t kInfoLengths[] = {12, 40, 52, 56, 64, 108, 124};
    bool known = false;
    for (std::uint32_t length : kInfoLengths)
        known = known || info == length;
    const std::uint32_t offset = LittleEndian32(b + 10);
    if (!known || size < 14 + info || offset < 14 + info || offset > size)
        return {};
    const bool core = info == 12; // the oldest header: 16-bit sizes, no colour count
    const std::uint32_t bits = LittleEndian16(b + (core ? 24 : 28));
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return {};
    if (core)
        return Declared(PictureFormat::Bmp, LittleEndian16(b + 18), LittleEndian16(b + 20));
    if (4ULL * LittleEndian32(b + 46) > size)
        return {};
    const long long width = static_cast<std::int32_t>(LittleEndian32(b + 18));
    const long long height = static_cast<std::int32_t>(LittleEndian32(b + 22));
    return Declared(PictureFormat::Bmp, width, height < 0 ? -height : height);
}

} // namespace

PictureHeader ReadPictureHeader(const unsigned char* bytes, std::size_t size)
{
    if (!bytes || size < 4)
        return {};
    switch (bytes[0]) {
    case 0x89: return Png(bytes, size);
    case 0xFF: return Jpeg(bytes, size);
    case 'G': return Gif(bytes, size);
    case 'B': return Bmp(bytes, size);
    case 'i':
        return ParseIconFamily(bytes, size) ? Declared(PictureFormat::IconFamily, 0, 0) : PictureHeader{};
    default: return {};
    }
}

} // namespace qm::image
