#include "base/files/SystemPath.h"

#include "base/text/Utf.h"

#include <cstring>

bool PathToSystem(const unsigned short* path, std::string& out)
{
    out.clear();
    if (path == nullptr || path[0] == 0)
        return false;
    int units = 0;
    while (path[units] != 0) {
        // Each unit becomes at most three bytes; far longer input cannot fit.
        if (units >= kMaxSystemPathBytes)
            return false;
        ++units;
    }
    unsigned char* utf8 = nullptr;
    const int n = Unicode2UTF8(path, &utf8, units, true);
    bool ok = false;
    if (utf8 != nullptr && n > 0 && n < kMaxSystemPathBytes) {
        try {
            out.assign(reinterpret_cast<const char*>(utf8), static_cast<size_t>(n));
            ok = true;
        } catch (...) {
            out.clear();
        }
    }
    delete[] utf8;
    return ok;
}

std::string PathToSystem(const unsigned short* path)
{
    std::string out;
    PathToSystem(path, out);
    return out;
}

std::string PathToSystem(const char* path)
{
    if (path == nullptr)
        return std::string();
    const size_t n = std::strlen(path);
    if (n >= static_cast<size_t>(kMaxSystemPathBytes))
        return std::string();
    return std::string(path, n);
}
