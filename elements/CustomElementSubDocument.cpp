// Loading a sub-document element's content through the document's loader.
//
// The content is fetched when the element's style is computed: at most once
// while the element keeps the attributes of its last load, and again when
// the document reports them changed. Loaded content locks the element. A
// failure is told once per element: by the loader when it reports its own
// failure (it is asked to only until the user has been told), or by the
// element when the content cannot be read or may not stand where the
// element is. An element inside loaded content is not loaded when an
// enclosing sub-document asks the same question (content that holds itself)
// or when it would be nested too deep.

#include "elements/CustomElement.h"

#include "element/TreeQueries.h"
#include "element/markup/ReadStyle.h"
#include "element/services/XHTMLServices.h"
#include "elements/ChildRemoval.h"

namespace {

// Sub-documents loaded inside one another go no deeper than this, and the
// content of one sub-document holds no more loaded ones than that.
constexpr int kMaxNestedSubDocuments = 8;
constexpr int kMaxSubDocumentsInside = 64;

// The loader's answer when content was received.
constexpr int kContentReceived = 2;
// Its answer when the service failed; it told the user when asked to.
constexpr int kServiceFailed = 1;

// Block content may not stand inside an unlocked inline ancestor, a p or a
// heading.
bool RefusesBlockContent(const CElement* e)
{
    for (const CElement* a = e->m_parent; a; a = a->m_parent) {
        if ((a->m_inline && !a->m_locked) || a->m_kind == kKindP || a->m_heading)
            return true;
    }
    return false;
}

// Both elements have the same tag and the same attributes, so that the
// service is asked the same question for each.
bool SameRequest(const CCustomElement* a, const CCustomElement* b)
{
    const unsigned short* tagA = a->GetTagName();
    const unsigned short* tagB = b->GetTagName();
    if (!tagA || !tagB || !(CSafeBuf(tagA) == tagB)
        || a->m_attributes.GetCount() != b->m_attributes.GetCount())
        return false;
    bool same = true;
    a->m_attributes.ForEachPair([&](const CSafeBuf& name, const CSafeBuf& value) {
        CSafeBuf other;
        if (same
            && (!b->m_attributes.Lookup(static_cast<const unsigned short*>(name), other)
                || !(other == value)))
            same = false;
    });
    return same;
}

bool IsLoadedSubDocument(const CElement* e)
{
    const auto* custom = dynamic_cast<const CCustomElement*>(e);
    return custom && custom->m_isSubDocument && custom->m_subDocLoaded;
}

// The element lies inside content loaded for a sub-document element that
// asks the same question (content that holds itself would grow by one level
// at every restyle), inside too many loaded sub-documents, or in content
// that holds too many of them already (content that names several others,
// each naming several again, would grow without end).
bool InsideItsOwnContent(const CCustomElement* e)
{
    int depth = 0;
    const CElement* outermost = nullptr;
    for (const CElement* a = e->m_parent; a; a = a->m_parent) {
        if (!IsLoadedSubDocument(a))
            continue;
        if (++depth >= kMaxNestedSubDocuments || SameRequest(static_cast<const CCustomElement*>(a), e))
            return true;
        outermost = a;
    }
    if (!outermost)
        return false;
    int inside = 0;
    auto* top = const_cast<CElement*>(outermost);
    for (CElement* c = NextInSubtree(top, top); c; c = NextInSubtree(c, top)) {
        if (IsLoadedSubDocument(c) && ++inside >= kMaxSubDocumentsInside)
            return true;
    }
    return false;
}

} // namespace

void CCustomElement::ShowMessageOnce(const char* key)
{
    if (m_subDocErrorShown)
        return;
    m_subDocErrorShown = true;
    if (m_owner)
        m_owner->DisplayMessageBox(key);
}

bool CCustomElement::StyleChanged(int mode)
{
    CElement::StyleChanged(mode);
    // Reading the loaded content restyles it, which must not load again.
    if (!m_isSubDocument || m_loading)
        return true;
    m_loading = true;
    LoadSubDocument();
    m_loading = false;
    return true;
}

bool CCustomElement::LoadSubDocument()
{
    if (m_firstChild) {
        if (m_locked)
            return false;
        RemoveChildrenKeepingCaret(this, 0);
    }
    if (!m_owner)
        return false;
    CXDocServices& doc = m_owner->m_doc;
    if (m_subDocLoaded && !doc.IsSubDocChanged(this))
        return false;
    if (InsideItsOwnContent(this))
        return false;

    CSafeBuf markup;
    const bool tellUser = !m_subDocErrorShown;
    const int answer = doc.LoadSubDocumentForElement(this, markup, tellUser);
    m_subDocLoaded = true;
    CopyMap(&m_loadAttributes, &m_attributes, false);
    if (answer != kContentReceived) {
        if (answer == kServiceFailed && tellUser)
            m_subDocErrorShown = true; // the loader told the user
        return false;
    }

    // The content is read while this element is styled, in a restyle that
    // is over for the elements inside it: when that restyle ends a read, it
    // would not style the content, which is therefore styled as it is read.
    bool read;
    {
        CStyleNowScope now;
        read = InsertHTMLCodeToElement(markup);
    }
    if (!read) {
        RemoveChildrenKeepingCaret(this, 0);
        ShowMessageOnce("message-box/subdoc-invalid");
        return false;
    }
    if (!m_block && IsThereBlockTypeChild(this, true) && RefusesBlockContent(this)) {
        RemoveChildrenKeepingCaret(this, 0);
        ShowMessageOnce("message-box/cannot-insert-into-given-location");
        return false;
    }
    m_locked = 1;
    return true;
}
