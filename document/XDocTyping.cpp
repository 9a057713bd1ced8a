// The document's half of a key: what happens around the caret element's own
// OnChar. A selection is collapsed (arrows) or deleted first (Backspace,
// Delete, Return and characters; a paragraph or heading typed over whole is
// replaced by a paragraph of its kind), caret moves between lines, blocks
// and cells are made here, and every other key goes to the element holding
// the caret, which edits the tree and reports the new caret. Afterwards,
// unless the key only moved the caret, a paragraph left as the only child
// of a table cell or dd is unwrapped; the caret is taken from the element
// that holds it.

#include "document/XDoc.h"

#include "element/Element.h"

#include "base/shims/Keys.h"
#include "elements/ImageElement.h"
#include "elements/TextElement.h"
#include "elements/TypingTree.h"

namespace {

constexpr unsigned int kHome = 1;
constexpr unsigned int kEnd = 4;
constexpr unsigned int kBackspace = 8;
constexpr unsigned int kReturn = 13;
constexpr unsigned int kLeft = 28;
constexpr unsigned int kRight = 29;
constexpr unsigned int kUp = 30;
constexpr unsigned int kDown = 31;
constexpr unsigned int kDelete = 127;

bool Held(unsigned short key) { return GetKeyState(key) < 0; }

bool IsCollapsingKey(unsigned int c)
{
    return c == kLeft || c == kRight || c == kUp || c == kDown || c == kHome || c == kEnd;
}

// The block a selection typed over whole stands in: a p, else a heading,
// else a div.
CElement* SelectedBlock(CXDoc& doc)
{
    if (CElement* p = doc.IsSelectionUnderSameTag(kKindP))
        return p;
    for (long kind = kKindH1; kind <= kKindH6; ++kind) {
        if (CElement* h = doc.IsSelectionUnderSameTag(int(kind)))
            return h;
    }
    return doc.IsSelectionUnderSameTag(kKindDiv);
}

} // namespace

bool CXDoc::OnChar(unsigned int c, unsigned int repeat, unsigned int flags)
{
    if (!m_root)
        return false;
    try {
        const bool shift = Held(kKeyShift);
        const bool command = Held(kKeyCommand);
        // A selection hides the caret (it is disabled while one is shown):
        // a line move that extends the selection, or starts from where it
        // was collapsed, still moves it.
        const bool fromSelection = m_selectionPresent != 0;
        if (m_resizeState != 0) {
            m_resizeState = 0;
            DrawDoc(2);
            Redraw();
        }
        if (c >= 32 && !m_selectionPresent)
            AddPToFirstTextInBody(true);
        if (m_selectionPresent && IsCollapsingKey(c)) {
            if (shift) {
                // The engine marks the selection again from its anchor.
                m_root->CleanSelection(true);
            } else {
                if ((c != kLeft && c != kRight) || !CollapseArrowOverImages(c == kLeft))
                    SetPositionToFirstSel(c == kLeft || c == kUp || c == kHome);
                m_root->CleanSelection(true);
                m_selectionPresent = 0;
                m_cellMarkMode = 0;
                m_selectedCellCount = 0;
                DrawDoc(0);
                if (c == kLeft || c == kRight) {
                    FinishKey();
                    return true;
                }
            }
        }
        if (command && (c == kHome || c == kEnd)) {
            if (CElement* e = m_root->GetFirstOrLastInputElement(c == kHome)) {
                const long length = e->m_text.Length();
                e->m_caretOffset = c == kHome ? 0 : (e->IsTextElement() && length > 0 ? length : 1);
                m_caretElement = e;
            }
            FinishKey();
            return true;
        }
        if (c == kHome || c == kEnd || (command && (c == kLeft || c == kRight))) {
            MoveToLineEdge(c == kEnd || c == kRight);
            FinishKey();
            return true;
        }
        if ((c == kUp || c == kDown) && IsInTree(m_caretElement)) {
            if (Held(kKeyControl) || Held(kKeyOption))
                return MoveByBlock(c == kDown);
            return MoveByLine(c == kDown, shift, fromSelection);
        }
        if (m_selectionPresent && !TypeOverSelection(c))
            return true;
        return TypeAtCaret(c, repeat, flags);
    } catch (...) {
        WriteExcpInfo("OnChar");
        return false;
    }
}

bool CXDoc::TypeOverSelection(unsigned int c)
{
    if (c < 32 && c != kBackspace && c != kDelete) {
        if (c == kReturn) {
            // Return splits the joined block at the caret; inside a term it
            // does nothing, so a selection from a term on is not joined.
            const CElement* first = m_root->GetFirstSelection(0);
            DeleteSelection(false, false, first && !first->IsElementUnderTag(kKindDt));
        }
        return true;
    }
    const bool byKey = c == kBackspace || c == kDelete;
    // A block typed over whole gives way to a paragraph of its kind: a copy
    // of a p with its attributes, a new p for a heading or div.
    CElement* block = SelectedBlock(*this);
    long blockId = 0;
    long previousId = 0;
    long nextId = 0;
    long parentId = 0;
    CElement* replacement = nullptr;
    if (block && block->m_parent) {
        blockId = block->GetID();
        parentId = block->m_parent->GetID();
        if (block->m_prevSibling)
            previousId = block->m_prevSibling->GetID();
        else if (block->m_nextSibling)
            nextId = block->m_nextSibling->GetID();
        replacement = block->m_kind == kKindP ? block->Duplicate() : NewElement("p", block->m_parent);
    }
    if (!DeleteSelection(byKey, !byKey, true)) {
        delete replacement;
        return false;
    }
    CElement* parent = FindElement(parentId);
    if (replacement
        && (IsInTree(FindElement(m_deletionPlace))
            || (byKey && IsInTree(parent)
                && (IsCellKind(parent->m_kind) || parent->m_kind == kKindDd || parent->m_kind == kKindDt)
                && IsInTree(m_caretElement) && m_caretElement->m_parent == parent))) {
        // The deletion already made the paragraph that stands for the block,
        // or left the caret in the cell or entry the block filled, which
        // reads back without a paragraph.
        delete replacement;
        replacement = nullptr;
    }
    if (replacement && !IsInTree(FindElement(blockId))) {
        CElement* previous = FindElement(previousId);
        CElement* next = FindElement(nextId);
        const bool siblingLeft = IsInTree(previous) || IsInTree(next);
        CElement* run = nullptr;
        if (!siblingLeft && IsInTree(parent)) {
            run = NewRun(replacement);
            if (run) {
                parent->AppendChild(replacement);
                replacement->AppendChild(run);
            }
        } else if (siblingLeft && c >= 32 && c != kDelete) {
            run = NewRun(replacement);
            if (run) {
                CElement* beside = IsInTree(previous) ? previous : next;
                beside->m_parent->InsertChild(replacement, beside->GetID(), beside == previous);
                replacement->AppendChild(run);
                // The place the deletion left for typing is taken by the
                // replacement.
                CElement* after = replacement->m_nextSibling;
                if (after && IsEmptyRun(after) && after != m_caretElement)
                    replacement->m_parent->RemoveChild(after->GetID(), true, true);
            }
        }
        if (run) {
            replacement->StyleChanged(1);
            run->m_caretOffset = 0;
            m_caretElement = run;
            if (!siblingLeft)
                RemoveEmptySiblings(replacement);
            DrawDoc(0);
            replacement = nullptr;
        }
    }
    delete replacement;
    if (byKey) {
        DrawDoc(0);
        SetLastKeyPos(m_caretPoint);
        Redraw();
        return false;
    }
    AddPToFirstTextInBody(true);
    return true;
}

void CXDoc::RemoveEmptySiblings(CElement* e)
{
    // A parent the deletion emptied got an empty run for the caret; the
    // paragraph that replaces the block takes its place.
    CElement* parent = e->m_parent;
    for (CElement* s = parent->m_firstChild; s;) {
        CElement* next = s->m_nextSibling;
        if (s != e && IsEmptyRun(s))
            parent->RemoveChild(s->GetID(), true, true);
        s = next;
    }
}

bool CXDoc::TypeAtCaret(unsigned int c, unsigned int repeat, unsigned int flags)
{
    CElement* caret = m_caretElement;
    if (!IsInTree(caret))
        return false;
    bool enabled = m_caretEnabled != 0;
    CPoint point = m_caretPoint;
    int height = m_caretHeight;
    CElement* moved = nullptr;
    if (!caret->OnChar(c, repeat, flags, enabled, point, height, moved, false))
        return false;
    if (moved && IsInTree(moved))
        m_caretElement = moved;
    m_caretPhase = 1;
    AfterElementKey(IsCollapsingKey(c));
    FinishKey();
    return true;
}

void CXDoc::AfterElementKey(bool moveOnly)
{
    CElement* caret = m_caretElement;
    if (!IsInTree(caret))
        CheckKeyFocus();
    caret = m_caretElement;
    if (!caret)
        return;
    if (auto* image = dynamic_cast<CImageElement*>(caret->IsElementUnderTag(kKindImg))) {
        if (image->UpdateAltTxt())
            DrawDoc(0);
    }
    // A key that only moved the caret leaves the markup as it is: the
    // paragraph goes with the next key that edits there, in that key's
    // step.
    if (moveOnly)
        return;
    CElement* holder = nullptr;
    for (CElement* a = caret->m_parent; a; a = a->m_parent) {
        if (IsCellKind(a->m_kind) || a->m_kind == kKindDd) {
            holder = a;
            break;
        }
    }
    if (CElement* paragraph = holder ? LoneBareParagraph(holder) : nullptr) {
        holder->RemoveChildNodeOnly(paragraph->GetID());
        holder->SendNotification(6);
    }
}

void CXDoc::FinishKey()
{
    if (!IsInTree(m_caretElement))
        CheckKeyFocus();
    UpdateKeyCursor();
    m_lastKeyPoint = m_caretPoint;
    m_lastKeyPos = m_caretPoint;
    m_caretPhase = 1;
    Redraw();
    SetScrollBar();
}
