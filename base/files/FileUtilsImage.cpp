// Picture format detection.

#include "base/files/FileUtilsImage.h"

#include <string>
#include <vector>

#include "base/files/SystemPath.h"
#include "base/shims/FileShims.h"
#include "base/text/SafeBuf.h"

namespace {

int JpegType(const unsigned char* b, long size)
{
    const long limit = size - 10;
    long pos = -1;
    for (long i = 0; i < limit; ++i) {
        if (b[i] == 0xFF && b[i + 1] == 0xD8 && b[i + 2] == 0xFF) {
            pos = i + 2;
            break;
        }
    }
    if (pos < 0)
        return 0;
    // Walk the segments: a marker is 0xFF followed by a byte other than 0xFF;
    // a segment's big-endian length counts its two length bytes and data.
    while (pos < limit) {
        if (b[pos] == 0xFF && b[pos + 1] != 0xFF) {
            unsigned char marker = b[pos + 1];
            if (marker >= 0xC0 && marker <= 0xC3)
                return 2;
            long length = (static_cast<long>(b[pos + 2]) << 8) | b[pos + 3];
            pos += 2 + length;
        } else {
            ++pos;
        }
    }
    return 0;
}

} // namespace

int CheckImageType(const unsigned char* bytes, long size, CSafeBuf* ext)
{
    int type = 0;
    if (bytes && size >= 11) {
        if (bytes[0] == 0x89 && bytes[1] == 'P' && bytes[2] == 'N')
            type = 1;
        else if (bytes[0] == 'G' && bytes[1] == 'I' && bytes[2] == 'F')
            type = 3;
        else if (bytes[0] == 'B' && bytes[1] == 'M')
            type = 4;
        else
            type = JpegType(bytes, size);
    }
    if (ext) {
        static const char* const names[] = {"", "png", "jpg", "gif", "bmp"};
        *ext = names[type];
    }
    return type;
}

int CheckImageFileType(const unsigned char* path, CSafeBuf* ext)
{
    if (ext)
        ext->Empty();
    std::vector<unsigned char> bytes;
    if (!ReadFileBytes(PathToSystem(reinterpret_cast<const char*>(path)), bytes) || bytes.empty())
        return 0;
    return CheckImageType(bytes.data(), static_cast<long>(bytes.size()), ext);
}
