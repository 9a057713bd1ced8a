// Markup at the start or the end of the div that holds the caret (the
// page's script adds content to a division it marked).

#include "editor/XHTML.h"

#include "editor/InsertSupport.h"
#include "element/Element.h"
#include "element/factory/ElementFactory.h"

using namespace qm::insert;

namespace {

enum class Where
{
    kNowhere,
    kEmpty,
    kStart,
    kEnd
};

Where WhereInDiv(const CElement* caret, const CElement* div)
{
    if (HoldsNoText(div))
        return Where::kEmpty;
    if (caret->m_caretOffset == 0 && div->GetFirstOrLastInputElement(true) == caret)
        return Where::kStart;
    if (caret->m_caretOffset == caret->m_text.Length() && div->GetFirstOrLastInputElement(false) == caret)
        return Where::kEnd;
    return Where::kNowhere;
}

// The caret moved from e by the first of the two moves that finds a stop.
CElement* NextStop(CElement* e, long fromId)
{
    CElement* next = e->MoveKeyFocusToNext(fromId, 3);
    return next ? next : e->MoveKeyFocusToNext(fromId, 1);
}

} // namespace

bool CXHTML::InsertXMLToDiv(const char* markup)
{
    if (!markup)
        return false;
    CSafeBuf wide(reinterpret_cast<const unsigned char*>(markup)); // each byte one unit
    return InsertXMLToDiv(static_cast<const unsigned short*>(wide));
}

bool CXHTML::InsertXMLToDiv(const unsigned short* markup)
{
    CElement* caret = m_doc.m_caretElement;
    if (!markup || !caret || !m_doc.IsElementExist(caret) || !caret->IsTextElement())
        return false;
    CElement* div = AncestorOfKind(caret, kKindDiv);
    if (!div)
        return false;
    const Where where = WhereInDiv(caret, div);
    if (where == Where::kNowhere)
        return false;

    CElement* temp = CreateElement("div", m_doc.m_workingRules, m_doc.m_root, this);
    if (!temp)
        return false;
    div->AppendChild(temp);
    if (!temp->InsertHTMLCodeToElement(markup)) {
        CElement::RemoveElement(temp, true);
        return false;
    }
    if (where == Where::kEmpty) {
        // The div's empty content goes, the caret with it.
        for (CElement* c = div->m_firstChild; c && c != temp;) {
            CElement* next = c->m_nextSibling;
            CElement::RemoveElement(c, true);
            c = next;
        }
        m_doc.m_caretElement = nullptr;
    }
    CElement* first = div->m_firstChild;
    while (CElement* c = temp->m_firstChild) {
        temp->RemoveChild(c->GetID(), false, false);
        if (where == Where::kStart && first != temp)
            div->InsertChild(c, first->GetID(), false);
        else
            div->InsertChild(c, temp->GetID(), false);
        c->CopyFromParent(div, 1);
    }
    CElement::RemoveElement(temp, true);
    div->StyleChanged(0);

    if (where == Where::kEnd) {
        if (CElement* next = NextStop(caret, caret->GetID()))
            m_doc.m_caretElement = next;
    } else if (CElement* next = NextStop(div, 0)) {
        m_doc.m_caretElement = next;
    } else {
        m_doc.m_caretElement = m_doc.m_root ? m_doc.m_root->GetFirstOrLastInputElement(true) : nullptr;
        m_doc.UpdateKeyCursor();
        DocCaretOnErased();
    }
    CElement* now = m_doc.m_caretElement;
    if (now && now->IsTextElement() && now->m_text.Length() == 1 && now->m_text.GetAt(0) == 0x00A0
        && AncestorOfKind(now, kKindTable))
        now->m_caretOffset = 1;
    return true;
}
