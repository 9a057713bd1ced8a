// CalculateValue on fuzzed expressions (the attribute values of style
// definitions), often near the names it knows: a known name gives a value of
// its documented shape, any other text comes back unchanged. Also the
// number formats and list look-ups of the same family.

#include "fuzz/FuzzText.h"

#include "base/collections/StringList.h"
#include "base/text/SafeBuf.h"
#include "base/text/ValueUtils.h"

#include <cctype>
#include <string>
#include <vector>

namespace {

const char* const kNames[] = {"now()", "date()", "time()", "year()", "month()", "day()", "day-of-year()",
    "weekday()", "week()", "random()", "id()", "guid()"};
constexpr int kNameCount = sizeof(kNames) / sizeof(kNames[0]);

// Which known name the text is, without regard to ASCII case; -1 for none.
int KnownName(const std::vector<unsigned short>& text)
{
    for (int k = 0; k < kNameCount; ++k) {
        const std::string name = kNames[k];
        if (text.size() != name.size() + 1)
            continue;
        bool same = true;
        for (size_t i = 0; i < name.size() && same; ++i)
            same = text[i] < 0x80 && std::tolower(text[i]) == name[i];
        if (same)
            return k;
    }
    return -1;
}

// Digits only, at least one and at most max.
bool Digits(const CSafeBuf& v, int max)
{
    if (v.IsEmpty() || v.Length() > max)
        return false;
    for (int i = 0; i < v.Length(); ++i)
        if (v[i] < '0' || v[i] > '9')
            return false;
    return true;
}

// The text matches the shape: '9' a digit, 'h' a lower-case hex digit, anything else itself.
bool Shaped(const CSafeBuf& v, const char* shape)
{
    if (v.Length() != static_cast<int>(std::char_traits<char>::length(shape)))
        return false;
    for (int i = 0; i < v.Length(); ++i) {
        const unsigned short c = v[i];
        const bool digit = c >= '0' && c <= '9';
        if (shape[i] == '9'       ? !digit
                : shape[i] == 'h' ? !(digit || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'))
                                  : c != static_cast<unsigned char>(shape[i]))
            return false;
    }
    return true;
}

void CheckValue(int known, const CSafeBuf& v)
{
    switch (known) {
    case 0: QM_FUZZ_CHECK(Shaped(v, "9999-99-99T99:99:99")); break;
    case 1: QM_FUZZ_CHECK(Shaped(v, "9999-99-99")); break;
    case 2: QM_FUZZ_CHECK(Shaped(v, "99:99:99")); break;
    case 3: QM_FUZZ_CHECK(Digits(v, 4) && v.Length() == 4); break;
    case 9: QM_FUZZ_CHECK(Digits(v, 10)); break;
    case 10:
        QM_FUZZ_CHECK(v.Length() == 8 && v[0] >= 'a' && v[0] <= 'z');
        for (int i = 0; i < v.Length(); ++i)
            QM_FUZZ_CHECK((v[i] >= 'a' && v[i] <= 'z') || (v[i] >= '0' && v[i] <= '9'));
        break;
    case 11: QM_FUZZ_CHECK(Shaped(v, "hhhhhhhh-hhhh-hhhh-hhhh-hhhhhhhhhhhh")); break;
    default: QM_FUZZ_CHECK(Digits(v, 3)); break;
    }
}

// The value of a Roman numeral written with the usual letters.
int RomanValue(const CSafeBuf& text)
{
    auto value = [](unsigned short c) {
        switch (c) {
        case 'I': return 1;
        case 'V': return 5;
        case 'X': return 10;
        case 'L': return 50;
        case 'C': return 100;
        case 'D': return 500;
        case 'M': return 1000;
        default: return -100000;
        }
    };
    int total = 0;
    for (int i = 0; i < text.Length(); ++i) {
        const int v = value(text[i]);
        total += i + 1 < text.Length() && value(text[i + 1]) > v ? -v : v;
    }
    return total;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 2048)
        return 0;
    FuzzedDataProvider fdp(data, size);

    // An expression: a known name with its letters' case changed and perhaps
    // one unit replaced, or any text.
    std::vector<unsigned short> expression;
    if (fdp.ConsumeBool()) {
        expression = qmfuzz::Widen(kNames[fdp.ConsumeIntegralInRange<int>(0, kNameCount - 1)]);
        for (size_t i = 0; i + 1 < expression.size(); ++i)
            if (fdp.ConsumeBool())
                expression[i] = static_cast<unsigned short>(std::toupper(expression[i]));
        if (fdp.ConsumeBool() && expression.size() > 1) {
            size_t at = fdp.ConsumeIntegralInRange<size_t>(0, expression.size() - 2);
            expression[at] = fdp.ConsumeIntegral<unsigned short>();
            if (expression[at] == 0)
                expression[at] = ' ';
        }
    } else {
        expression = qmfuzz::ConsumeU16(fdp, 40);
    }
    CSafeBuf value("stale");
    CalculateValue(expression.data(), value);
    const int known = KnownName(expression);
    if (known < 0)
        QM_FUZZ_CHECK(value == static_cast<const unsigned short*>(expression.data()));
    else
        CheckValue(known, value);
    CSafeBuf empty("stale");
    CalculateValue(nullptr, empty);
    QM_FUZZ_CHECK(empty.IsEmpty());

    // Numbers.
    const long n = fdp.ConsumeIntegral<long>();
    CSafeBuf grouped;
    GetFormatInt(n, grouped);
    CSafeBuf plain;
    FormatStringInt(plain, n);
    CSafeBuf ungrouped(grouped);
    ungrouped.Remove(',');
    QM_FUZZ_CHECK(ungrouped == plain);
    const int r = fdp.ConsumeIntegralInRange<int>(-5, 5000);
    CSafeBuf roman;
    ConvertNumberToRoman(r, roman);
    if (r <= 0)
        QM_FUZZ_CHECK(roman.IsEmpty());
    else if (r <= 3999)
        QM_FUZZ_CHECK(RomanValue(roman) == r && roman.Length() <= 15);

    // List look-ups.
    CStringList list;
    std::vector<std::vector<unsigned short>> items;
    const int count = fdp.ConsumeIntegralInRange<int>(0, 5);
    for (int i = 0; i < count; ++i) {
        items.push_back(qmfuzz::ConsumeU16(fdp, 6));
        list.AddTail(items.back().data());
    }
    std::vector<unsigned short> wanted = fdp.ConsumeBool() && !items.empty()
        ? items[fdp.ConsumeIntegralInRange<size_t>(0, items.size() - 1)]
        : qmfuzz::ConsumeU16(fdp, 6);
    const int at = FindIndexInList(&list, wanted.data(), false);
    int first = -1;
    for (size_t i = 0; i < items.size() && first < 0; ++i)
        if (items[i] == wanted)
            first = static_cast<int>(i);
    QM_FUZZ_CHECK(at == first);
    const int loose = FindIndexInList(&list, wanted.data(), true);
    QM_FUZZ_CHECK(loose >= -1 && loose < count && (first < 0 || (loose >= 0 && loose <= first)));
    CSafeBuf item;
    const int index = fdp.ConsumeIntegralInRange<int>(-2, count + 1);
    QM_FUZZ_CHECK(GetValueInListByIndex(&list, index, item) == (index >= 0 && index < count));
    return 0;
}
