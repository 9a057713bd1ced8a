// Collapsing white space at the starts of text runs, as a browser shows it:
// no space at the start of a block or after another space, and a space that
// starts an inline element moved out in front of it.

#include "element/Element.h"
#include "element/TextRunPass.h"

#include "element/factory/ElementFactory.h"
#include "element/services/XHTMLServices.h"

namespace {

const unsigned short kNoTag[] = {0};
const unsigned short kSpace[] = {' ', 0};

int LeadingSpaces(const CSafeBuf& text)
{
    const unsigned short* s = text;
    const int n = text.Length();
    int i = 0;
    while (i < n && s[i] == ' ')
        ++i;
    return i;
}

// The run comes first in its parent, empty runs before it passed over.
bool IsFirstOfParent(const CElement* e)
{
    for (const CElement* c = e->m_prevSibling; c; c = c->m_prevSibling) {
        if (!(c->IsTextElement() && c->m_text.IsEmpty()))
            return false;
    }
    return true;
}

void DropLeadingSpaces(CElement* run, int count)
{
    run->m_text.Delete(0, count);
    if (run->m_owner && run->m_owner->m_doc.m_caretElement == run)
        run->m_caretOffset = run->m_caretOffset > count ? run->m_caretOffset - count : 0;
}

} // namespace

bool SeparatesSpaceRuns(const CElement* e)
{
    // A break, a picture, and the icon of a form control, map, object or
    // noscript (whose content is markup text, no child runs) stand between
    // the runs around them: a space after them still separates two words. A
    // noscript's content shows where scripts do not run, so the blanks on
    // both sides of it are kept; a script or a comment shows nothing, and
    // the blanks around it meet.
    const long k = e->m_kind;
    return k == kKindPre || k == kKindBr || k == kKindImg || k == kKindFormControl || k == kKindMap
        || k == kKindObject || k == kKindNoscript;
}

bool CElement::RemoveExtraSpace(int& previous)
{
    if (SeparatesSpaceRuns(this)) {
        previous = 0;
        return false;
    }
    bool changed = false;
    if (m_kind == kKindText) {
        const int spaces = LeadingSpaces(m_text);
        CElement* parent = m_parent;
        if (spaces > 0 && previous == 32) {
            DropLeadingSpaces(this, spaces);
            changed = true;
        } else if (spaces > 0 && parent && parent->m_inline && IsFirstOfParent(this)) {
            // The outermost inline ancestor that this run starts.
            CElement* outer = parent;
            while (outer->m_parent && outer->m_parent->m_inline && IsFirstOfParent(outer))
                outer = outer->m_parent;
            CElement* space = outer->m_parent ? CreateElement(kNoTag, m_rules, m_root, m_owner) : nullptr;
            if (space) {
                DropLeadingSpaces(this, spaces);
                space->m_text = kSpace;
                outer->m_parent->InsertChild(space, outer->m_id, false);
                space->StyleChanged(2);
                changed = true;
            }
        }
        const int n = m_text.Length();
        if (n > 0 || changed)
            previous = n > 0 && static_cast<const unsigned short*>(m_text)[n - 1] != ' ' ? 0 : 32;
        return changed;
    }
    if (m_block)
        previous = 32;
    for (CElement* c = m_firstChild; c; c = c->m_nextSibling)
        changed |= c->RemoveExtraSpace(previous);
    if (m_block)
        previous = 32;
    return changed;
}
