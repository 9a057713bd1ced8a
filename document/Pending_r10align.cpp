// Members of the insertion rules that the structural commands call. The
// markup insertion is a stand-in; the reshaping of ancestors is what the
// remove-formatting and tag commands rely on.

#include "document/XDoc.h"

#include "element/Element.h"
#include "element/ElementKinds.h"
#include "element/ValidateTree.h"
#include "element/services/XHTMLServices.h"
#include "elements/TypingTree.h"

bool CXDoc::InsertTagText(const unsigned short*, CElement*, bool, bool, bool, bool) { return false; }

bool CXDoc::InsertTagText(const char*, CElement*, bool, bool, bool, bool) { return false; }

namespace {

// Tags that keep their place; only their style and class go.
const char* const kKeptTags[] = {"p", "img", "html", "head", "title", "base", "link", "meta", "script",
    "style", "body", "form", "noscript", "legend", "optgroup", "option", "input", "object", "param", "label",
    "button", "textarea", "select", "caption", "col", "colgroup", "thead", "tbody", "tfoot", "td", "th", "tr",
    "table", "a", "li", "ul", "ol", "dl", "dt", "dd", "map"};

// Options bit: a div is judged like the other elements.
constexpr int kJudgeDivs = 0x800;

bool IsKeptTag(const CElement* e)
{
    for (const char* tag : kKeptTags) {
        if (e->IsTag(tag))
            return true;
    }
    return false;
}

bool HasBlockChild(const CElement* e)
{
    for (const CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (c->m_block)
            return true;
    }
    return false;
}

// e's children take its place, and so do those of the pieces it wrapped
// into.
void Unwrap(CElement* e)
{
    CPtrList pieces;
    e->GetWrappedInlineBrothers(&pieces);
    for (void* pos = pieces.GetHeadPosition(); pos;) {
        auto* piece = static_cast<CElement*>(pieces.GetNext(pos));
        if (CElement* parent = piece->m_parent)
            parent->RemoveChildNodeOnly(piece->GetID());
    }
    CElement* parent = e->m_parent;
    parent->RemoveChildNodeOnly(e->GetID());
    parent->StyleChanged(0);
}

// A new p after e takes all of e's children; e is destroyed.
void ReplaceByParagraph(CElement* e)
{
    CElement* parent = e->m_parent;
    CElement* p = NewElement("p", parent);
    if (!p)
        return;
    parent->InsertChild(p, e->GetID(), true);
    p->CopyFromParent(parent, 1);
    const bool fromPre = e->m_kind == kKindPre;
    e->MoveChildrenTo(p, 0, true, 0, 0);
    if (fromPre)
        ValidateTextChildFromPre(p, 2);
    CElement::RemoveElement(e, true);
    parent->StyleChanged(0);
}

} // namespace

void CXDoc::RemoveUnexpectTag(CElement* e)
{
    try {
        if (!e)
            return;
        const int options = m_owner ? m_owner->Options() : 0;
        CElement* next = nullptr;
        for (CElement* a = e->m_parent; a; a = next) {
            next = a->m_parent;
            if (a->m_locked)
                continue;
            if (IsKeptTag(a)) {
                a->SetAttrString("style", "");
                a->SetAttrString("class", "");
                a->StyleChanged(1);
                continue;
            }
            if (!next)
                continue;
            const bool div = a->m_kind == kKindDiv;
            if (div && !(options & kJudgeDivs))
                continue;
            const bool keepsShape
                = a->m_kind == kKindLi || IsHeadingKind(a->m_kind) || div || a->m_kind == kKindPre;
            if (!keepsShape || (div && HasBlockChild(a)))
                Unwrap(a);
            else
                ReplaceByParagraph(a);
        }
    } catch (...) {
        // The reshaping stops where it failed; what was done stays.
    }
}
