// The zero-terminated UTF-16 string functions on fuzzed text: copies,
// comparisons (checked for symmetry), searches, case, numbers and the
// 8-bit converters.

#include "fuzz/FuzzText.h"

#include "base/text/U16.h"

#include <cstring>
#include <memory>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider fdp(data, size);
    std::vector<unsigned short> a = qmfuzz::ConsumeU16(fdp, 120);
    std::vector<unsigned short> b = qmfuzz::ConsumeU16(fdp, 40);
    std::string n8 = qmfuzz::ConsumeBytes(fdp, 120);
    std::string m8 = qmfuzz::ConsumeBytes(fdp, 40);
    const int la = static_cast<int>(a.size()) - 1, lb = static_cast<int>(b.size()) - 1;

    QM_FUZZ_CHECK(U16len(a.data()) == la);
    QM_FUZZ_CHECK(U16len(n8.c_str()) == static_cast<int>(n8.size()));

    // Copies and concatenation into a buffer that is large enough.
    std::vector<unsigned short> dst(a.size() + b.size() + n8.size() + 8, 0x5555);
    U16cpy(dst.data(), a.data());
    QM_FUZZ_CHECK(U16cmp(dst.data(), a.data()) == 0);
    QM_FUZZ_CHECK(U16cat(dst.data(), b.data()) == lb);
    QM_FUZZ_CHECK(U16len(dst.data()) == la + lb);
    QM_FUZZ_CHECK(U16cat(dst.data(), n8.c_str()) == static_cast<int>(n8.size()));
    U16cpy(dst.data(), n8.c_str());
    int k = fdp.ConsumeIntegralInRange<int>(0, la);
    U16ncpy(dst.data(), a.data(), k);
    QM_FUZZ_CHECK(dst[k] == 0);
    U16ncpy(dst.data() + 1, dst.data(), k > 0 ? k - 1 : 0); // overlapping
    int k8 = fdp.ConsumeIntegralInRange<int>(0, static_cast<int>(n8.size()));
    U16ncpy(dst.data(), n8.c_str(), k8);

    // Comparisons answer -1, 0 or 1 and are antisymmetric.
    int ab = U16cmp(a.data(), b.data()), ba = U16cmp(b.data(), a.data());
    QM_FUZZ_CHECK(ab >= -1 && ab <= 1 && ab == -ba);
    int i1 = U16icmp(a.data(), b.data());
    QM_FUZZ_CHECK(i1 >= -1 && i1 <= 1);
    QM_FUZZ_CHECK(U16icmp(a.data(), a.data()) == 0);
    (void)U16cmp(n8.c_str(), b.data());
    (void)U16cmp(a.data(), m8.c_str());
    (void)U16icmp(a.data(), m8.c_str());
    (void)U16icmp(n8.c_str(), b.data());
    int n = fdp.ConsumeIntegralInRange<int>(0, la < lb ? la + 1 : lb + 1);
    int c1 = U16ncmp(a.data(), b.data(), n);
    QM_FUZZ_CHECK(c1 == -U16ncmp(b.data(), a.data(), n));
    int c2 = U16nicmp(a.data(), b.data(), n);
    QM_FUZZ_CHECK(c2 == -U16nicmp(b.data(), a.data(), n));
    int n2 = fdp.ConsumeIntegralInRange<int>(
        0, la < static_cast<int>(m8.size()) ? la + 1 : static_cast<int>(m8.size()) + 1);
    (void)U16ncmp(a.data(), m8.c_str(), n2);
    (void)U16nicmp(a.data(), m8.c_str(), n2);

    // Searching.
    unsigned short* found = U16str(a.data(), b.data());
    if (found) {
        QM_FUZZ_CHECK(found >= a.data() && found + lb <= a.data() + la);
        QM_FUZZ_CHECK(U16ncmp(found, b.data(), lb) == 0);
    }
    found = U16str(a.data(), m8.c_str());
    if (found)
        QM_FUZZ_CHECK(found >= a.data() && found <= a.data() + la);
    int ch = fdp.ConsumeIntegral<int>();
    found = U16chr(a.data(), ch);
    if (found)
        QM_FUZZ_CHECK(found >= a.data() && found < a.data() + la);

    // Numbers.
    (void)U16toi(a.data());
    (void)u2f(a.data());
    std::vector<unsigned short> wn = qmfuzz::Widen(n8);
    (void)U16toi(wn.data());
    (void)u2f(wn.data());

    // Case, trimming.
    std::vector<unsigned short> up = a;
    U16upr(up.data());
    U16lwr(up.data());
    QM_FUZZ_CHECK(U16icmp(up.data(), a.data()) == 0);
    std::string s8 = n8;
    strupr(&s8[0]);
    strlwr(&s8[0]);
    TrimStr(&s8[0], fdp.ConsumeBool());

    // Converters.
    std::unique_ptr<unsigned short[]> w(ConvertCharToTChar(n8.c_str()));
    if (w)
        QM_FUZZ_CHECK(U16len(w.get()) == static_cast<int>(n8.size()));
    std::unique_ptr<unsigned short[]> d(U16dup(a.data()));
    if (d)
        QM_FUZZ_CHECK(U16cmp(d.get(), a.data()) == 0);
    std::unique_ptr<char[]> c(ConvertTCharToChar(a.data()));
    std::unique_ptr<unsigned int[]> u32(AnsiToUnicode(n8.c_str()));
    (void)DoesContainUnicode(a.data());

    std::vector<unsigned short> wide(n8.size() + 1, 0);
    std::vector<unsigned char> narrow(n8.begin(), n8.end());
    narrow.push_back(0);
    long cnt = fdp.ConsumeIntegralInRange<long>(-1, static_cast<long>(n8.size()));
    CopyBetweenUnicodeAndAnsi(wide.data(), narrow.data(), cnt, true);
    CopyBetweenUnicodeAndAnsi(wide.data(), narrow.data(), cnt, false);

    std::vector<char> raw = fdp.ConsumeRemainingBytes<char>();
    int rs = raw.empty() ? 0 : fdp.ConsumeIntegralInRange<int>(-1, static_cast<int>(raw.size()));
    (void)IsBufferUnicode(raw.data(), rs < 0 ? 0 : rs);
    return 0;
}
