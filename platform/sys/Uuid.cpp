#include "platform/sys/Uuid.h"

#include <cstdio>
#include <random>

namespace qm::sys {

namespace {

bool ReadRandom(unsigned char* bytes, size_t n)
{
    FILE* f = std::fopen("/dev/urandom", "rb");
    if (!f)
        return false;
    const bool ok = std::fread(bytes, 1, n, f) == n;
    std::fclose(f);
    return ok;
}

} // namespace

std::string NewUuidString()
{
    unsigned char b[16] = {};
    if (!ReadRandom(b, sizeof b)) {
        static std::mt19937_64 gen{std::random_device{}()};
        for (unsigned char& c : b)
            c = static_cast<unsigned char>(gen());
    }
    b[6] = static_cast<unsigned char>((b[6] & 0x0F) | 0x40); // version 4
    b[8] = static_cast<unsigned char>((b[8] & 0x3F) | 0x80); // variant 1
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(36);
    for (int i = 0; i < 16; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10)
            out += '-';
        out += digits[b[i] >> 4];
        out += digits[b[i] & 0x0F];
    }
    return out;
}

} // namespace qm::sys
