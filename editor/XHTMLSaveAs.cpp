// Saving the file behind an element: the picture of an img (its src,
// command 32953) or the file a link names (its href, command 32956). The
// file is fetched (web addresses through the control's connection settings,
// local files read where they are), the user picks where to save it, and it
// is copied there. The copy is written beside the chosen file and moved
// over it when complete, so a failed save leaves a file already there as it
// was; the failure is shown.

#include "editor/XHTML.h"

#include "base/app/PutFileDialog.h"
#include "base/files/FileUtilsImage.h"
#include "base/files/SystemPath.h"
#include "base/shims/FileShims.h"
#include "base/url/RelativeURL.h"
#include "base/url/UrlPath.h"
#include "element/Element.h"
#include "element/ElementKinds.h"
#include "element/services/ControlServices.h"
#include "net/LoadHTTPFile.h"

#include <string>
#include <vector>

namespace {

// Extensions under which a picture is offered with its own name.
const char* const kPictureExtensions[] = {"jpg", "png", "jpeg", "gif", "bmp", "tiff", "jif"};

// Bytes read to tell a picture's type.
constexpr std::size_t kMaxTypeBytes = 64 * 1024 * 1024;

bool IsWebAddress(const CSafeBuf& url)
{
    return url.Left(5).CompareNoCase("http:") == 0 || url.Left(6).CompareNoCase("https:") == 0;
}

} // namespace

void CXHTML::SuggestedFileName(
    const unsigned short* url, const unsigned char* bytes, long size, bool picture, CSafeBuf& out)
{
    CSafeBuf name(url);
    int cut = name.Find(static_cast<unsigned short>('?'));
    const int hash = name.Find(static_cast<unsigned short>('#'));
    if (hash >= 0 && (cut < 0 || hash < cut))
        cut = hash;
    if (cut >= 0)
        name = name.Left(cut);
    const int slash = name.ReverseFind('/');
    if (slash >= 0)
        name = name.Mid(slash + 1, name.Length() - slash - 1);
    DecodeURL(name);
    // No folder part may come back through an escape, and no NUL.
    for (int i = 0; i < name.Length(); ++i) {
        const unsigned short c = name.GetAt(i);
        if (c == '/' || c == '\\' || c == 0 || c == ':')
            name.SetAt(i, '_');
    }
    name.Trim();
    if (name == "." || name == "..")
        name.Empty();

    if (picture) {
        CSafeBuf ext;
        ParseFilenameExt(name, ext);
        ext.MakeLower();
        bool known = false;
        for (const char* e : kPictureExtensions)
            known = known || ext == e;
        if (!known) {
            CSafeBuf detected;
            if (bytes && size > 0 && CheckImageType(bytes, size, &detected) != 0) {
                name = "Image.";
                name += detected;
            }
        }
    }
    out = name.IsEmpty() ? CSafeBuf(picture ? "Image" : "File") : name;
}

namespace {

// Fetches the file behind the context element's attribute, asks where to
// save it and copies it there.
void SaveLinkedFile(CXHTML& engine, CElement* e, const char* attribute, bool picture)
{
    CSafeBuf source;
    if (!e || !e->GetAttrString(attribute, source))
        return;
    source.Trim();
    if (source.IsEmpty())
        return;
    CSafeBuf url;
    if (!BuildRelativeURL(engine.m_doc.m_baseURL, source, url) || url.IsEmpty())
        url = source;

    CSafeBuf local;
    CSafeBuf target;
    std::string finalUrl;
    void* owner = engine.m_control ? AsHttpOwner(engine.m_control) : nullptr;
    const bool fetched = LoadHTTPFileFrom(owner, url, local, target, nullptr, finalUrl);
    const bool temporary = IsWebAddress(url);
    if (!fetched || local.IsEmpty()) {
        engine.DisplayMessageBox("message-box/download-failed");
        return;
    }

    std::vector<unsigned char> bytes;
    if (picture)
        ReadFileBytes(PathToSystem(local), bytes, kMaxTypeBytes);
    CSafeBuf name;
    CXHTML::SuggestedFileName(
        url, bytes.empty() ? nullptr : bytes.data(), static_cast<long>(bytes.size()), picture, name);

    CSafeBuf path;
    if (OpenFileDialog(name, path)) {
        if (!CopyFile(local, path, false))
            engine.DisplayMessageBox("message-box/save-failed");
    }
    if (temporary)
        DeleteFile(local);
}

} // namespace

void CXHTML::OnSaveAs()
{
    try {
        SaveLinkedFile(*this, ContextElement(), "src", true);
    } catch (...) { }
}

void CXHTML::OnSaveFile()
{
    try {
        CElement* e = ContextElement();
        if (e && !e->IsType(kKindA))
            e = e->IsElementUnderTag(kKindA);
        SaveLinkedFile(*this, e, "href", false);
    } catch (...) { }
}
