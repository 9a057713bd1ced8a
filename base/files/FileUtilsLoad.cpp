// Text files to UTF-16 by byte-order mark and zero-byte detection.

#include "base/files/FileUtilsLoad.h"

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "base/files/SystemPath.h"
#include "base/shims/FileShims.h"
#include "base/text/SafeBuf.h"
#include "base/text/U16.h"
#include "base/text/Utf.h"

namespace {

// The file's bytes; false when it cannot be opened or read, or is a folder.
// CSafeBuf counts in int; a larger file cannot be held.
bool ReadAll(const std::string& path, std::vector<unsigned char>& bytes)
{
    return ReadFileBytes(path, bytes, static_cast<size_t>(INT_MAX / 2));
}

void Decode(const std::vector<unsigned char>& b, CSafeBuf& out, bool decodeUTF8)
{
    const size_t n = b.size();
    out.Empty();
    if (n >= 2 && ((b[0] == 0xFE && b[1] == 0xFF) || (b[0] == 0xFF && b[1] == 0xFE))) {
        const bool bigEndian = b[0] == 0xFE;
        const int units = static_cast<int>((n - 2) / 2);
        out.Size(units);
        for (int i = 0; i < units; ++i) {
            unsigned char first = b[2 + 2 * i], second = b[3 + 2 * i];
            out.SetAt(i, bigEndian ? (first << 8) | second : (second << 8) | first);
        }
        return;
    }
    // n >= 3, not 4: a file of the bare mark is empty text, not the mark's three bytes widened.
    if (decodeUTF8 && n >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) {
        unsigned short* text = nullptr;
        int len = UTF82Unicode(b.data() + 3, &text, static_cast<int>(n - 3), true);
        if (text) {
            out.Copy(text, len);
            delete[] text;
        }
        return;
    }
    if (IsBufferUnicode(reinterpret_cast<const char*>(b.data()), static_cast<int>(n))) {
        // Units in the machine's byte order, up to the first zero unit.
        const int max = static_cast<int>(n / 2);
        std::vector<unsigned short> text(static_cast<size_t>(max));
        std::memcpy(text.data(), b.data(), static_cast<size_t>(max) * 2);
        int units = 0;
        while (units < max && text[static_cast<size_t>(units)] != 0)
            ++units;
        out.Copy(text.data(), units);
        return;
    }
    out.Size(static_cast<int>(n));
    for (size_t i = 0; i < n; ++i)
        out.SetAt(static_cast<int>(i), b[i]);
}

bool LoadInto(const std::string& path, CSafeBuf* out, bool decodeUTF8)
{
    try {
        std::vector<unsigned char> bytes;
        if (!ReadAll(path, bytes))
            return false;
        if (out)
            Decode(bytes, *out, decodeUTF8);
        return true;
    } catch (...) {
        return false; // out of memory
    }
}

} // namespace

bool LoadFileToBuffer(const unsigned short* path, CSafeBuf* out, bool decodeUTF8)
{
    return LoadInto(PathToSystem(path), out, decodeUTF8);
}

bool LoadFileToBuffer(const char* path, CSafeBuf* out, bool decodeUTF8)
{
    return LoadInto(PathToSystem(path), out, decodeUTF8);
}

bool LoadFileToBuffer(const unsigned short* path, unsigned short** out, bool decodeUTF8)
{
    if (out)
        *out = nullptr;
    CSafeBuf text;
    if (!LoadInto(PathToSystem(path), &text, decodeUTF8))
        return false;
    if (out)
        *out = text.CreateNew();
    return true;
}
