// The in-place escaping functions on fuzzed text.

#include "fuzz/FuzzText.h"

#include "base/codec/Escaping.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider fdp(data, size);
    int which = fdp.ConsumeIntegralInRange<int>(0, 5);
    bool flag = fdp.ConsumeBool();
    std::vector<unsigned short> text = qmfuzz::ConsumeU16(fdp, 3000);
    CSafeBuf s(text.data());
    const int before = s.Length();
    switch (which) {
    case 0:
        EscapeXMLChar(s, flag);
        QM_FUZZ_CHECK(s.Find(static_cast<unsigned short>('<')) < 0);
        break;
    case 1:
        EscapeHTMLUnicode(s);
        for (int i = 0; i < s.Length(); ++i)
            QM_FUZZ_CHECK(s[i] < 0x100 && s[i] != 0xA0);
        break;
    case 2:
        ValidateAttribute(s, flag);
        QM_FUZZ_CHECK(s.Find(static_cast<unsigned short>(flag ? '"' : '\'')) < 0);
        break;
    case 3:
        EscapeString(s);
        QM_FUZZ_CHECK(s.Length() <= before);
        break;
    case 4:
        RemoveXMLAllEscape(s, flag);
        QM_FUZZ_CHECK(s.Length() <= before);
        break;
    default:
        EscapeXMLChar(s, flag);
        RemoveXMLAllEscape(s, true);
        EscapeHTMLUnicode(s);
        EscapeString(s);
        break;
    }
    return 0;
}
