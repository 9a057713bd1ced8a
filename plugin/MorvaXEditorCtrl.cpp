// Construction and destruction of the control, and its per-user folders.

#include "plugin/MorvaXEditorCtrl.h"

#include "base/app/PropExchange.h"
#include "base/codec/MD5Checksum.h"
#include "base/files/FileUtilsRemove.h"
#include "base/files/SystemPath.h"
#include "base/files/UserFolders.h"
#include "base/shims/FileShims.h"
#include "base/shims/PortShims.h"
#include "base/text/Ascii.h"
#include "base/xml/XmlLibrary.h"
#include "editor/XHTML.h"
#include "platform/sys/Bundle.h"
#include "platform/sys/SystemInfo.h"
#include "platform/text/TextLayout.h"
#include "platform/text/TextStyle.h"
#include "platform/ui/ScrollBar.h"
#include "platform/ui/Window.h"
#include "source_view/ColoringEditor.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

void InstallControlTextLoader(); // MorvaXEditorCtrlSettings.cpp

namespace {

// The controls alive in the process.
int g_xmlLibraryUsers = 0;

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
    Mode = "wysiwyg";
    ToolbarEffect = "solid";
    BackgroundColor = "white";
    BorderColor = "black";
    m_langString.SetOwner(AsHttpOwner(this));
    InstallControlTextLoader();

    m_textStyle = std::make_unique<qm::text::Style>();
    m_textLayout = std::make_unique<qm::text::Layout>();
    m_textLayout->SetStyle(m_textStyle.get());
    m_toolbarSet.m_owner = this;
    m_toolbarSet.m_background = &m_backgroundColor;
    m_toolbarSet.m_frameColour = &m_borderColor;
    m_toolbarSet.m_buttonSize = &m_iconSize;
    m_toolbarSet.m_dir = &Dir;
    m_toolbarSet.SetToolbarEffect(ToolbarEffect);

    XmlStartLibraries();
    ++g_xmlLibraryUsers;

    CreateUserFolders();
    ClearAdditionalHeaders(&m_headers);
    FileVersion = qm::sys::OwnBundleVersion();
    BuildUserAgent();

    if (!GetUserTempFolder().IsEmpty())
        RemoveFiles(GetUserTempFolder());

    m_pXHTML = new CXHTML();
    AttachEngine();
    LanguageChanged();
    LoadDefaultXSLT();
    LoadDefaultPreviewXSLT();
}

CMorvaXEditorCtrl::~CMorvaXEditorCtrl()
{
    m_coloringEditor = nullptr;
    m_sourceView.reset();
    delete m_pXHTML;
    m_pXHTML = nullptr;
    DeleteStyleBar();
    RemoveIcons();
    ReleasePlaceHolders();
    ReleaseCustomMenu();
    CleanUp();
    --g_xmlLibraryUsers;
    m_created = 0;
    ReleaseRel(true);
    ReleaseRel(false);
    ReleaseSystemFontInfo();
    m_textLayout.reset();
    m_textStyle.reset();
    for (SavedPortState& saved : m_savedPorts)
        dDisposeRgn(saved.clip);
    m_savedPorts.clear();
}

int CMorvaXEditorCtrl::XmlLibraryUsers() { return g_xmlLibraryUsers; }

void CMorvaXEditorCtrl::AttachEngine()
{
    m_pXHTML->m_control = this;
    m_pXHTML->m_langString = &m_langString;
    m_pXHTML->m_controlOptions = &Options;
    m_pXHTML->m_doc.m_versionText = FileVersion;
}

void CMorvaXEditorCtrl::CleanUp()
{
    if (m_wheelHandler) {
        const NP_Port* port
            = m_pPluginWindow ? static_cast<const NP_Port*>(m_pPluginWindow->window) : nullptr;
        if (qm::ui::Window* window = port ? qm::ui::Window::FromPort(port->port) : nullptr)
            window->Target().RemoveHandler(m_wheelHandler);
        m_wheelHandler = 0;
    }
    // The bars are the document's: they are only let go of here.
    m_pVScrollBar = nullptr;
    m_pHScrollBar = nullptr;
    ReleaseToolBar();
    ReleaseButtonInfo();
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
