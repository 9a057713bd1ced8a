// Tree questions of typing.

#include "elements/TypingTree.h"

#include "element/factory/ElementFactory.h"
#include "element/services/XHTMLServices.h"
#include "elements/TextElement.h"

namespace {

// Leaves that stand alone in the text: the caret stops before or after them.
bool IsObject(const CElement* e)
{
    return e->m_kind == kKindImg || e->m_kind == kKindHr || e->m_kind == kKindTable
        || (e->m_noChild && e->m_kind != kKindBr);
}

// The element after e in document order (e's children first), not leaving
// within.
const CElement* Following(const CElement* e, const CElement* within, bool enter)
{
    if (enter && e->m_firstChild)
        return e->m_firstChild;
    for (; e && e != within; e = e->m_parent) {
        if (e->m_nextSibling)
            return e->m_nextSibling;
    }
    return nullptr;
}

// The element before e in document order (the deepest last descendant of
// the previous sibling), not leaving within.
const CElement* Preceding(const CElement* e, const CElement* within)
{
    if (e == within)
        return nullptr;
    if (const CElement* p = e->m_prevSibling) {
        while (p->m_lastChild)
            p = p->m_lastChild;
        return p;
    }
    return e->m_parent == within ? nullptr : e->m_parent;
}

} // namespace

CTextElement* PreviousRunWithText(const CElement* e, const CElement* block)
{
    CTextElement* r = PreviousRun(e, block, true);
    while (r && r->m_text.IsEmpty())
        r = PreviousRun(r, block, true);
    return r;
}

CTextElement* NextRunWithText(const CElement* e, const CElement* block)
{
    CTextElement* r = NextRun(e, block, true);
    while (r && r->m_text.IsEmpty())
        r = NextRun(r, block, true);
    return r;
}

bool HoldsPlaceHolder(const CElement* run)
{
    if (!run || !run->IsTextElement() || run->m_text.Length() != 1 || run->m_text.GetAt(0) != 0xA0)
        return false;
    const CElement* block = run->GetFirstBlockParent();
    return !PreviousRunWithText(run, block) && !NextRunWithText(run, block);
}

bool IsEmptyRun(const CElement* e) { return e && e->IsTextElement() && e->m_text.IsEmpty(); }

bool OnlyEmptyRuns(const CElement* e)
{
    for (const CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (!IsEmptyRun(c))
            return false;
    }
    return true;
}

CElement* LoneParagraph(const CElement* e)
{
    CElement* paragraph = nullptr;
    for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (IsEmptyRun(c))
            continue;
        if (paragraph || c->m_kind != kKindP)
            return nullptr;
        paragraph = c;
    }
    return paragraph;
}

CElement* LoneBareParagraph(const CElement* e)
{
    CElement* paragraph = LoneParagraph(e);
    return paragraph && paragraph->GetAttrCount() == 0 ? paragraph : nullptr;
}

bool IsFirstContentOf(const CElement* e, const CElement* top)
{
    for (; e && e != top; e = e->m_parent) {
        for (const CElement* s = e->m_prevSibling; s; s = s->m_prevSibling) {
            if (!IsEmptyRun(s))
                return false;
        }
    }
    return e == top;
}

bool IsLastContentOf(const CElement* e, const CElement* top)
{
    for (; e && e != top; e = e->m_parent) {
        for (const CElement* s = e->m_nextSibling; s; s = s->m_nextSibling) {
            if (!IsEmptyRun(s))
                return false;
        }
    }
    return e == top;
}

CTextElement* PreviousRun(const CElement* e, const CElement* within, bool stopAtObjects)
{
    for (const CElement* p = Preceding(e, within); p; p = Preceding(p, within)) {
        if (p->IsTextElement())
            return const_cast<CTextElement*>(static_cast<const CTextElement*>(p));
        if (stopAtObjects && IsObject(p))
            return nullptr;
    }
    return nullptr;
}

CTextElement* NextRun(const CElement* e, const CElement* within, bool stopAtObjects)
{
    for (const CElement* n = Following(e, within, false); n; n = Following(n, within, true)) {
        if (n->IsTextElement())
            return const_cast<CTextElement*>(static_cast<const CTextElement*>(n));
        if (stopAtObjects && IsObject(n))
            return nullptr;
    }
    return nullptr;
}

void PutCaret(CElement* e, long offset)
{
    if (!e)
        return;
    e->m_caretOffset = offset;
    if (e->m_owner)
        e->m_owner->m_doc.m_caretElement = e;
}

bool HoldsCaret(const CElement* e) { return e && e->m_owner && e->m_owner->m_doc.m_caretElement == e; }

CTextElement* NewRun(CElement* parent)
{
    CElement* e = CreateElement(
        static_cast<const unsigned short*>(nullptr), parent->m_rules, parent->m_root, parent->m_owner);
    CTextElement* run = dynamic_cast<CTextElement*>(e);
    if (!run) {
        delete e;
        return nullptr;
    }
    run->CopyFromParent(parent, 1);
    return run;
}

CElement* NewElement(const char* tag, CElement* parent)
{
    CElement* e = CreateElement(tag, parent->m_rules, parent->m_root, parent->m_owner);
    if (e)
        e->CopyFromParent(parent, 1);
    return e;
}
