// The free text utilities on fuzzed text: sections, quotes, sorting,
// entity positions, name and number tests, packed integers, lengths with
// units, the last word, wildcards, and the markup edits.

#include "fuzz/FuzzText.h"

#include "base/text/TextUtils.h"
#include "base/text/TextUtilsMarkup.h"
#include "base/text/U16.h"

#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider fdp(data, size);
    int which = fdp.ConsumeIntegralInRange<int>(0, 15);
    std::vector<unsigned short> a = qmfuzz::ConsumeU16(fdp, 6);
    std::vector<unsigned short> b = qmfuzz::ConsumeU16(fdp, 6);
    std::string s8 = qmfuzz::ConsumeBytes(fdp, 40);
    std::vector<unsigned short> text = qmfuzz::ConsumeU16(fdp, 2000);
    const int len = static_cast<int>(text.size()) - 1;
    CSafeBuf s(text.data());

    switch (which) {
    case 0: {
        std::vector<unsigned short> ex = qmfuzz::ConsumeU16(fdp, 4);
        int length = fdp.ConsumeIntegralInRange<int>(-1, len);
        bool useExcept = fdp.ConsumeBool();
        int n
            = RemoveSectionInString(text.data(), a.data(), b.data(), useExcept ? ex.data() : nullptr, length);
        QM_FUZZ_CHECK(n >= 0 && n <= len);
        break;
    }
    case 1:
        RemoveQuote(text.data());
        QM_FUZZ_CHECK(U16len(text.data()) <= len);
        break;
    case 2: {
        int width = fdp.ConsumeIntegralInRange<int>(1, 9);
        int count = len / width;
        SortString(text.data(), count, width);
        break;
    }
    case 3: {
        int pos = fdp.ConsumeIntegralInRange<int>(-3, len + 3);
        (void)IsPositionInsideEntity(text.data(), pos);
        break;
    }
    case 4: {
        int n = fdp.ConsumeIntegralInRange<int>(-1, len);
        (void)CheckNameConvention(text.data(), n);
        (void)IsStringOnlyNumber(text.data(), n, fdp.ConsumeBool());
        for (int i = 0; i < len && i < 16; ++i)
            (void)IsCharSymbol(text[i]);
        break;
    }
    case 5: {
        long pos = fdp.ConsumeIntegralInRange<long>(-3, static_cast<long>(s8.size()) + 3);
        int kind = fdp.ConsumeIntegralInRange<int>(-1, 4);
        (void)GetInt(s8.data(), pos, static_cast<long>(s8.size()), kind);
        (void)GetInt(text.data(), pos, static_cast<long>(len), kind);
        break;
    }
    case 6: {
        int value = 0, unit = 0;
        // False only for a number that is not finite, with value and unit 0.
        QM_FUZZ_CHECK(ParseLengthStr(text.data(), value, unit) || (value == 0 && unit == 0));
        QM_FUZZ_CHECK(unit >= 0 && unit <= 6);
        break;
    }
    case 7:
        UTF8Encoding(s);
        for (int i = 0; i < s.Length(); ++i)
            QM_FUZZ_CHECK(s[i] <= 0xFF);
        (void)TidyUnicodeString(s);
        break;
    case 8: {
        std::string name = qmfuzz::ConsumeBytes(fdp, 40);
        (void)WildcardComparePattern(s8.c_str(), name.c_str());
        (void)WildcardComparePattern(s8.c_str(), s8.c_str());
        (void)WildcardComparePattern(nullptr, name.c_str());
        break;
    }
    case 9:
        TrimCR(s, fdp.ConsumeIntegralInRange<int>(-1, 1));
        RemoveCR(s);
        (void)HasUpperCase(s);
        break;
    case 10:
        ReplaceLastWordWith(s, a.data());
        ReplaceLastWordWith(s, s8.c_str());
        break;
    case 11: {
        unsigned short after = fdp.ConsumeBool() ? 0 : a[0];
        int v = GetIntValue(text.data(), after);
        QM_FUZZ_CHECK(v >= -1);
        v = GetIntValue(s8.c_str(), static_cast<char>(after));
        QM_FUZZ_CHECK(v >= -1);
        break;
    }
    case 12:
        RemoveTagNamespace(s);
        QM_FUZZ_CHECK(s.Length() == len);
        break;
    case 13:
        RemoveXMLTag(s, a.data());
        RemoveXMLTag(s, s8.c_str());
        QM_FUZZ_CHECK(s.Length() <= len);
        break;
    case 14:
        RemoveTag(s, fdp.ConsumeIntegralInRange<int>(0, 2));
        QM_FUZZ_CHECK(s.Length() <= len);
        break;
    default: {
        CSafeBuf out("x");
        std::string e8 = qmfuzz::ConsumeBytes(fdp, 6);
        int at = FindSubStringBetween(s, out, s8.c_str(), e8.c_str());
        QM_FUZZ_CHECK(at >= -1 && at <= len);
        if (at < 0)
            QM_FUZZ_CHECK(out.IsEmpty());
        break;
    }
    }
    return 0;
}
