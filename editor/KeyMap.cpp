// The key map: every character event routing produces, one UTF-16 unit at a
// time, with the modifiers read as the key arrives.
//
// Stage 1 runs before the edit guard: Enter as Return, Control+Space (the
// context menu), an arrow that selects the image beside the caret, and the
// shortcuts that change nothing (undo, redo, select all, copy). Stage 2 asks
// the edit guard. Stage 3: page keys scroll, the editing shortcuts, Shift+
// Return (a line break), the structural keys the document leaves to the
// engine, and finally the document's own OnChar and what follows every key.
//
// Which shortcut a key stands for is the table of KeyShortcuts.h.

#include "editor/XHTML.h"

#include "base/shims/Keys.h"
#include "editor/KeyShortcuts.h"
#include "element/Element.h"
#include "elements/TextElement.h"
#include "elements/TypingTree.h"

namespace {

constexpr unsigned int kHome = 1;
constexpr unsigned int kEnd = 4;
constexpr unsigned int kTab = 9;
constexpr unsigned int kBackspace = 8;
constexpr unsigned int kReturn = 13;
constexpr unsigned int kLeft = 28;
constexpr unsigned int kRight = 29;
constexpr unsigned int kUp = 30;
constexpr unsigned int kDown = 31;
constexpr unsigned int kDelete = 127;

// Scroll actions of the page keys: half the view up and down.
constexpr unsigned int kScrollHalfUp = 7;
constexpr unsigned int kScrollHalfDown = 6;

constexpr int kGuardTyping = 1;

bool Held(unsigned short key) { return GetKeyState(key) < 0; }

bool IsNavigationKey(unsigned int key)
{
    return key == kLeft || key == kRight || key == kUp || key == kDown || key == kHome || key == kEnd;
}

// The keys that are undo steps of their own: Return, a line break, a paste
// or a link, and Backspace, Delete, a cut or a formatting key over a
// selection (without one these change nothing). The typing before them
// ends its step first, and undo takes back the key alone.
bool EndsTypingStep(KeyAction action, unsigned int key, bool selection)
{
    switch (action) {
    case KeyAction::LineBreak:
    case KeyAction::Paste:
    case KeyAction::Link: return true;
    case KeyAction::Cut:
    case KeyAction::Strong:
    case KeyAction::Em: return selection;
    case KeyAction::Document: return key == kReturn || (selection && (key == kBackspace || key == kDelete));
    default: return false;
    }
}

// A heading, p or div: the blocks the structural keys remove.
bool IsPlainBlock(const CElement* e)
{
    return e && (IsHeadingKind(e->m_kind) || e->m_kind == kKindP || e->m_kind == kKindDiv);
}

// A blockquote or div below another element that is not a table cell: a
// wrapper that may go when what it wraps goes (a cell keeps its block).
bool IsBareWrapper(const CElement* e)
{
    return e && (e->m_kind == kKindBlockquote || e->m_kind == kKindDiv) && e->m_parent
        && !IsCellKind(e->m_parent->m_kind);
}

// A p holding only empty runs that is all its list item holds (empty runs
// aside): the item is an empty item.
bool IsEmptyParagraphAloneInItem(const CElement* e)
{
    return e && e->m_kind == kKindP && OnlyEmptyRuns(e) && e->m_parent && e->m_parent->m_kind == kKindLi
        && LoneParagraph(e->m_parent) == e;
}

// The end a Shift-move gives the selection. A caret standing on the edge of
// a block that is a caret stop of its own (before or after a div, list,
// table or pre) marks nothing there, and a selection running to it from
// inside the block would come out empty: the block's first stop (before
// it) or last stop at its end (after it) stands for that edge. point is
// moved with the end.
CElement* SelectionEndAtEdge(CElement* caret, CPoint& point)
{
    CElement* end = caret;
    for (int depth = 0; depth < 8 && end && end->m_edgeCaret && end->m_firstChild; ++depth) {
        const bool after = end->m_caretOffset != 0;
        CElement* inner = end->GetFirstOrLastInputElement(!after);
        if (!inner || inner == end)
            break;
        const long offset = after ? (inner->IsTextElement() ? inner->m_text.Length() : 1) : 0;
        CPoint pt;
        const long saved = inner->m_caretOffset;
        inner->GetKeyPos(pt, int(offset));
        inner->m_caretOffset = saved;
        pt.y -= 1;
        point = pt;
        end = inner;
    }
    return end;
}

} // namespace

void CXHTML::OnChar(unsigned int key, unsigned int repeat, unsigned int flags)
{
    KeyModifiers held;
    held.command = Held(kKeyCommand);
    held.shift = Held(kKeyShift);
    held.option = Held(kKeyOption);
    held.control = Held(kKeyControl);
    CElement* caret = m_doc.IsElementInTree(m_doc.m_caretElement) ? m_doc.m_caretElement : nullptr;

    // ---- stage 1 ----
    const KeyAction free = ShortcutBeforeGuard(key, held);
    if (free == KeyAction::Document && !m_doc.m_selectionPresent && !held.command && !held.shift
        && !held.option && !held.control && caret && caret->m_kind == kKindImg
        && ((key == kLeft && caret->m_caretOffset == 1) || (key == kRight && caret->m_caretOffset == 0))) {
        m_doc.m_selectionPresent = 1;
        m_doc.m_caretEnabled = 0;
        caret->m_selected = 1;
        ShowSelection();
        m_doc.DisplaySelectionStyle();
        return;
    }
    switch (free) {
    case KeyAction::ContextMenu: ContextMenuAtCaret(caret); return;
    case KeyAction::Undo: OnUndo(); return;
    case KeyAction::Redo: OnRedo(); return;
    case KeyAction::SelectAll: SelectAll(); return;
    case KeyAction::Copy: OnCopy(); return;
    default: break;
    }

    // ---- stage 2: the edit guard reports a refusal itself ----
    if (!m_doc.CanDocumentBeChanged(kGuardTyping, nullptr, long(key), long(flags), nullptr))
        return;

    // ---- stage 3 ----
    const KeyAction action = ShortcutAfterGuard(key, flags, held);
    if (EndsTypingStep(action, key, m_doc.m_selectionPresent != 0))
        m_doc.TakePendingChange();
    switch (action) {
    case KeyAction::PageUp: OnVScroll(kScrollHalfUp, 0); return;
    case KeyAction::PageDown: OnVScroll(kScrollHalfDown, 0); return;
    case KeyAction::Paste: OnPaste(); return;
    case KeyAction::Cut: OnCut(); return;
    case KeyAction::Strong: KeyStrong(); return;
    case KeyAction::Em: KeyEm(); return;
    case KeyAction::Link: OnInserthref(); return;
    case KeyAction::Find: DoFindReplace(1); return;
    case KeyAction::Replace: DoFindReplace(0); return;
    case KeyAction::LineBreak:
        // The break takes the selection's place: what is left of the
        // blocks the selection ran across is one block around it.
        RemoveSelection(true);
        DoAddTag("br", true, true);
        DisplayTagBox();
        return;
    case KeyAction::Ignore: return;
    default: break;
    }
    if ((key == kLeft || key == kRight) && caret && caret->Style().rtl)
        key = key == kLeft ? kRight : kLeft;
    if ((key > 31 && key != kDelete) || key == kReturn || key == kTab)
        ActionBeforeInsertText(key);
    caret = m_doc.IsElementInTree(m_doc.m_caretElement) ? m_doc.m_caretElement : nullptr;

    if (StructuralKey(key, caret))
        return;
    TypeKey(key, repeat, flags, held.shift);
}

void CXHTML::ContextMenuAtCaret(CElement* caret)
{
    CPoint point = m_doc.m_caretPoint;
    if (m_doc.m_selectionPresent) {
        point.y -= 2;
        point.x += 2;
        if (m_doc.m_root && !m_doc.m_root->IsCursorInsideSelection(point))
            point.x -= 4;
    }
    if (caret)
        m_doc.m_pointerElement = caret;
    OnContextMenu(CPoint(point.x - m_doc.m_scrollX, point.y - m_doc.m_scrollY));
}

bool CXHTML::StructuralKey(unsigned int key, CElement* caret)
{
    if (!caret)
        return false;
    try {
        if (key == kDelete && !m_doc.m_selectionPresent)
            return DeleteEmptyBlock(caret);
        if (key == kReturn) {
            if (caret->IsTextElement() && caret->m_text.Length() == 0 && caret->m_parent) {
                // An item whose one paragraph is empty is an empty item too:
                // the paragraph is unwrapped first, so that the item leaves
                // the list as one that holds only the caret's run.
                CElement* paragraph = caret->m_parent;
                if (IsEmptyParagraphAloneInItem(paragraph) && !paragraph->m_parent->m_nextSibling)
                    paragraph->m_parent->RemoveChildNodeOnly(paragraph->GetID());
            }
            if (caret->IsTextElement() && caret->m_text.Length() == 0 && caret->m_parent
                && caret->m_parent->m_kind == kKindLi) {
                CElement* item = caret->m_parent;
                if (!item->m_nextSibling && item->m_parent && IsListKind(item->m_parent->m_kind)
                    && OnlyEmptyRuns(item)) {
                    LeaveEmptyLastItem(item);
                    return true;
                }
            }
            CElement* block = caret->GetFirstBlockParent();
            CElement* caption = caret->m_parent && caret->m_parent->m_kind == kKindCaption ? caret->m_parent
                : block && block->m_kind == kKindCaption                                   ? block
                                                                                           : nullptr;
            if (caption) {
                BreakInCaption(caption);
                return true;
            }
            return false;
        }
        if (key == kBackspace && caret->m_caretOffset == 0)
            return RemoveEmptyBlockBefore(caret);
    } catch (...) {
        return true; // a failure ends the key quietly
    }
    return false;
}

bool CXHTML::DeleteEmptyBlock(CElement* caret)
{
    CElement* block = caret->GetFirstBlockParent();
    if (!IsPlainBlock(block) || !block->IsEmptyTag(false) || !block->m_parent)
        return false;
    const long parentKind = block->m_parent->m_kind;
    if (block->m_kind != kKindP && (parentKind == kKindDd || parentKind == kKindLi || IsCellKind(parentKind)))
        return false;
    // A quotation or division that holds nothing but the block goes with
    // it: left empty it would show nothing and take no caret.
    CElement* gone = block;
    while (IsBareWrapper(gone->m_parent) && gone->m_parent->m_firstChild == gone && !gone->m_nextSibling)
        gone = gone->m_parent;
    CElement* next = caret->MoveKeyFocusToNext(caret->GetID(), 1);
    // The far edge of a wrapper that goes is no place for the caret: the
    // walk goes on from there (the edge taken as the caret's, as a move does).
    CElement* held = m_doc.m_caretElement;
    while (gone != block && next && next->m_edgeCaret && next->m_parent
        && (next == gone || next->IsOneOfParent(gone))) {
        m_doc.m_caretElement = next;
        next = next->m_parent->MoveKeyFocusToNext(next->GetID(), 1);
    }
    m_doc.m_caretElement = held;
    if (!next || gone == next || next->IsOneOfParent(gone))
        return false;
    m_doc.TakePendingChange();
    m_doc.ChangeCursorElement(next, -1);
    CElement* parent = gone->m_parent;
    parent->RemoveChild(gone->GetID(), true, true);
    parent->StyleChanged(1);
    FinishStructuralKey();
    return true;
}

void CXHTML::LeaveEmptyLastItem(CElement* item)
{
    if (MoveAllLevelsOut(item))
        return;
    CElement* parent = JumpOutOfLI(item, 0);
    if (!parent || !m_doc.IsElementInTree(parent))
        return;
    // The surplus empty runs of the new parent go; its first child takes
    // the caret.
    for (CElement* c = parent->m_firstChild; c;) {
        CElement* next = c->m_nextSibling;
        if (IsEmptyRun(c) && c != parent->m_firstChild)
            parent->RemoveChild(c->GetID(), true, true);
        c = next;
    }
    if (parent->m_firstChild)
        m_doc.ChangeCursorElement(parent->m_firstChild, 0);
    parent->StyleChanged(1);
    FinishStructuralKey();
}

void CXHTML::BreakInCaption(CElement* caption)
{
    if (m_doc.m_selectionPresent)
        RemoveSelection();
    CElement* caret = m_doc.m_caretElement;
    if (!m_doc.IsElementInTree(caret) || !caret->IsOneOfParent(caption))
        return;
    // The run is split at the caret, then every element between it and the
    // caption after the run; the break goes after the top of that path.
    CElement* top = caret;
    while (top->m_parent != caption)
        top = top->m_parent;
    if (caret->IsTextElement() && caret->m_caretOffset > 0 && caret->m_caretOffset < caret->m_text.Length())
        static_cast<CTextElement*>(caret)->SplitText(int(caret->m_caretOffset));
    if (top != caret) {
        CElement* rest = nullptr;
        caret->m_parent->SplitUntilParent(&rest, top->GetID(), caret->GetID());
    }
    CElement* br = NewElement("br", caption);
    if (!br)
        return;
    // A caret at a run's start leaves the run after the break.
    const bool before
        = caret == top && caret->IsTextElement() && caret->m_caretOffset == 0 && caret->m_text.Length() > 0;
    caption->InsertChild(br, top->GetID(), !before);
    CElement* after = br->m_nextSibling;
    if (!after || !after->IsTextElement()) {
        CTextElement* run = NewRun(caption);
        if (!run)
            return;
        caption->InsertChild(run, br->GetID(), true);
        after = run;
    }
    caption->StyleChanged(1);
    m_doc.ChangeCursorElement(after, 0);
    FinishStructuralKey();
    m_doc.SetLastKeyPos(m_doc.m_caretPoint);
}

bool CXHTML::RemoveEmptyBlockBefore(CElement* caret)
{
    CElement* block = nullptr;
    if (!caret->IsFirstEleOfBlock(&block, false, true) || !IsPlainBlock(block))
        return false;
    CElement* before = block->m_prevSibling;
    if (!IsPlainBlock(before) || !before->IsEmptyTag(false))
        return false;
    m_doc.TakePendingChange();
    CElement* parent = before->m_parent;
    parent->RemoveChild(before->GetID(), true, true);
    FinishStructuralKey();
    return true;
}

void CXHTML::FinishStructuralKey()
{
    m_doc.DrawDoc(1);
    m_doc.UpdateKeyCursor();
    m_doc.Redraw();
    NotifyEdit();
    DisplayStyleButton(m_doc.m_caretElement);
}

void CXHTML::TypeKey(unsigned int key, unsigned int repeat, unsigned int flags, bool shift)
{
    m_pastePoint.x = -1;
    const bool navigation = IsNavigationKey(key);
    CElement* caret = m_doc.IsElementInTree(m_doc.m_caretElement) ? m_doc.m_caretElement : nullptr;
    // Any other key ends a run of Shift-moves: the next one starts its
    // selection where the caret then stands, not where an earlier run did.
    if (!shift || !navigation)
        m_doc.m_selectionAnchor = nullptr;
    if (shift && navigation && !m_doc.m_selectionAnchor && caret) {
        m_shiftRunStart = m_doc.m_caretPoint;
        CPoint anchor = m_doc.m_caretPoint;
        if (caret->m_caretOffset != 0)
            anchor.x -= 1;
        if (caret->IsTextElement() && caret->m_text.Length() > 0
            && caret->m_caretOffset >= caret->m_text.Length())
            anchor.x -= 1;
        anchor.y -= 1;
        m_doc.m_selectionAnchorPoint = anchor;
        m_doc.m_selectionAnchor = caret;
    }
    const bool wasSelected = m_doc.m_selectionPresent != 0;
    m_keyRefused = 0;
    const bool changed = m_doc.OnChar(key, repeat, flags);
    if (m_keyRefused == 1)
        DisplayMessageBox("message-box/cannot-insert-into-given-location");
    if (shift && navigation && m_doc.m_selectionAnchor && m_doc.m_root) {
        CElement* anchor = m_doc.m_selectionAnchor;
        if (!m_doc.IsElementInTree(anchor) || !IsEmptyRun(anchor)) {
            // A point that finds only an ancestor of the caret's element
            // (the band at a div's edge answers the div itself) keeps that
            // element: the selection starts where the caret stood, not at
            // the start of the div.
            CElement* hit = m_doc.m_root->WhereCursorOn(m_doc.m_selectionAnchorPoint);
            if (!hit || !m_doc.IsElementInTree(anchor) || !anchor->IsOneOfParent(hit))
                anchor = hit;
        }
        // The caret's end taken a pixel above its foot, as the anchor was:
        // on one line the two compare by column alone, so a selection made
        // leftwards within a run is seen as backward.
        CPoint end = m_doc.m_caretPoint;
        end.y -= 1;
        CElement* endElement = SelectionEndAtEdge(m_doc.m_caretElement, end);
        m_doc.ProcessSelection(endElement, end, anchor, m_doc.m_selectionAnchorPoint);
    }
    m_doc.AdjCursorPos();
    caret = m_doc.IsElementInTree(m_doc.m_caretElement) ? m_doc.m_caretElement : nullptr;
    if (key == kReturn || key == kBackspace || key == kDelete || navigation)
        DisplayStyleButton(caret);
    // Return, and Backspace or Delete over a selection, are steps of their
    // own: unforced, the snapshot of a deletion would wait for the caret to
    // leave its element, and a command made there before that would undo
    // the deletion with itself.
    const bool deletion = wasSelected && (key == kBackspace || key == kDelete);
    if (changed)
        NotifyChange(key == kReturn || deletion);
    SetCopyState();
    if (!m_doc.m_selectionPresent && !m_doc.m_caretEnabled) {
        m_doc.m_caretEnabled = 1;
        m_doc.m_caretPhase = 1;
        DisplayCursor();
    } else if (!shift && (key == kUp || key == kDown || key == kLeft) && caret && caret->IsTextElement()
        && caret->m_text.Length() == 1 && (caret->m_text[0] == 32 || caret->m_text[0] == 160)
        && caret->m_parent
        && (IsCellKind(caret->m_parent->m_kind) || caret->m_parent->m_kind == kKindCaption)) {
        m_doc.ChangeCursorElement(caret, 0);
    }
    if (wasSelected && !m_doc.m_selectionPresent)
        DisplayTagBox();
}
