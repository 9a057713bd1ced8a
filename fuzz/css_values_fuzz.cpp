// The CSS value helpers on fuzzed text: colours in both forms, border widths
// and line styles, hex numbers, and the text taken apart by GetPartStr,
// GetLine and CutString. Take -dict=fuzz/css_values.dict for the words.

#include "fuzz/FuzzText.h"

#include "base/text/U16.h"
#include "style/values/BorderValues.h"
#include "style/values/CssColour.h"
#include "style/values/HexValue.h"
#include "style/values/ValueParts.h"

#include <cstring>

namespace {

bool IsLineCode(int code)
{
    const int codes[] = {kLineSolid, kLineDotted, kLineDashed, kLineDouble, kLineGroove, kLineRidge,
        kLineInset, kLineWindowInset, kLineOutset, kLineNone, kLineInherit, kLineHidden, kLineNotAStyle};
    for (int c : codes) {
        if (c == code)
            return true;
    }
    return false;
}

// Walks the text from position 0 and checks that the parts joined with the
// separator give the text back, short of at most two separators at its end.
void CheckWalk(const std::vector<unsigned short>& text, const unsigned short* separator, bool useText)
{
    const int length = static_cast<int>(text.size()) - 1;
    const int separatorLength = useText ? U16len(separator) : (separator[0] ? 1 : 0);
    CSafeBuf part, joined;
    int position = 0, parts = 0;
    for (;;) {
        const int before = position;
        const bool found = useText ? GetPartStr(text.data(), position, separator, part)
                                   : GetPartStr(text.data(), position, separator[0], part);
        QM_FUZZ_CHECK(position >= before && position <= length);
        if (!found) {
            QM_FUZZ_CHECK(part.IsEmpty());
            break;
        }
        QM_FUZZ_CHECK(position > before);
        if (parts++ > 0)
            joined.Append(separator, separatorLength);
        joined += part;
    }
    QM_FUZZ_CHECK(joined.Length() <= length && length - joined.Length() <= 2 * separatorLength);
    QM_FUZZ_CHECK(std::memcmp(static_cast<const unsigned short*>(joined), text.data(),
                      static_cast<size_t>(joined.Length()) * sizeof(unsigned short))
        == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider fdp(data, size);
    const int which = fdp.ConsumeIntegralInRange<int>(0, 4);
    std::vector<unsigned short> separator = qmfuzz::ConsumeU16(fdp, 3);
    std::vector<unsigned short> text = qmfuzz::ConsumeU16(fdp, 4000);
    const int length = static_cast<int>(text.size()) - 1;

    switch (which) {
    case 0:
        for (bool search : {false, true}) {
            const int colour = GetColor(text.data(), search);
            QM_FUZZ_CHECK(
                (colour >= kColorInherit && colour <= kColorInvalid) || (colour >= 0 && colour <= 0xFFFFFF));
        }
        break;
    case 1: {
        const int width = GetWidth(text.data());
        QM_FUZZ_CHECK(width >= -1 && width <= 9999);
        QM_FUZZ_CHECK(IsLineCode(GetLineType(text.data(), false)));
        QM_FUZZ_CHECK(IsLineCode(GetLineType(text.data(), true)));
        const long value = HexDec(text.data());
        QM_FUZZ_CHECK(value >= -1 && value <= 0xFFFFFFFFL);
        break;
    }
    case 2: {
        CheckWalk(text, separator.data(), true);
        CheckWalk(text, separator.data(), false);
        CSafeBuf part;
        (void)GetPartStr(text.data(), separator.data(), separator[0], part);
        (void)GetPartStr(text.data(), separator.data(), separator.data(), part);
        // A position past the end is no part, and nothing past it is read.
        int past = length + fdp.ConsumeIntegralInRange<int>(1, 8);
        QM_FUZZ_CHECK(!GetPartStr(text.data(), past, separator[0], part) && part.IsEmpty());
        break;
    }
    case 3: {
        // A line buffer of exactly maximum characters and the terminator:
        // the sanitizer sees any write past it.
        const int maximum = fdp.ConsumeIntegralInRange<int>(0, 20);
        std::vector<unsigned short> line(static_cast<size_t>(maximum) + 1);
        const unsigned short* p = text.data();
        while (p) {
            const unsigned short* next = GetLine(p, line.data(), separator[0], maximum);
            QM_FUZZ_CHECK(!next || (next > p && next <= text.data() + length));
            if (next)
                QM_FUZZ_CHECK(U16len(line.data()) <= maximum);
            p = next;
        }
        break;
    }
    default: {
        int n = length;
        const int count = fdp.ConsumeIntegralInRange<int>(-2, length + 2);
        const int cut = CutString(text.data(), n, count, fdp.ConsumeBool());
        QM_FUZZ_CHECK(cut == n && n >= 0 && n <= length && U16len(text.data()) == n);
        break;
    }
    }
    return 0;
}
