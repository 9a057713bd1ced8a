// The name offered for a saved linked file, from a server's reply: the
// input is the address (up to the first NUL byte, read as UTF-8) and the
// reply's bytes (the rest). The name is never empty and never names a
// folder.

#include "editor/XHTML.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::uint8_t* end = data + size;
    const std::uint8_t* nul = data;
    while (nul < end && *nul)
        ++nul;
    const std::string url(reinterpret_cast<const char*>(data), static_cast<std::size_t>(nul - data));
    const std::uint8_t* bytes = nul < end ? nul + 1 : end;
    CSafeBuf address;
    address.AssignUTF8(url.c_str());
    for (bool picture : {true, false}) {
        CSafeBuf name;
        CXHTML::SuggestedFileName(address, bytes, static_cast<long>(end - bytes), picture, name);
        if (name.IsEmpty() || name.Find(static_cast<unsigned short>('/')) >= 0 || name == "." || name == "..")
            std::abort();
    }
    return 0;
}
