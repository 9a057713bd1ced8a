// The filler of an empty table cell or caption.

#include "element/EmptyCell.h"

#include "element/Element.h"
#include "element/ElementKinds.h"
#include "element/factory/ElementFactory.h"
#include "element/services/XHTMLServices.h"
#include "elements/TypingTree.h"

namespace {

bool IsCellOrCaption(const CElement* e) { return IsCellKind(e->m_kind) || e->m_kind == kKindCaption; }

} // namespace

bool IsEmptyCellFiller(const CElement* e)
{
    return e && e->IsTextElement() && e->m_text.Length() == 1 && e->m_text.GetAt(0) == 0x00A0;
}

CElement* AppendRunAsRead(CElement* e)
{
    if (!e || e->m_firstChild)
        return nullptr;
    CElement* run = CreateElement("", e->m_rules, e->m_root, e->m_owner);
    if (!run)
        return nullptr;
    if (IsCellOrCaption(e)) {
        const unsigned short filler[] = {0x00A0, 0};
        run->m_text = filler;
    }
    e->AppendChild(run);
    run->StyleChanged(2);
    return run;
}

bool FillEmptiedCell(CElement* e)
{
    if (!e || !IsCellOrCaption(e) || !OnlyEmptyRuns(e))
        return false;
    CElement** caret = e->m_owner ? &e->m_owner->m_doc.m_caretElement : nullptr;
    const bool caretHere = caret && *caret && (*caret == e || (*caret)->m_parent == e);
    if (caretHere)
        *caret = nullptr;
    // Queued, not destroyed: a caller up the stack may still hold a run.
    while (CElement* c = e->m_firstChild)
        e->RemoveChild(c->GetID(), true, true);
    CElement* run = AppendRunAsRead(e);
    if (caretHere) {
        if (run)
            run->m_caretOffset = 0;
        *caret = run;
    }
    return run != nullptr;
}
