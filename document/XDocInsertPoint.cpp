// Making sure there is a text run to type into: a caret re-placed after a
// deletion, a paragraph made in an empty document, a text run beside an
// element that takes the caret whole, and a run standing directly in the
// body wrapped in a paragraph with its inline neighbours. Also Return and
// plain text at the caret for text insertion.

#include "document/XDoc.h"

#include "element/Element.h"
#include "element/services/XHTMLServices.h"

#include "elements/TextElement.h"
#include "elements/TypingTree.h"

namespace {

// A block for wrapping purposes: a block element, or a custom element that
// holds block children.
bool StopsWrapping(const CElement* e)
{
    if (e->m_block)
        return true;
    if (e->m_kind != kKindCustom)
        return false;
    for (const CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (c->m_block)
            return true;
    }
    return false;
}

} // namespace

bool CXDoc::AddPToFirstTextInBody(bool force)
{
    CElement* run = m_caretElement;
    if (!IsInTree(run) || !run->IsTextElement() || run->m_parent != m_root)
        return false;
    if (run != m_root->m_firstChild && !force)
        return false;
    try {
        CElement* p = NewElement("p", m_root);
        if (!p)
            return false;
        CElement* first = run;
        while (first->m_prevSibling && !StopsWrapping(first->m_prevSibling))
            first = first->m_prevSibling;
        m_root->InsertChild(p, first->GetID(), false);
        for (CElement* c = first; c && !StopsWrapping(c);) {
            CElement* next = c->m_nextSibling;
            m_root->RemoveCurrentChildFromList(c);
            p->AppendChild(c);
            c = next;
        }
        p->StyleChanged(1);
        DrawDoc(0);
        if (CElement* after = p->m_nextSibling) {
            if (IsListKind(after->m_kind))
                after->SendNotification(3);
        }
        if (m_owner)
            m_owner->DisplayTagBox();
        return true;
    } catch (...) {
        WriteExcpInfo("AddPToFirstTextInBody");
        return false;
    }
}

bool CXDoc::CheckKeyFocus()
{
    if (IsInTree(m_caretElement))
        return false;
    m_caretElement = nullptr;
    bool created = false;
    if (!m_root)
        return false;
    try {
        if (CElement* run = m_root->GetFirstValidSubElement(0, false)) {
            run->m_caretOffset = 0;
            m_caretElement = run;
        } else {
            CPtrList all;
            m_root->GetAllChildren(&all, 0, false, 0, 0);
            for (void* pos = all.GetHeadPosition(); pos;) {
                auto* e = static_cast<CElement*>(all.GetNext(pos));
                if (e->m_edgeCaret) {
                    e->m_caretOffset = 0;
                    m_caretElement = e;
                }
            }
            if (!m_caretElement)
                created = AppendEmptyParagraph() != nullptr;
        }
        UpdateKeyCursor();
        m_caretEnabled = 1;
        m_caretPhase = 1;
    } catch (...) {
        WriteExcpInfo("CheckKeyFocus");
    }
    return created;
}

bool CXDoc::ActionBeforeInsertText(unsigned short)
{
    if (!m_root || m_selectionPresent || IsInTree(m_caretElement))
        return false;
    try {
        if (CElement* run = m_root->GetFirstValidSubElement(0, false)) {
            run->m_caretOffset = 0;
            m_caretElement = run;
            return false;
        }
        if (CElement* run = AppendEmptyParagraph()) {
            run->m_parent->LoadCDCSetting(m_root->m_dc.get());
            run->LoadCDCSetting(m_root->m_dc.get());
        }
    } catch (...) {
        WriteExcpInfo("ActionBeforeInsertText");
    }
    return false;
}

bool CXDoc::CanInsert(bool create, bool)
{
    if (IsInTree(m_caretElement))
        return true;
    if (!create || !m_root || m_root->m_firstChild)
        return false;
    CElement* run = NewRun(m_root);
    if (!run)
        return false;
    m_root->AppendChild(run);
    run->StyleChanged(2);
    run->m_caretOffset = 0;
    m_caretElement = run;
    return true;
}

bool CXDoc::PrepareInsertPoint()
{
    CanInsert(true, false);
    if (!IsInTree(m_caretElement))
        return false;
    if (m_caretElement->m_edgeCaret) {
        if (CElement* run = m_caretElement->InsertTextBlock())
            m_caretElement = run;
    }
    return true;
}

void CXDoc::EmulateReturnKey()
{
    CElement* caret = m_caretElement;
    if (!IsInTree(caret))
        return;
    try {
        CElement* caption = caret->IsElementUnderTag(kKindCaption);
        if (caption) {
            caret->BreakElement(caret->GetID(), false);
            CElement* br = NewElement("br", caret->m_parent);
            if (!br)
                return;
            caret->m_parent->InsertChild(br, caret->GetID(), true);
            if (br->m_parent->m_inline) {
                CElement* top = br->m_parent;
                while (top->m_parent && top->m_parent->m_inline)
                    top = top->m_parent;
                br->MoveOutUntil(top, false);
            }
            br->m_parent->StyleChanged(1);
            DrawDoc(0);
            UpdateKeyCursor();
            Redraw();
            return;
        }
        bool enabled = m_caretEnabled != 0;
        CPoint point = m_caretPoint;
        int height = m_caretHeight;
        CElement* moved = nullptr;
        if (!caret->OnChar(13, 0, 0, enabled, point, height, moved, true))
            return;
        if (moved && IsInTree(moved))
            m_caretElement = moved;
        UpdateKeyCursor();
        m_lastKeyPoint = m_caretPoint;
        m_lastKeyPos = m_caretPoint;
        m_caretPhase = 1;
    } catch (...) {
        WriteExcpInfo("EmulateReturnKey");
    }
}

void CXDoc::InsertText(const unsigned short* text)
{
    CElement* caret = m_caretElement;
    if (!IsInTree(caret))
        return;
    try {
        if (caret->m_edgeCaret) {
            caret = caret->InsertTextBlock();
            if (!caret)
                return;
            m_caretElement = caret;
        }
        if (!caret->IsTextElement())
            return;
        caret->InsertText(text);
        if (caret->m_parent == m_root) {
            CElement* p = NewElement("p", m_root);
            if (!p)
                return;
            m_root->InsertChild(p, caret->GetID(), false);
            p->CopyFromParent(m_root, 1);
            m_root->RemoveCurrentChildFromList(caret);
            p->AppendChild(caret);
        }
    } catch (...) {
        WriteExcpInfo("InsertText");
    }
}
