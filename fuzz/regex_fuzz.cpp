// RegExMatch with fuzzed patterns and texts in all three forms. Patterns come
// from style definitions, so a pattern must neither crash nor hang. The
// UTF-16 forms must agree with the 8-bit form on ASCII, and a text holding a
// unit above 0xFF never matches an 8-bit pattern, which cannot hold it.

#include "fuzz/FuzzText.h"

#include "base/text/RegEx.h"

#include <string>
#include <vector>

namespace {

bool AllAscii(const std::vector<unsigned short>& u)
{
    for (unsigned short c : u)
        if (c >= 0x80)
            return false;
    return true;
}

bool AnyAbove(const std::vector<unsigned short>& u, unsigned short limit)
{
    for (unsigned short c : u)
        if (c > limit)
            return true;
    return false;
}

std::string Narrow(const std::vector<unsigned short>& u)
{
    std::string s;
    for (size_t i = 0; i + 1 < u.size(); ++i)
        s += static_cast<char>(u[i]);
    return s;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 1024)
        return 0;
    FuzzedDataProvider fdp(data, size);
    // Patterns stay short: the matcher's cost grows with the pattern, and
    // what is wanted here is every construct, not long ones.
    const std::string pattern = qmfuzz::ConsumeBytes(fdp, 40);
    std::vector<unsigned short> wideText = qmfuzz::ConsumeU16(fdp, 200);
    const std::string text = qmfuzz::ConsumeBytes(fdp, 200);

    const bool plain = RegExMatch(text.c_str(), pattern.c_str());
    QM_FUZZ_CHECK(!RegExMatch(static_cast<const char*>(nullptr), pattern.c_str()));
    QM_FUZZ_CHECK(!RegExMatch(text.c_str(), static_cast<const char*>(nullptr)));

    std::vector<unsigned short> widePattern = qmfuzz::Widen(pattern);
    std::vector<unsigned short> widened = qmfuzz::Widen(text);
    if (AllAscii(widened) && AllAscii(widePattern)) {
        QM_FUZZ_CHECK(RegExMatch(widened.data(), pattern.c_str()) == plain);
        QM_FUZZ_CHECK(RegExMatch(widened.data(), widePattern.data()) == plain);
    }

    const bool wide = RegExMatch(wideText.data(), pattern.c_str());
    if (AnyAbove(wideText, 0xFF))
        QM_FUZZ_CHECK(!wide);
    else if (AllAscii(wideText) && AllAscii(widePattern))
        QM_FUZZ_CHECK(wide == RegExMatch(Narrow(wideText).c_str(), pattern.c_str()));
    (void)RegExMatch(wideText.data(), widePattern.data());
    return 0;
}
