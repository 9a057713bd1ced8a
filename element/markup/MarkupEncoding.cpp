// UTF-16 markup with a byte-order mark, decoded into UTF-8.

#include "element/markup/MarkupEncoding.h"

namespace {

void Fail(const char* reason, long line, std::string& out, CSafeBuf& error)
{
    out.clear();
    error = "Incorrect XML<br />Reason: ";
    error += reason;
    error += "<br />Line: ";
    error.AppendInt(line);
}

void AppendUtf8(unsigned long c, std::string& out)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool IsHigh(unsigned c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLow(unsigned c) { return c >= 0xDC00 && c <= 0xDFFF; }

} // namespace

bool StartsWithUtf16Mark(const char* bytes, size_t size)
{
    if (size < 2)
        return false;
    const unsigned char a = static_cast<unsigned char>(bytes[0]), b = static_cast<unsigned char>(bytes[1]);
    return (a == 0xFF && b == 0xFE) || (a == 0xFE && b == 0xFF);
}

bool Utf16MarkupToUtf8(const char* bytes, size_t size, std::string& out, CSafeBuf& error)
{
    out.clear();
    if (!StartsWithUtf16Mark(bytes, size)) {
        Fail("no UTF-16 byte-order mark", 1, out, error);
        return false;
    }
    const auto* s = reinterpret_cast<const unsigned char*>(bytes);
    const bool little = s[0] == 0xFF;
    auto unit
        = [&](size_t i) -> unsigned { return little ? s[i] | (s[i + 1] << 8) : (s[i] << 8) | s[i + 1]; };
    out.reserve(size);
    long line = 1;
    size_t i = 2;
    for (; i + 1 < size; i += 2) {
        const unsigned c = unit(i);
        if (IsHigh(c) && i + 3 < size && IsLow(unit(i + 2))) {
            AppendUtf8(
                0x10000 + ((static_cast<unsigned long>(c) - 0xD800) << 10) + (unit(i + 2) - 0xDC00), out);
            i += 2;
            continue;
        }
        if (IsHigh(c) || IsLow(c)) {
            Fail("UTF-16 surrogate without its partner", line, out, error);
            return false;
        }
        line += c == '\n';
        AppendUtf8(c, out);
    }
    if (i < size) {
        Fail("UTF-16 text ends in half a character", line, out, error);
        return false;
    }
    return true;
}
