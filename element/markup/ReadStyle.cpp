// Styling while a tree is read: what is left to the restyle after the read,
// and the styles the read gives when it needs one before then.

#include "element/markup/ReadStyle.h"

#include "element/Element.h"
#include "style/cascade/StyleMerge.h"

#include <algorithm>
#include <memory>
#include <vector>

struct CStyleLaterScope::State
{
    const CElement* top;
    // The elements inside top styled as read already, by id in increasing
    // order (ids are never reused, so an element freed during the read is
    // never taken for a new one). A read meets its rows in document order,
    // and they were made in that order: an id nearly always goes at the end.
    std::vector<long> styled;
    // Room for the chain of one look-up, kept from one row to the next.
    std::vector<CElement*> chain;

    bool Styled(long id) const { return std::binary_search(styled.begin(), styled.end(), id); }
    void MarkStyled(long id)
    {
        if (styled.empty() || styled.back() < id) {
            styled.push_back(id);
            return;
        }
        const auto at = std::lower_bound(styled.begin(), styled.end(), id);
        if (at == styled.end() || *at != id)
            styled.insert(at, id);
    }
};

namespace {

CStyleLaterScope::State* g_later = nullptr;

bool IsNamespaceDeclaration(const CSafeBuf& name) { return name == "xmlns" || name.Find("xmlns:") == 0; }

// The read styles an element from its attributes when it has any besides
// namespace declarations; styleText is then that of its style attribute.
bool AttributesAsRead(const CElement* e, CSafeBuf& styleText)
{
    bool any = false;
    e->m_attributes.ForEachPair([&](const CSafeBuf& name, const CSafeBuf& value) {
        if (IsNamespaceDeclaration(name))
            return;
        any = true;
        if (name.CompareNoCase("style") == 0)
            styleText = value;
    });
    return any;
}

} // namespace

CStyleLaterScope::CStyleLaterScope(const CElement* top) : m_state(new State{top, {}, {}}), m_outer(g_later)
{
    g_later = m_state;
}

CStyleLaterScope::~CStyleLaterScope()
{
    g_later = m_outer;
    delete m_state;
}

bool StylesLater(const CElement* e) { return g_later && e != g_later->top; }

bool AppendAsRead(CElement* parent, CElement* child)
{
    // Linking at the end without a reference inherits nothing.
    return g_later ? parent->InsertChild(child, 0, true) : parent->AppendChild(child);
}

void StyleAsRead(CElement* e, const CSafeBuf& styleText)
{
    if (!styleText.IsEmpty()) {
        auto record = std::make_unique<ELEMENT_STYLE>();
        ParseStyleString(styleText, record.get(), e);
        SetNewStyle(e, record.get(), kOriginStyleAttribute, false);
    }
    e->ApplyCSS(nullptr, true);
    e->SetAttrFromStyle();
    e->CalcForAll(nullptr, false, false);
}

bool RightToLeftAsRead(CElement* e)
{
    if (StylesLater(e)) {
        // From the nearest ancestor styled already (the top at the latest)
        // down to e: each inherits, then takes what its attributes give.
        std::vector<CElement*>& chain = g_later->chain;
        chain.clear();
        for (CElement* a = e; a && StylesLater(a) && !g_later->Styled(a->GetID()); a = a->m_parent)
            chain.push_back(a);
        for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
            CElement* a = *it;
            if (a->m_parent)
                a->CopyFromParent(a->m_parent, 1);
            CSafeBuf styleText;
            if (AttributesAsRead(a, styleText))
                StyleAsRead(a, styleText);
            g_later->MarkStyled(a->GetID());
        }
    }
    return e->Style().rtl != 0;
}
