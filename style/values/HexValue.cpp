#include "style/values/HexValue.h"

#include "base/codec/Hex.h"
#include "base/text/Ascii.h"

static_assert(sizeof(long) >= 8, "HexDec needs a long that holds 0xFFFFFFFF as a positive value");

long HexDec(const unsigned short* text)
{
    if (!text)
        return -1;
    long value = 0;
    int digits = 0;
    for (; *text && digits < 8; ++text) {
        if (IsAsciiHexDigit(*text)) {
            value = value * 16 + CHex::DeHex(*text);
            ++digits;
        }
    }
    return digits > 0 ? value : -1;
}
