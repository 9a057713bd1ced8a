// The edit guard: every change asks it first whether the place it would
// change is locked. A page locks an element with its lock flag or with the
// editor's "-qm-lock" property (IsElementLocked, element/TreeQueries.h);
// "locked by itself" below looks at the element alone, "locked" at its
// ancestors too. An element outside the tree is never locked.
//
// Each action is judged by one of a few tests:
//   element-or-caret  the element, else the caret or the selection, locked;
//   nearest block     from each start up to its nearest block: a block
//                     locked by itself refuses, a table part locked by
//                     itself allows; the block found must be unlocked and
//                     have an unlocked parent;
//   block walk        up from each start: a table part locked by itself
//                     allows, anything else locked by itself refuses; an
//                     unlocked block with an unlocked parent allows;
//   typing            navigation always passes; a locked caret allows only
//                     typing beside a caret stop; Backspace and Delete at
//                     an element's edge look at what they would join;
//                     Return looks up to the nearest div or second block.

#include "document/XDoc.h"

#include "base/shims/Keys.h"
#include "element/Element.h"
#include "element/TreeQueries.h"
#include "element/services/ControlServices.h"
#include "element/services/XHTMLServices.h"
#include "platform/ui/Menu.h"

#include <vector>

namespace {

// Action codes and the silence bit.
constexpr int kSilent = 0x8000;
constexpr int kActionTyping = 1;
constexpr int kActionInsert = 2;
constexpr int kActionContextMenu = 3;
constexpr int kActionCut = 4;
constexpr int kActionTagList = 5;
constexpr int kActionCommand = 7;

// The context menu's entries that edit the element under the pointer.
constexpr std::uint32_t kCommandCut = 32811;
constexpr std::uint32_t kCommandPaste = 32813;

// Characters typing treats specially.
constexpr long kBackspace = 8;
constexpr long kDelete = 127;
constexpr long kReturn = 13;

bool IsNavigation(long c)
{
    return c == 30 || c == 31 || c == 28 || c == 29 || c == 11 || c == 12 || c == 1 || c == 4;
}

bool LockedBySelf(CElement* e, int mode = 0) { return e && IsElementLocked(e, true, mode, false); }
bool Locked(CElement* e, int mode = 0) { return e && IsElementLocked(e, false, mode, false); }

// Holds no content worth joining with: an empty run or an empty container.
// Caret stops and elements that cannot hold children are content.
bool IsEmptyForJoin(const CElement* e)
{
    if (e->IsTextElement())
        return e->m_text.Length() == 0;
    return !e->m_edgeCaret && !e->m_noChild && e->IsEmptyTag(false);
}

// The walk of Backspace: elements before e, each before its own content
// (its children from the last), never entering e's ancestors.
CElement* PreviousForJoin(CElement* e, const CElement* root, bool descend)
{
    if (descend && e->m_lastChild)
        return e->m_lastChild;
    for (; e && e != root; e = e->m_parent) {
        if (e->m_prevSibling)
            return e->m_prevSibling;
    }
    return nullptr;
}

// The walk of Delete: elements after e in document order.
CElement* NextForJoin(CElement* e, const CElement* root, bool descend)
{
    if (descend && e->m_firstChild)
        return e->m_firstChild;
    for (; e && e != root; e = e->m_parent) {
        if (e->m_nextSibling)
            return e->m_nextSibling;
    }
    return nullptr;
}

void RemoveEditingEntries(qm::ui::Menu& menu)
{
    for (std::size_t i = menu.Count(); i-- > 0;) {
        qm::ui::MenuItem& item = menu.Item(i);
        if (item.submenu)
            RemoveEditingEntries(*item.submenu);
        if (item.command == kCommandCut || item.command == kCommandPaste)
            menu.Remove(i);
    }
}

bool IsDivName(const void* name)
{
    const auto* text = static_cast<const unsigned short*>(name);
    return text && text[0] == 'd' && text[1] == 'i' && text[2] == 'v' && text[3] == 0;
}

} // namespace

namespace {

// Whether a selected element below parent (a div is never judged itself,
// but its content is) is locked, in one walk down that carries each
// element's lock state to its children: parentLocked is parent's.
bool SelectedLockedBelow(const CElement* parent, bool parentLocked, int mode)
{
    for (const CElement* c = parent->m_firstChild; c; c = c->m_nextSibling) {
        bool locked = false;
        if (c->m_owner) {
            const int own = OwnLockState(c, mode, false);
            locked = own >= 0 ? own == 1 : parentLocked;
        }
        if (c->m_selected && c->m_kind != kKindDiv && locked)
            return true;
        if (c->m_firstChild && SelectedLockedBelow(c, locked, mode))
            return true;
    }
    return false;
}

} // namespace

bool CXDoc::IsSelectionLocked(bool selecting)
{
    if (!m_selectionPresent || !m_root)
        return false;
    const int mode = selecting ? 2 : 1;
    return SelectedLockedBelow(m_root, Locked(m_root, mode), mode);
}

bool CXDoc::IsCursorInLocked(bool selecting)
{
    if (m_selectionPresent)
        return IsSelectionLocked(selecting);
    return IsInTree(m_caretElement) && Locked(m_caretElement);
}

namespace {

// The elements a test starts from: the given element, else the selected
// elements, else the caret element (none: nothing to judge).
std::vector<CElement*> Starts(CElement* element, bool selection, CElement* root, CElement* caret)
{
    if (element)
        return {element};
    std::vector<CElement*> out;
    if (selection && root) {
        CPtrList selected;
        root->GetAllChildren(&selected, 0, true, 0, 0);
        selected.ForEachItem([&](void* e) { out.push_back(static_cast<CElement*>(e)); });
        return out;
    }
    if (caret)
        out.push_back(caret);
    return out;
}

bool NearestBlockAllows(CElement* start)
{
    CElement* block = nullptr;
    for (CElement* e = start; e; e = e->m_parent) {
        if (LockedBySelf(e)) {
            if (e->m_tablePart)
                return true;
            if (e->m_block)
                return false;
            continue;
        }
        if (e->m_block) {
            block = e;
            break;
        }
    }
    if (!block)
        return true;
    return !Locked(block) && !Locked(block->m_parent);
}

bool BlockWalkAllows(CElement* start)
{
    for (CElement* e = start; e; e = e->m_parent) {
        if (LockedBySelf(e))
            return e->m_tablePart != 0;
        if (e->m_block && (!e->m_parent || !Locked(e->m_parent)))
            return true;
    }
    return true;
}

// Return splits the blocks above the caret: none of them up to the nearest
// div, or the second block met, may be locked by itself.
bool ReturnAllows(CElement* start)
{
    int blocks = 0;
    for (CElement* e = start->m_parent; e; e = e->m_parent) {
        if (LockedBySelf(e, 1))
            return false;
        if (e->m_block && (e->m_kind == kKindDiv || ++blocks >= 2))
            break;
    }
    return true;
}

} // namespace

bool CXDoc::CanDocumentBeChanged(int action, CElement* element, long sub, long mode, void* extra)
{
    bool allowed = true;
    try {
        // An element outside the tree is never locked.
        if (element && !IsInTree(element))
            return true;
        CElement* caret = IsInTree(m_caretElement) ? m_caretElement : nullptr;
        const bool selection = m_selectionPresent != 0;

        auto elementOrCaret = [&]() {
            if (element)
                return !Locked(element);
            return !IsCursorInLocked(false) && !IsCursorInLocked(true);
        };
        auto allStarts = [&](bool (*test)(CElement*)) {
            for (CElement* start : Starts(element, selection, m_root, caret)) {
                if (!test(start))
                    return false;
            }
            return true;
        };

        switch (action & ~kSilent) {
        case kActionTyping: allowed = TypingAllowed(caret, sub); break;
        case kActionInsert:
        case kActionCut: allowed = !IsCursorInLocked(false); break;
        case kActionContextMenu:
            if (element && extra && Locked(element, 1))
                RemoveEditingEntries(*static_cast<qm::ui::Menu*>(extra));
            break;
        case kActionTagList:
            if (!element) {
                allowed = false;
            } else {
                const NewIntStyleValue& lock = element->Style().lock;
                const bool ownLock = lock.set && !lock.inherited && !lock.inherit && lock.value == 1;
                allowed = !ownLock && !Locked(element->m_parent);
            }
            break;
        case kActionCommand: {
            long code = sub;
            if (code == 11)
                code = (mode == 2 || (mode == 0 && !IsDivName(extra))) ? 13 : 12;
            switch (code) {
            case 1:
            case 2:
            case 3:
            case 9:
            case 13: allowed = elementOrCaret(); break;
            case 5:
            case 7:
            case 8:
            case 12: allowed = allStarts(NearestBlockAllows); break;
            case 4:
            case 10: allowed = allStarts(BlockWalkAllows); break;
            default: break;
            }
            break;
        }
        default: break;
        }
        if (allowed && (action & ~kSilent) == kActionTyping && sub == kReturn && GetKeyState(kKeyShift) >= 0)
            allowed = allStarts(ReturnAllows);
    } catch (...) {
        allowed = true;
    }
    if (!allowed && !(action & kSilent))
        ShowLockedMessage();
    return allowed;
}

bool CXDoc::TypingAllowed(CElement* caret, long c)
{
    if (IsNavigation(c))
        return true;
    const bool joining = c == kBackspace || c == kDelete;
    if (m_selectionPresent)
        return !IsSelectionLocked(!joining);
    if (!caret)
        return true;
    CElement* judged = caret->m_edgeCaret ? caret->m_parent : caret;
    if (judged && Locked(judged)) {
        const bool stop = caret->m_edgeCaret || (caret->m_locked && caret->m_block);
        const bool edge = caret->m_caretOffset == 0 || caret->m_caretOffset == 1;
        return stop && edge && !joining && !Locked(caret->m_parent);
    }
    const long length = caret->m_edgeCaret ? 1 : caret->m_text.Length();
    if (c == kBackspace && caret->m_caretOffset == 0 && (caret->IsTextElement() || caret->m_edgeCaret)) {
        for (CElement* e = PreviousForJoin(caret, m_root, false); e; e = PreviousForJoin(e, m_root, true)) {
            if (LockedBySelf(e))
                return e->m_tablePart != 0;
            if (IsEmptyForJoin(e))
                continue;
            return !Locked(caret->m_parent) && !Locked(e->m_parent);
        }
        return true;
    }
    if (c == kDelete && caret->m_caretOffset >= length && (caret->IsTextElement() || caret->m_edgeCaret)) {
        for (CElement* e = NextForJoin(caret, m_root, false); e; e = NextForJoin(e, m_root, true)) {
            if (LockedBySelf(e))
                return e->m_tablePart != 0;
            if (IsEmptyForJoin(e))
                continue;
            return !Locked(e->m_parent);
        }
    }
    return true;
}

void CXDoc::ShowLockedMessage()
{
    CControlServices* control = m_owner ? m_owner->m_control : nullptr;
    const bool wasShowing = control && control->IsPopupShowing();
    if (control && !wasShowing)
        control->SetPopupShowing(true);
    if (m_owner)
        m_owner->DisplayMessageBox("message-box/element-locked");
    if (control && !wasShowing)
        control->SetPopupShowing(false);
    // The keyboard focus comes back to the editor: with nothing selected
    // the caret is switched on, erased, so that the next blink draws it.
    if (!m_selectionPresent) {
        m_caretEnabled = 1;
        m_caretPhase = 0;
    }
}
