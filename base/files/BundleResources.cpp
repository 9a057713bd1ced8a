#include "base/files/BundleResources.h"

#include "base/files/FileUtilsPath.h"
#include "base/files/SystemPath.h"
#include "base/shims/FileShims.h"
#include "base/text/Ascii.h"
#include "platform/image/IconFamily.h"

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
        if (ReadFileBytes(PathToSystem(path), data) && qm::image::ParseIconFamily(data.data(), data.size())) {
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
