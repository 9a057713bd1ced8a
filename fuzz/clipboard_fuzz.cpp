// The fragment of a clipboard HTML description: whatever the header says,
// the fragment is a stretch of the description's own bytes.

#include "editor/ClipboardDescription.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    CSafeBuf fragment;
    const bool ok = ReadClipboardFragment(text.c_str(), text.size(), fragment);
    if (!ok && !fragment.IsEmpty())
        std::abort();
    if (ok) {
        // Each byte is one unit; only "&nbsp;" (6 bytes) grows, to 13 units.
        if (fragment.Length() > static_cast<int>(size) * 13 / 6 + 13)
            std::abort();
        for (int i = 0; i < fragment.Length(); ++i) {
            if (fragment.GetAt(i) > 0xFF)
                std::abort();
        }
    }
    return 0;
}
