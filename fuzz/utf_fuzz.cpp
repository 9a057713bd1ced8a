// UTF-8 <-> UTF-16 conversions on fuzzed bytes and units. Decoding any bytes
// and encoding any units must stay in bounds; encoding then decoding valid
// UTF-16 (and decoding then re-encoding valid UTF-8) must be lossless.

#include "fuzz/FuzzText.h"

#include "base/text/Utf.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// Releases an output with the allocator its flag asked for.
template <typename T>
void Release(T* p, bool useNew)
{
    if (useNew)
        delete[] p;
    else
        std::free(p);
}

// Valid UTF-16 that the decoder keeps: the noncharacters U+FFFE and U+FFFF
// are dropped by design (XML does not allow them either).
bool ValidUtf16(const unsigned short* u, int n)
{
    for (int i = 0; i < n; ++i) {
        if (u[i] == 0xFFFE || u[i] == 0xFFFF)
            return false;
        if (u[i] >= 0xD800 && u[i] <= 0xDBFF) {
            if (i + 1 >= n || u[i + 1] < 0xDC00 || u[i + 1] > 0xDFFF)
                return false;
            ++i;
        } else if (u[i] >= 0xDC00 && u[i] <= 0xDFFF) {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 4096)
        return 0;
    const bool useNew = size % 2 == 0;
    const int n = static_cast<int>(size);

    // Any bytes as UTF-8.
    unsigned short* units = nullptr;
    int nu = UTF82Unicode(data, &units, n, useNew);
    QM_FUZZ_CHECK(nu >= 0 && nu <= n);
    QM_FUZZ_CHECK(units != nullptr || nu == 0);
    if (units) {
        QM_FUZZ_CHECK(units[nu] == 0 || std::memchr(data, 0, size) != nullptr);
        // A malformed byte never takes another with it: every ASCII byte of
        // the input is decoded as itself (bytes of a sequence are above 0x7F).
        QM_FUZZ_CHECK(std::count_if(data, data + size, [](uint8_t b) { return b > 0 && b < 0x80; })
            == std::count_if(units, units + nu, [](unsigned short u) { return u > 0 && u < 0x80; }));
        // The decoded units are valid UTF-16; they come back as the same units.
        QM_FUZZ_CHECK(ValidUtf16(units, nu) || std::memchr(data, 0, size) != nullptr);
        unsigned char* bytes = nullptr;
        int nb = Unicode2UTF8(units, &bytes, nu, !useNew);
        QM_FUZZ_CHECK(nb >= 0 && nb <= 3 * nu);
        unsigned short* again = nullptr;
        int na = UTF82Unicode(bytes, &again, nb, useNew);
        QM_FUZZ_CHECK(na == nu);
        QM_FUZZ_CHECK(std::memcmp(again, units, sizeof(unsigned short) * static_cast<size_t>(nu)) == 0);
        Release(again, useNew);
        Release(bytes, !useNew);
        Release(units, useNew);
    }

    // Any bytes as UTF-16 units.
    const unsigned short* in = reinterpret_cast<const unsigned short*>(data);
    std::vector<unsigned short> u16(size / 2 + 1, 0);
    std::memcpy(u16.data(), data, size / 2 * 2);
    int count = static_cast<int>(size / 2);
    unsigned char* bytes = nullptr;
    int nb = Unicode2UTF8(u16.data(), &bytes, count, useNew);
    QM_FUZZ_CHECK(nb >= 0 && nb <= 3 * count);
    if (bytes) {
        QM_FUZZ_CHECK(bytes[nb] == 0);
        unsigned short* back = nullptr;
        int nback = UTF82Unicode(bytes, &back, nb, useNew);
        if (ValidUtf16(u16.data(), count)) {
            QM_FUZZ_CHECK(nback == count);
            QM_FUZZ_CHECK(
                std::memcmp(back, u16.data(), sizeof(unsigned short) * static_cast<size_t>(count)) == 0);
        }
        Release(back, useNew);
        Release(bytes, useNew);
    }
    (void)in;

    // The 8-bit forms.
    unsigned char* latin = nullptr;
    int nl = Ansi2UTF8(reinterpret_cast<const char*>(data), &latin, n, useNew);
    QM_FUZZ_CHECK(nl >= 0 && nl <= 2 * n);
    Release(latin, useNew);
    unsigned short* widened = nullptr;
    int nw = Ansi2Unicode(data, &widened, n, useNew);
    QM_FUZZ_CHECK(nw == n || widened == nullptr);
    Release(widened, useNew);
    unsigned short* multi = nullptr;
    int nm = Multibyte2Unicode(data, &multi, n, useNew);
    QM_FUZZ_CHECK(nm == n / 2 || multi == nullptr);
    Release(multi, useNew);

    std::string s = ToUTF8String(u16.data());
    QM_FUZZ_CHECK(s.size() <= 3 * static_cast<size_t>(count));
    return 0;
}
