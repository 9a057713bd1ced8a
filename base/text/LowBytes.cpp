#include "base/text/LowBytes.h"

#include <cstddef>

std::string LowBytes(const unsigned short* text, int n)
{
    std::string out;
    if (!text)
        return out;
    if (n < 0)
        for (n = 0; text[n] != 0;)
            ++n;
    out.resize(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        out[static_cast<std::size_t>(i)] = static_cast<char>(LowByte(text[i]));
    return out;
}

bool NarrowExactly(const unsigned short* text, std::string& out)
{
    out.clear();
    if (!text)
        return false;
    for (const unsigned short* p = text; *p != 0; ++p) {
        if (!NarrowsExactly(*p)) {
            out.clear();
            return false;
        }
        out += static_cast<char>(*p);
    }
    return true;
}
