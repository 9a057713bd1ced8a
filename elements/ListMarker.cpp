// Marker texts of list items.

#include "elements/ListMarker.h"

#include "base/text/ValueUtils.h"

void ListNumberToLetters(long n, CSafeBuf& text)
{
    text.Empty();
    if (n < 1)
        return;
    // Digits from the last: each is 1 to 26, so there is no zero digit.
    unsigned short digits[16];
    int count = 0;
    unsigned long long rest = static_cast<unsigned long long>(n);
    while (rest > 0 && count < 16) {
        --rest;
        digits[count++] = static_cast<unsigned short>('A' + rest % 26);
        rest /= 26;
    }
    while (count > 0)
        text += digits[--count];
}

void ListMarkerText(int type, long n, bool rightToLeft, CSafeBuf& text)
{
    text.Empty();
    if (!IsListText(type))
        return;
    switch (type) {
    case kListDecimal: text.FormatInt("%ld", n); break;
    case kListDecimalLeadingZero: text.FormatInt("%02ld", n); break;
    case kListLowerRoman:
    case kListUpperRoman:
        ConvertNumberToRoman(static_cast<int>(n), text);
        if (type == kListLowerRoman)
            text.MakeLower();
        break;
    case kListLowerLatin:
    case kListUpperLatin:
    case kListLowerAlpha:
    case kListUpperAlpha:
        ListNumberToLetters(n, text);
        if (type == kListLowerLatin || type == kListLowerAlpha)
            text.MakeLower();
        break;
    default: break; // Greek, Armenian, Georgian: the period alone
    }
    if (rightToLeft) {
        CSafeBuf marked;
        marked += '.';
        marked += text;
        text = marked;
    } else {
        text += '.';
    }
}
