// Styling while a tree is read: what is left to the restyle after the read,
// and the styles the read gives when it needs one before then.

#include "element/markup/ReadStyle.h"

#include "base/text/U16.h"
#include "element/Element.h"
#include "element/services/XHTMLServices.h"
#include "style/cascade/RuleIndex.h"
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
bool g_answerUnstyled = true;
size_t g_answeredUnstyled = 0;

bool DocumentRightToLeft(const CElement* e) { return e->m_owner && e->m_owner->m_doc.m_rightToLeft; }

// An attribute that can give e a direction of its own: dir, or style text
// (compared as the attribute styling compares names, or more widely).
bool HasDirectionAttribute(const CElement* e)
{
    bool found = false;
    e->m_attributes.ForEachPair([&found](const CSafeBuf& name, const CSafeBuf&) {
        if (!found && (name.CompareNoCase("dir") == 0 || name.CompareNoCase("style") == 0))
            found = true;
    });
    return found
        || (e->HasRare() && (!e->Rare().m_attributes2.IsEmpty() || e->Rare().m_stylePieces.GetCount() != 0));
}

// Whether styling e as one link of the chain could leave it right to left
// other than by inheriting: the document's direction, a direction of its
// own, a bdo's default; and whether styling it does more than style it (a
// cell finds its column entries in the table, a custom element may load
// its content), which the full way keeps doing as it did.
bool MayTurnOrActBeyondStyle(const CElement* e)
{
    return DocumentRightToLeft(e) || HasDirectionAttribute(e) || e->m_kind == kKindBdo
        || (e->m_tagName[0] && U16icmp(e->m_tagName, "bdo") == 0) || e->m_kind == kKindCustom
        || IsCellKind(e->m_kind);
}

// Whether the full way could find e right to left. Styling e and the
// ancestors left for later, as it does, gives each the direction it
// inherits from the element above the chain unless the document's
// direction, a direction of its own or a rule sets another; where none can,
// e is left to right exactly when that element is, and the chain's styles,
// which the restyle after the read replaces, are not needed.
bool MayBeRightToLeft(const CElement* e)
{
    const CElement* a = e;
    for (; a && StylesLater(a) && !g_later->Styled(a->GetID()); a = a->m_parent) {
        if (MayTurnOrActBeyondStyle(a))
            return true;
    }
    // Above the chain: the element every link inherits from, whose owner
    // they all take, and whose document's rules they match.
    if (!a || !a->m_owner || a->Style().rtl || DocumentRightToLeft(a))
        return true;
    return RulesCanSetDirection(a->m_owner->m_doc);
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

CStyleNowScope::CStyleNowScope() : m_outer(g_later) { g_later = nullptr; }

CStyleNowScope::~CStyleNowScope() { g_later = m_outer; }

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
        if (g_answerUnstyled && !MayBeRightToLeft(e)) {
            ++g_answeredUnstyled;
            return false;
        }
        std::vector<CElement*>& chain = g_later->chain;
        chain.clear();
        for (CElement* a = e; a && StylesLater(a) && !g_later->Styled(a->GetID()); a = a->m_parent)
            chain.push_back(a);
        for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
            // A table is styled as any element is. What it passes to its
            // rows and cells, and the grid it places them in, wait for the
            // restyle after the read, when it is whole: placed with a first
            // row alone, that row's spans would be dropped as a one-row
            // table's are, and the header cells read before that restyle
            // would cover one column each.
            if ((*it)->m_kind == kKindTable)
                (*it)->CElement::StyleChanged(2);
            else
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

void SetRowDirectionUnstyled(bool on) { g_answerUnstyled = on; }

size_t RowsAnsweredUnstyled() { return g_answeredUnstyled; }
