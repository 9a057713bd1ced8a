// CStringSplitter in every mode on fuzzed text: every unit must lie within
// the copied text and read back without trouble.

#include "fuzz/FuzzText.h"

#include "base/text/StringSplitter.h"
#include "base/text/U16.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider fdp(data, size);
    static const int kModes[] = {0, 1, 2, 3, 5, 4, -1};
    int mode = kModes[fdp.ConsumeIntegralInRange<int>(0, 6)];
    unsigned short sep = 0;
    switch (fdp.ConsumeIntegralInRange<int>(0, 4)) {
    case 0: sep = 0; break;
    case 1: sep = ';'; break;
    case 2: sep = ':'; break;
    case 3: sep = ','; break;
    default: sep = fdp.ConsumeIntegral<unsigned short>(); break;
    }
    bool trim = fdp.ConsumeBool();
    std::vector<unsigned short> text = qmfuzz::ConsumeU16(fdp, 4000);
    const int len = static_cast<int>(text.size()) - 1;

    CStringSplitter splitter(text.data(), mode, sep);
    int count = splitter.GetCount();
    QM_FUZZ_CHECK(count >= 0);
    splitter.ResetGet();
    CSafeBuf name, value, comment;
    int seen = 0;
    while (splitter.GetNext(&name, &value, trim, &comment)) {
        QM_FUZZ_CHECK(name.Length() <= len && value.Length() <= len);
        QM_FUZZ_CHECK(comment.IsEmpty());
        ++seen;
    }
    QM_FUZZ_CHECK(seen == count);

    // A second parse on the same splitter replaces the units.
    std::vector<unsigned short> more = qmfuzz::ConsumeU16(fdp, 400);
    splitter.ParseString(more.data(), mode, sep);
    splitter.ResetGet();
    while (splitter.GetNext(nullptr, &value, !trim))
        QM_FUZZ_CHECK(value.Length() <= static_cast<int>(more.size()));
    StringUnit* last = splitter.GetLastUnit();
    if (last) {
        QM_FUZZ_CHECK(last->nameOffset >= 0 && last->valueOffset >= 0);
        QM_FUZZ_CHECK(last->nameOffset + last->nameLength <= static_cast<int>(more.size()));
        QM_FUZZ_CHECK(last->valueOffset + last->valueLength <= static_cast<int>(more.size()));
    }
    splitter.ReleaseLink();
    QM_FUZZ_CHECK(splitter.GetCount() == 0);
    return 0;
}
