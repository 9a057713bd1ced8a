#include "base/files/UserFolders.h"

namespace {

CSafeBuf& CacheFolder()
{
    static CSafeBuf folder;
    return folder;
}

CSafeBuf& TempFolder()
{
    static CSafeBuf folder;
    return folder;
}

void Store(CSafeBuf& target, const unsigned short* path)
{
    target.Empty();
    if (path == nullptr)
        return;
    target = path;
    while (target.Length() > 1 && target.GetAt(target.Length() - 1) == '/')
        target.CutAt(target.Length() - 1);
}

} // namespace

void SetUserCacheFolder(const unsigned short* path) { Store(CacheFolder(), path); }
void SetUserTempFolder(const unsigned short* path) { Store(TempFolder(), path); }
const CSafeBuf& GetUserCacheFolder() { return CacheFolder(); }
const CSafeBuf& GetUserTempFolder() { return TempFolder(); }
