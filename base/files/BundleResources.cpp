#include "base/files/BundleResources.h"

#include "base/files/FileUtilsPath.h"
#include "base/files/SystemPath.h"
#include "base/shims/FileShims.h"
#include "base/text/Ascii.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {

struct CurrentBundle
{
    bool found = false;
    qm::sys::Bundle bundle;
};

CurrentBundle& Current()
{
    static CurrentBundle current;
    return current;
}

// The resources folder once found; looked for again while it is not.
CSafeBuf& KeptResourcesFolder()
{
    static CSafeBuf folder;
    return folder;
}

std::uint32_t BigEndian32(const unsigned char* p)
{
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8)
        | std::uint32_t(p[3]);
}

// An icon family: "icns", the total length, then elements of a type and a
// length (header included) that exactly fill it; at least one element.
bool IsIconFamily(const std::vector<unsigned char>& d)
{
    if (d.size() < 16 || d[0] != 'i' || d[1] != 'c' || d[2] != 'n' || d[3] != 's')
        return false;
    if (BigEndian32(&d[4]) != d.size())
        return false;
    size_t at = 8;
    int elements = 0;
    while (at < d.size()) {
        if (d.size() - at < 8)
            return false;
        const std::uint32_t length = BigEndian32(&d[at + 4]);
        if (length < 8 || length > d.size() - at)
            return false;
        at += length;
        ++elements;
    }
    return elements > 0;
}

} // namespace

void GetBundleResourcePath(CSafeBuf& path)
{
    path.Empty();
    try {
        for (const qm::sys::Bundle& b : qm::sys::LoadedBundles()) {
            if (!EqualNoCase(b.identifier, qm::sys::OwnBundleIdentifier()))
                continue;
            Current().bundle = b;
            Current().found = true;
            if (!b.resourcesPath.empty() && b.resourcesPath.size() < static_cast<size_t>(kMaxSystemPathBytes))
                path.AssignUTF8(b.resourcesPath.c_str());
            return;
        }
    } catch (...) {
        path.Empty();
    }
}

const qm::sys::Bundle* GetCurrentBundle() { return Current().found ? &Current().bundle : nullptr; }

void GetResourcePath(CSafeBuf& path, const char* name)
{
    CSafeBuf& folder = KeptResourcesFolder();
    if (folder.IsEmpty())
        GetBundleResourcePath(folder);
    path = folder;
    if (name == nullptr)
        return;
    CSafeBuf tail;
    tail.AssignUTF8(name);
    AddNameToPath(path, tail);
}

void GetStringFromURL(CSafeBuf& text, const char* url)
{
    text.Empty();
    if (url != nullptr)
        text.AssignUTF8(url);
}

IconRef LoadIconFromIcnsFile(const unsigned short* path)
{
    IconRef icon = nullptr;
    try {
        std::vector<unsigned char> data;
        if (ReadFileBytes(PathToSystem(path), data) && IsIconFamily(data)) {
            icon = new ICON_FAMILY;
            icon->data = std::move(data);
        }
    } catch (...) {
        delete icon;
        icon = nullptr;
    }
    return icon;
}

void ReleaseIconRef(IconRef icon) { delete icon; }
