#include "base/files/Version.h"

#include "platform/sys/Bundle.h"

#include <string>

void GetFileVersion(CSafeBuf& version, const qm::sys::Bundle* bundle)
{
    try {
        const std::string text
            = bundle != nullptr ? bundle->version : std::string(qm::sys::OwnBundleVersion());
        CSafeBuf value;
        value.AssignUTF8(text.c_str());
        value.Trim();
        if (!value.IsEmpty())
            version = value;
    } catch (...) { }
}
