// Construction and destruction of the control, and its per-user folders.

#include "plugin/MorvaXEditorCtrl.h"

#include "base/codec/MD5Checksum.h"
#include "base/files/FileUtilsRemove.h"
#include "base/files/SystemPath.h"
#include "base/files/UserFolders.h"
#include "base/shims/FileShims.h"
#include "base/text/Ascii.h"
#include "platform/sys/Bundle.h"
#include "platform/sys/SystemInfo.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

void InstallControlTextLoader(); // MorvaXEditorCtrlSettings.cpp

namespace {

// Makes a per-user folder private. A folder that is already there (made by an
// earlier run, perhaps with looser rights) is narrowed to 0700 when it is
// ours; anything else at that path is left alone.
void MakePrivateFolder(const CSafeBuf& path)
{
    if (CreateDirectory(static_cast<const unsigned short*>(path)))
        return;
    std::string p = PathToSystem(static_cast<const unsigned short*>(path));
    if (p.empty())
        return;
    struct stat st;
    if (::lstat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid()
        && (st.st_mode & 077) != 0)
        ::chmod(p.c_str(), 0700);
}

} // namespace

CMorvaXEditorCtrl::CMorvaXEditorCtrl()
{
    ProductName = "Quillmark";
    ClearAdditionalHeaders(&m_headers);
    m_langString.SetOwner(AsHttpOwner(this));
    InstallControlTextLoader();

    CreateUserFolders();

    FileVersion = qm::sys::OwnBundleVersion();
    BuildUserAgent();

    if (!GetUserTempFolder().IsEmpty())
        RemoveFiles(GetUserTempFolder());
}

CMorvaXEditorCtrl::~CMorvaXEditorCtrl()
{
    RemoveIcons();
    ReleasePlaceHolders();
}

void CMorvaXEditorCtrl::CreateUserFolders()
{
    CSafeBuf home;
    if (const char* h = std::getenv("HOME"))
        home.AssignUTF8(h);
    // A trailing slash of HOME would double the separator.
    while (home.Length() > 1 && home.GetAt(home.Length() - 1) == '/')
        home.CutAt(home.Length() - 1);
    if (home.Length() == 1 && home.GetAt(0) == '/')
        home.Empty();

    CSafeBuf library(home);
    library += "/Library";
    CSafeBuf support(library);
    support += "/Application Support";
    m_supportFolder = support;
    m_supportFolder += "/Quillmark";
    CSafeBuf cache(m_supportFolder);
    cache += "/Cache";
    CSafeBuf temp(m_supportFolder);
    temp += "/Temp";

    // The folders above the support folder may be missing in a fresh home:
    // they are made (private) when absent, but an existing one is not touched.
    if (!home.IsEmpty()) {
        CreateDirectory(static_cast<const unsigned short*>(library));
        CreateDirectory(static_cast<const unsigned short*>(support));
    }
    MakePrivateFolder(m_supportFolder);
    MakePrivateFolder(cache);
    MakePrivateFolder(temp);

    SetUserCacheFolder(cache);
    SetUserTempFolder(temp);
}

void CMorvaXEditorCtrl::BuildUserAgent()
{
    CSafeBuf agent(ProductName);
    agent += " ";
    agent += FileVersion;
    agent += "; MAC OS X ";
    unsigned word = qm::sys::SystemVersionWord();
    char version[40];
    std::snprintf(
        version, sizeof version, "%x.%x.%x; ", (word >> 8) & 0xFFu, (word >> 4) & 0xFu, word & 0xFu);
    agent += version;
    static const unsigned char kEmpty[1] = {0};
    if (char* digest = CMD5Checksum::GetMD5(kEmpty, 0)) {
        for (char* p = digest; *p; ++p)
            *p = LowerAscii(*p);
        agent += digest;
        delete[] digest;
    }
    SetHeaderField(m_headers.UserAgent, agent);
}
