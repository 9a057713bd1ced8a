// Connection settings, path macros and interface texts of the control.

#include "plugin/MorvaXEditorCtrl.h"

#include "net/LoadHTTPFile.h"

#include <cstring>

namespace {

CMorvaXEditorCtrl* ControlOf(void* owner)
{
    if (!owner)
        return nullptr;
    return dynamic_cast<CMorvaXEditorCtrl*>(FromHttpOwner(owner));
}

bool TextCacheFile(void* owner, CSafeBuf& location, CSafeBuf& cacheFile)
{
    CMorvaXEditorCtrl* control = ControlOf(owner);
    if (!control) {
        cacheFile.Empty();
        return false;
    }
    return control->GetCacheFile(location, cacheFile);
}

// Fetches a text document for the table with the control's headers and, when
// its proxy is on, its proxy; without a proxy: none and port 80.
bool TextFetch(void* owner, const unsigned short* location, CSafeBuf& localFile, const CSafeBuf& targetFile)
{
    if (CMorvaXEditorCtrl* control = ControlOf(owner))
        return control->FetchDocument(location, localFile, targetFile);
    CSafeBuf target(targetFile), server, user, password, unused1, unused2, unused3;
    return LoadHTTPFile(owner, location, localFile, unused1, -1, target, nullptr, unused2, nullptr, server,
        80, user, password, unused3, nullptr, "application/soap+xml", nullptr, nullptr);
}

void ReplaceFirst(CSafeBuf& text, const char* macro, const char* value)
{
    int at = text.Find(macro);
    if (at < 0)
        return;
    text.Delete(at, static_cast<int>(std::strlen(macro)));
    if (*value)
        text.Insert(at, value);
}

} // namespace

// The table of interface texts reaches the cache and the network through the
// control that owns it.
void InstallControlTextLoader()
{
    static const LangStringLoader loader = {TextCacheFile, TextFetch};
    SetLangStringLoader(&loader);
}

void CMorvaXEditorCtrl::ReplaceSystemDrive(CSafeBuf& text) const
{
    ReplaceFirst(text, "%SystemDrive%", "");
    ReplaceFirst(text, "%AppPath%", "file:///Applications");
    ReplaceFirst(text, "%InstallPath%", "file:///Applications");
}

void CMorvaXEditorCtrl::ProcessProxyInfo()
{
    m_proxyHost.Empty();
    m_useProxy = false;
    if (ProxySetting == 0)
        return;
    if (ProxySetting == 2)
        m_proxyHost = ProxyServer;
    m_proxyHost.Trim();
    m_useProxy = !m_proxyHost.IsEmpty();
}

void CMorvaXEditorCtrl::HttpProxy(
    CSafeBuf& server, unsigned int& port, CSafeBuf& user, CSafeBuf& password) const
{
    server = m_proxyHost;
    port = ProxyPort > 0 ? static_cast<unsigned int>(ProxyPort) : 80u;
    user = ProxyUser;
    password = ProxyPassword;
}

void CMorvaXEditorCtrl::SetCookie(const unsigned short* text)
{
    Cookie.Empty();
    if (text)
        Cookie = text;
    SetHeaderField(m_headers.Cookie, Cookie);
}

void CMorvaXEditorCtrl::SetNewCookie(const unsigned short* text)
{
    if (Cookie.IsEmpty())
        SetCookie(text);
}

void CMorvaXEditorCtrl::LoadInterfaceTexts()
{
    // Texts loaded from an earlier Localization would otherwise still answer
    // before the built-in ones.
    if (Localization.IsEmpty()) {
        m_langString.Reset();
        m_langString.LoadLocalDefault(Lang);
    } else {
        m_langString.LoadLangString(Localization, Lang, false);
    }
}

void CMorvaXEditorCtrl::SetLocalization(const unsigned short* text)
{
    Localization.Empty();
    if (text)
        Localization = text;
    Localization.Trim();
    ReplaceSystemDrive(Localization);
    LoadInterfaceTexts();
    LanguageChanged();
}
