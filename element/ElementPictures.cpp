// Pictures of image elements through the document's picture pool.

#include "element/ElementPictures.h"

#include "base/url/RelativeURL.h"
#include "element/Element.h"
#include "element/TreeQueries.h"
#include "element/services/ControlServices.h"
#include "element/services/XHTMLServices.h"
#include "style/Image.h"

#include <new>
#include <string>

namespace {

CSafeBuf PoolKey(const unsigned short* src)
{
    CSafeBuf key(src);
    key.Trim();
    return key;
}

std::u16string IndexKey(const CSafeBuf& key)
{
    return std::u16string(reinterpret_cast<const char16_t*>(static_cast<const unsigned short*>(key)),
        static_cast<size_t>(key.Length()));
}

CImage* FindPooled(const CXDocServices& doc, const CSafeBuf& key)
{
    const auto found = doc.m_imagePoolIndex.byKey.find(IndexKey(key));
    return found == doc.m_imagePoolIndex.byKey.end() ? nullptr : found->second->image;
}

// Appends entry to the pool's chain and index; false when memory runs out
// (the entry is then not in the pool).
bool AppendPooled(CXDocServices& doc, IMAGE_POOL_ITEM* entry)
{
    IMAGE_POOL_INDEX& index = doc.m_imagePoolIndex;
    try {
        index.byKey.emplace(IndexKey(entry->key), entry);
    } catch (...) {
        return false;
    }
    (index.last ? index.last->next : doc.m_imagePool) = entry;
    index.last = entry;
    return true;
}

void SetSizeAttribute(CElement* image, const char* name, int pixels)
{
    CSafeBuf text;
    text.FormatInt("%d", pixels);
    image->SetAttrString(name, static_cast<const unsigned short*>(text));
}

// Reloads one matching image and sets its size attributes again.
void Reload(CElement* image, const CSafeBuf& resolved, const CSafeBuf& src, void* context)
{
    CSafeBuf oldWidth, oldHeight;
    const bool hadWidth = image->m_attributes.Lookup("width", oldWidth);
    const bool hadHeight = image->m_attributes.Lookup("height", oldHeight);
    image->m_attributes.RemoveKey("width");
    image->m_attributes.RemoveKey("height");
    image->ReLoad(context);

    const CXDocServices& doc = image->m_owner->m_doc;
    CImage* picture = FindPooled(doc, PoolKey(resolved));
    if (!picture)
        picture = FindPooled(doc, PoolKey(src));
    if (picture && picture->GetWidth() > 0 && picture->GetHeight() > 0) {
        SetSizeAttribute(image, "width", picture->GetWidth());
        SetSizeAttribute(image, "height", picture->GetHeight());
        if (!image->Style().widthSet)
            image->Lay().m_cssRect.right = picture->GetWidth();
        if (!image->Style().heightSet)
            image->Lay().m_cssRect.bottom = picture->GetHeight();
        return;
    }
    if (hadWidth)
        image->SetAttrString("width", static_cast<const unsigned short*>(oldWidth));
    if (hadHeight)
        image->SetAttrString("height", static_cast<const unsigned short*>(oldHeight));
}

} // namespace

CImage* GetImage(CElement* e, const unsigned short* src, void* context)
{
    if (!e || !src || !e->m_root || !e->m_owner)
        return nullptr;
    const CSafeBuf key = PoolKey(src);
    if (key.IsEmpty())
        return nullptr;
    CXDocServices& doc = e->m_owner->m_doc;
    if (CImage* pooled = FindPooled(doc, key))
        return pooled;
    CImage* picture = new (std::nothrow) CImage;
    IMAGE_POOL_ITEM* entry = new (std::nothrow) IMAGE_POOL_ITEM;
    if (!picture || !entry) {
        delete picture;
        delete entry;
        return nullptr;
    }
    try {
        if (CControlServices* control = e->m_owner->m_control)
            picture->SetOwner(AsHttpOwner(control));
        const IMAGE_LOAD_SETTINGS& s = doc.m_imageLoadSettings;
        picture->SetProxy(s.useProxy, s.proxyHost, s.proxyPort, s.proxyUser, s.proxyPassword);
        picture->LoadImage(static_cast<const unsigned short*>(key), context);
    } catch (...) {
        delete picture;
        delete entry;
        return nullptr;
    }
    entry->key = key;
    entry->image = picture;
    if (!AppendPooled(doc, entry)) {
        delete picture;
        delete entry;
        return nullptr;
    }
    return picture;
}

bool ReloadImageSrc(CElement* e, const unsigned short* url, void* context)
{
    if (!e || !url || !e->m_owner)
        return false;
    const CSafeBuf target(url);
    const CSafeBuf& base = e->m_owner->m_doc.m_baseURL;
    bool matched = false;
    for (CElement* c = e; c; c = NextInSubtree(c, e)) {
        CSafeBuf src, resolved;
        if (c->m_kind != kKindImg || !c->m_attributes.Lookup("src", src))
            continue;
        BuildRelativeURL(base, src, resolved);
        if (resolved != target)
            continue;
        matched = true;
        Reload(c, resolved, src, context);
    }
    return matched;
}
