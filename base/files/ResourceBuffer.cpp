// Bundle resources read as text.

#include "base/files/ResourceBuffer.h"

#include <string>

#include "base/files/BundleResources.h"
#include "base/files/FileUtilsLoad.h"
#include "base/files/FileUtilsPath.h"
#include "base/text/SafeBuf.h"
#include "base/text/U16.h"
#include "base/text/Utf.h"

namespace {

// A relative name without "." or ".." steps that could leave the folder.
bool IsSafeResourceName(const std::string& name)
{
    if (name.empty() || IsPathSeparator(static_cast<unsigned char>(name[0])))
        return false;
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = start;
        while (end < name.size() && !IsPathSeparator(static_cast<unsigned char>(name[end])))
            ++end;
        std::string step = name.substr(start, end - start);
        if (step == "." || step == "..")
            return false;
        start = end + 1;
    }
    return true;
}

} // namespace

bool SaveResourceToBuffer(const char* name, CSafeBuf* out, const unsigned short*, unsigned char)
{
    if (out)
        out->Empty();
    if (!name || !IsSafeResourceName(name))
        return false;
    // Without a resources folder the bare name would be read from the
    // current folder; refuse instead.
    CSafeBuf path;
    GetResourcePath(path, nullptr);
    if (path.IsEmpty())
        return false;
    GetResourcePath(path, name);
    return LoadFileToBuffer(static_cast<const unsigned short*>(path), out, false);
}

bool SaveResourceToBuffer(const unsigned short* name, CSafeBuf* out)
{
    if (out)
        out->Empty();
    if (U16len(name) == 0)
        return false;
    try {
        return SaveResourceToBuffer(ToUTF8String(name).c_str(), out);
    } catch (...) {
        return false; // out of memory
    }
}
