// The control's document cache: cache file names and clearing.

#include "plugin/MorvaXEditorCtrl.h"

#include "base/codec/MD5Checksum.h"
#include "base/files/FileUtilsPath.h"
#include "base/files/FileUtilsRemove.h"
#include "base/files/UserFolders.h"

bool CMorvaXEditorCtrl::GetCacheFile(CSafeBuf& url, CSafeBuf& cacheFile)
{
    cacheFile.Empty();
    if (url.Length() < 6 || url.Left(5).CompareNoCase("http:") != 0)
        return false;
    const CSafeBuf& folder = GetUserCacheFolder();
    if (folder.IsEmpty())
        return false;

    char* digest = CMD5Checksum::GetMD5(
        reinterpret_cast<const unsigned char*>(static_cast<const unsigned short*>(url)),
        static_cast<unsigned int>(url.Length()) * 2u);
    if (!digest)
        return false;
    cacheFile = folder;
    cacheFile += "/";
    cacheFile += digest;
    delete[] digest;

    if (!EnableCache)
        return false;
    if (!DoesFileExist(cacheFile))
        return false;
    url = cacheFile;
    return true;
}

void CMorvaXEditorCtrl::ClearCache()
{
    if (!GetUserTempFolder().IsEmpty())
        RemoveFiles(GetUserTempFolder());
    if (!GetUserCacheFolder().IsEmpty())
        RemoveFiles(GetUserCacheFolder());
}
