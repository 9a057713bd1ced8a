#include "elements/HeaderIds.h"

#include "base/text/SafeBuf.h"

#include <cstdio>

int HeaderIdPrefix(long tableId, char (&prefix)[16])
{
    char digits[2 * sizeof(unsigned long)];
    unsigned long value = static_cast<unsigned long>(tableId);
    int n = 0;
    do {
        digits[n++] = "0123456789ABCDEF"[value & 0xF];
        value >>= 4;
    } while (value != 0);
    while (n < 8)
        digits[n++] = '0';
    int length = 0;
    prefix[length++] = 't';
    prefix[length++] = 'h';
    while (n > 0 && length < static_cast<int>(sizeof prefix) - 1)
        prefix[length++] = digits[--n];
    prefix[length] = 0;
    return length;
}

void HeaderId(CSafeBuf& id, const char* prefix, int prefixLength, size_t row, int position)
{
    char text[48];
    int length = 0;
    if (row < 100 && position >= 0 && position < 100) {
        for (; length < prefixLength; ++length)
            text[length] = prefix[length];
        text[length++] = static_cast<char>('0' + row / 10);
        text[length++] = static_cast<char>('0' + row % 10);
        text[length++] = static_cast<char>('0' + position / 10);
        text[length++] = static_cast<char>('0' + position % 10);
    } else if (row < 100 && position < 100) {
        // A negative position: printed with its sign, as %02d prints it.
        length = std::snprintf(text, sizeof text, "%s%02d%02d", prefix, static_cast<int>(row), position);
    } else {
        length
            = std::snprintf(text, sizeof text, "%s%lu-%d", prefix, static_cast<unsigned long>(row), position);
    }
    if (length < 0)
        length = 0;
    else if (length >= static_cast<int>(sizeof text))
        length = static_cast<int>(sizeof text) - 1;
    id.Empty();
    id.Append(text, length);
}
