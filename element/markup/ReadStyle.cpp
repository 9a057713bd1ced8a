// Styling while a tree is read: what is left to the restyle after the read,
// and the styles the read gives when it needs one before then.

#include "element/markup/ReadStyle.h"

#include "element/Element.h"
#include "style/cascade/StyleMerge.h"

#include <algorithm>
#include <deque>
#include <memory>
#include <vector>

struct CStyleLaterScope::State
{
    const CElement* top;
    // The elements inside top styled as read already, by id in increasing
    // order (ids are never reused, so an element freed during the read is
    // never taken for a new one). A read meets its rows in document order,
    // and they were made in that order: an id nearly always goes at the end.
    // Held in blocks rather than one array: a document's rows are many, and
    // moving a growing array to a larger one asks the allocator for big
    // blocks in the middle of a read that frees and makes small ones fast.
    std::deque<long> styled;
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
    // A row's direction decides the order its cells are kept in, and the
    // writer puts them back by the direction the row has when written: the
    // two must agree, or every save turns the cells round once more. Rules
    // can depend on where the row stands (a first child, a row after
    // another), which an element learns only once linked; made before that,
    // it matched rules as if alone. So the row, and the ancestors it
    // inherits from where their styling was left for later, are styled here
    // in full as they stand, as the restyle after the read styles them.
    if (StylesLater(e)) {
        std::vector<CElement*>& chain = g_later->chain;
        chain.clear();
        for (CElement* a = e; a && StylesLater(a) && !g_later->Styled(a->GetID()); a = a->m_parent)
            chain.push_back(a);
        for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
            (*it)->StyleChanged(2);
            g_later->MarkStyled((*it)->GetID());
        }
    } else if (e->m_parent) {
        // Styled as read and restyled by nothing after: the row and the
        // cells that inherit from it take the style they keep.
        e->StyleChanged(1);
    }
    return e->Style().rtl != 0;
}
