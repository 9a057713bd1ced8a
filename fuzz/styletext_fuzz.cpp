// Style text edits and attribute-value readers on fuzzed text: style
// attributes and class lists come straight from documents.

#include "fuzz/FuzzText.h"

#include "element/Element.h"
#include "element/ValueFromText.h"

namespace {

bool IsBlank(unsigned short c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// A property that can be written as a declaration name: no ":" or ";", not
// empty, no blank at either end.
bool IsWritableName(const CSafeBuf& p)
{
    if (p.IsEmpty() || IsBlank(p.GetAt(0)) || IsBlank(p.GetAt(p.Length() - 1)))
        return false;
    return p.Find(static_cast<unsigned short>(':')) < 0 && p.Find(static_cast<unsigned short>(';')) < 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider fdp(data, size);
    const int which = fdp.ConsumeIntegralInRange<int>(0, 2);
    std::vector<unsigned short> a = qmfuzz::ConsumeU16(fdp, 40);
    std::vector<unsigned short> b = qmfuzz::ConsumeU16(fdp, 40);
    std::vector<unsigned short> text = qmfuzz::ConsumeU16(fdp, 3000);
    CSafeBuf style(text.data()), property(a.data()), value(b.data());
    switch (which) {
    case 0: {
        CSafeBuf found;
        const bool had = CElement::GetAttrValue(style, property, found);
        CSafeBuf edited = style;
        QM_FUZZ_CHECK(CElement::ReplaceStyleString(edited, property, value) == had);
        // A value without ";" written under a writable name reads back trimmed.
        if (IsWritableName(property) && value.Find(static_cast<unsigned short>(';')) < 0
            && !value.JustSpace()) {
            CSafeBuf back, expected = value;
            expected.Trim();
            QM_FUZZ_CHECK(CElement::GetAttrValue(edited, property, back));
            QM_FUZZ_CHECK(back == expected);
        }
        break;
    }
    case 1: {
        int unit = -1, number = 0;
        QM_FUZZ_CHECK(GetIntValueType(style, unit, number));
        QM_FUZZ_CHECK(unit >= 0 && unit <= 2);
        (void)utof(style);
        break;
    }
    default:
        if (IsStringContainedIn(style, property, true))
            QM_FUZZ_CHECK(IsStringContainedIn(style, property, false));
        break;
    }
    return 0;
}
