// The picture pass of pasted markup: a pasted img that names a picture on
// this computer (file://localhost) cannot be shown by the page that reads
// the document, so the picture is uploaded to the image library and the img
// takes the URL the library stores it under. Only files whose bytes are a
// picture are sent: anything else is treated as a failed copy, so pasted
// markup cannot carry another local file to the page.

#include "editor/XHTML.h"

#include "base/files/FileUtilsImage.h"
#include "base/files/UserFolders.h"
#include "base/shims/FileShims.h"
#include "base/shims/TimeShims.h"
#include "base/url/UrlPath.h"
#include "document/SrcElement.h"
#include "element/Element.h"
#include "element/factory/ElementFactory.h"

#include <cstdio>
#include <memory>

namespace {

// Options bit: pasted pictures go in without the image dialog.
constexpr int kOptionNoPictureDialog = 64;
constexpr int kImageUpload = 2;
// The attributes the image dialog starts from.
const char* const kDialogAttributes[] = {"src", "alt", "title", "longdesc", "width", "height"};

bool IsPictureFile(const CSafeBuf& path)
{
    char* utf8 = nullptr;
    path.CreateUTF8Str(&utf8);
    const bool picture = utf8 && CheckImageFileType(reinterpret_cast<const unsigned char*>(utf8)) != 0;
    delete[] utf8;
    return picture;
}

// The temporary copy's name: the local date and time, the milliseconds of
// the tick count and the count of the node, so that two pictures of one
// paste never share a name; then the original's extension.
CSafeBuf CopyName(int visited, const CSafeBuf& original)
{
    SYSTEMTIME t{};
    GetLocalTime(&t);
    char name[96];
    std::snprintf(name, sizeof name, "X-%04d%02d%02d%02d%02d%02d%03lu%d.", t.wYear, t.wMonth, t.wDay, t.wHour,
        t.wMinute, t.wSecond, GetTickCount() % 1000, visited);
    CSafeBuf out(name);
    CSafeBuf ext;
    ParseFilenameExt(original, ext);
    out += ext;
    return out;
}

// The img becomes a text node holding its alternative text.
void ReplaceByAltText(CSrcElement* img)
{
    CSafeBuf alt;
    img->m_attributes.Lookup("alt", alt);
    alt.Trim();
    img->SetTag(static_cast<const char*>(nullptr));
    img->m_attributes.RemoveAll();
    img->m_text = alt;
}

} // namespace

bool CXHTML::PastePictures(CSrcElement* child, int& visited)
{
    // Document order over the child's subtree, without recursion.
    for (CSrcElement* node = child; node;) {
        ++visited;
        if (node->IsTag("img") && !PastePicture(node, visited))
            return false;
        if (node->FirstChild()) {
            node = node->FirstChild();
            continue;
        }
        while (node != child && !node->NextSibling())
            node = node->Parent();
        node = node == child ? nullptr : node->NextSibling();
    }
    return true;
}

bool CXHTML::PastePicture(CSrcElement* img, int visited)
{
    CSafeBuf src;
    img->m_attributes.Lookup("src", src);
    src.Trim();
    if (src.Left(16).CompareNoCase("file://localhost") != 0)
        return true;
    CSafeBuf path(src);
    ParseLocalURL(path);
    if (path.IsEmpty())
        return true;

    bool uploaded = false;
    CSafeBuf url;
    const CSafeBuf& folder = GetUserTempFolder();
    if (!folder.IsEmpty()) {
        CSafeBuf copy(folder);
        copy += "/";
        copy += CopyName(visited, path);
        if (CopyFile(
                static_cast<const unsigned short*>(path), static_cast<const unsigned short*>(copy), true)) {
            int error = 0;
            uploaded = IsPictureFile(copy) && FileUpload(copy, error, url, kImageUpload);
        }
        DeleteFile(static_cast<const unsigned short*>(copy));
    }
    if (!uploaded) {
        ReplaceByAltText(img);
        return true;
    }

    img->m_attributes.SetAt("src", url);
    if (Options() & kOptionNoPictureDialog)
        return true;
    std::unique_ptr<CElement> e(CreateElement("img", m_doc.m_workingRules, m_doc.m_root, this));
    if (!e)
        return true;
    for (const char* name : kDialogAttributes) {
        CSafeBuf value;
        if (img->m_attributes.Lookup(name, value))
            e->SetAttrString(name, value);
    }
    if (!DoImgPrp(e.get(), 1))
        return false;
    img->m_attributes.RemoveAll();
    void* pos = e->m_attributes.GetStartPosition();
    while (pos) {
        CSafeBuf name, value;
        e->m_attributes.GetNextAssoc(pos, name, value);
        img->m_attributes.SetAt(name, value);
    }
    return true;
}
