// Markup the page sets as the control's Value once the control is started:
// cleaning (modes 8 and 9), Tidy repair of what does not load, the load,
// then the document written in the indented, the compact (non-ASCII as
// references) and the change-detection modes. The first byte picks the
// page's Options: bit 0 repair silently (else the question about markup
// that does not load is closed unanswered), bit 1 hard spaces kept through
// the repair, bit 2 the cleaning of undeclared custom elements; the rest is
// the markup (UTF-8). Checks:
//   - every write is well-formed XML (a fragment inside a body, a whole
//     document as it is);
//   - when the value loaded, setting the first write again writes the same;
//   - nothing is fetched from the network;
//   - the control goes away with nothing left (LeakSanitizer).

#include "fuzz/FuzzControl.h"
#include "fuzz/FuzzXml.h"

#include "base/text/SafeBuf.h"

#include <cstdint>
#include <cstdio>
#include <string>

namespace {

constexpr int kIndented = 1;
constexpr int kCompactEscaped = 2 | 0x200;
constexpr int kChangeMode = 6;
constexpr int kSourceView = 1;

// The document's writes, each checked; the indented one is answered.
CSafeBuf CheckedWrites(qmfuzz::StartedControl& c)
{
    CSafeBuf first;
    for (int mode : {kIndented, kCompactEscaped, kChangeMode}) {
        CSafeBuf out;
        c.Engine().GetSourceCode(out, mode);
        if (!qmfuzz::ParsesAsMarkup(out)) {
            std::fprintf(stderr, "mode %d wrote: %s\n", mode, qmfuzz::Utf8(out).c_str());
            QM_FUZZ_CHECK(false);
        }
        if (mode == kIndented)
            first = out;
    }
    return first;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1 || size > 16 * 1024)
        return 0;
    const int options = ((data[0] & 1) ? 2 : 0) | ((data[0] & 2) ? 0x100 : 0) | ((data[0] & 4) ? 0x4000 : 0);
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    CSafeBuf markup;
    markup.AssignUTF8(bytes.c_str());

    qmfuzz::StartedControl c(options);
    c.control.SetValue(markup);
    const CSafeBuf first = CheckedWrites(c);
    if (c.control.GetViewMode() != kSourceView) {
        c.control.SetValue(first);
        const CSafeBuf second = CheckedWrites(c);
        if (!(second == first)) {
            std::fprintf(
                stderr, "first: %s\nsecond: %s\n", qmfuzz::Utf8(first).c_str(), qmfuzz::Utf8(second).c_str());
            QM_FUZZ_CHECK(false);
        }
    }
    for (const auto& request : c.network.Requests())
        std::fprintf(stderr, "fetched: %s\n", request.url.c_str());
    QM_FUZZ_CHECK(c.network.Requests().empty());
    return 0;
}
