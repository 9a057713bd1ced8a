#include "platform/input/TwoByte.h"

#include <iconv.h>

#include <vector>

namespace qm::input {

namespace {

bool Decode(const char* encoding, const std::uint8_t* bytes, std::size_t count, std::u16string& out)
{
    out.clear();
    if (count == 0)
        return true;
    if (!bytes)
        return false;
    iconv_t cd = iconv_open("UTF-16LE", encoding);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    bool ok = true;
    try {
        // Each input byte gives at most one UTF-16 unit; a four-byte
        // character gives a pair.
        std::vector<char> buffer(count * 2 + 4);
        std::vector<char> input(bytes, bytes + count);
        char* in = input.data();
        std::size_t inLeft = input.size();
        char* outp = buffer.data();
        std::size_t outLeft = buffer.size();
        if (iconv(cd, &in, &inLeft, &outp, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0)
            ok = false;
        // Flush any shift state: a sequence cut short fails here.
        if (ok && iconv(cd, nullptr, nullptr, &outp, &outLeft) == static_cast<std::size_t>(-1))
            ok = false;
        if (ok) {
            const std::size_t produced = buffer.size() - outLeft;
            for (std::size_t i = 0; i + 1 < produced; i += 2)
                out += static_cast<char16_t>(
                    static_cast<unsigned char>(buffer[i]) | (static_cast<unsigned char>(buffer[i + 1]) << 8));
        }
    } catch (...) {
        ok = false;
    }
    iconv_close(cd);
    if (!ok)
        out.clear();
    return ok;
}

} // namespace

bool DecodeSimplifiedChinese(const std::uint8_t* bytes, std::size_t count, std::u16string& out)
{
    return Decode("GB2312", bytes, count, out);
}

bool DecodeJapanese(const std::uint8_t* bytes, std::size_t count, std::u16string& out)
{
    return Decode("SHIFT_JIS", bytes, count, out);
}

bool DecodeTwoByteCharacter(std::uint8_t lead, std::uint8_t trail, char16_t& out)
{
    const std::uint8_t pair[2] = {lead, trail};
    std::u16string text;
    bool ok = lead > 160 && DecodeSimplifiedChinese(pair, 2, text) && !text.empty();
    if (!ok)
        ok = DecodeJapanese(pair, 2, text) && !text.empty();
    if (ok)
        out = text[0];
    return ok;
}

} // namespace qm::input
