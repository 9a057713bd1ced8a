// Typing into a text run: the key dispatch of OnChar, characters, Backspace
// and Delete, plain text at the caret and splitting the run at the caret.
//
// A key changes the tree and then reports upwards with one notification:
// 8 after a character went in (the run is laid out again and repainted),
// 2 after the run changed size, 6 after the structure changed (the whole
// document is laid out again). The empty paragraph's place holder is a run
// whose whole text is one no-break space: the first character typed
// replaces it. A no-break space that starts a longer text is the writer's
// own, and stays.

#include "elements/TextElement.h"

#include "base/shims/Keys.h"
#include "base/text/XmlChars.h"
#include "element/Caret.h"
#include "element/EdgeBlanks.h"
#include "element/services/XHTMLServices.h"
#include "elements/TypingTree.h"
#include "platform/common/Utf8.h"

#include <algorithm>

namespace {

constexpr unsigned short kNoBreakSpace = 0xA0;
constexpr unsigned int kBackspace = 8;
constexpr unsigned int kReturn = 13;
constexpr unsigned int kLeft = 28;
constexpr unsigned int kRight = 29;
constexpr unsigned int kDelete = 127;

// Whether a printable unit typed at offset may go into text: not what XML
// cannot hold (U+FFFE, U+FFFF, a code above one unit), nor the second half
// of a surrogate pair without its first half before it. A first half goes
// in: the second half is the next unit typed.
bool CanType(unsigned int ch, const CSafeBuf& text, long offset)
{
    if (!IsXmlTextUnit(ch))
        return false;
    return !qm::utf8::IsLowSurrogate(ch)
        || (offset > 0 && qm::utf8::IsHighSurrogate(text.GetAt(static_cast<int>(offset - 1))));
}

bool WordKeyHeld() { return GetKeyState(kKeyOption) < 0 || GetKeyState(kKeyControl) < 0; }

// Removes the empty runs directly before (or after) run.
void RemoveEmptyNeighbours(CElement* run, bool before)
{
    CElement* parent = run->m_parent;
    for (CElement* s = before ? run->m_prevSibling : run->m_nextSibling; s && IsEmptyRun(s);) {
        CElement* next = before ? s->m_prevSibling : s->m_nextSibling;
        if (!HoldsCaret(s))
            parent->RemoveChild(s->GetID(), true, true);
        s = next;
    }
}

// A loose run in the body goes into a new paragraph, with the inline
// siblings after it.
bool WrapLooseRun(CElement* run)
{
    CElement* body = run->m_parent;
    if (!body || body->m_kind != kKindBody)
        return false;
    CElement* p = NewElement("p", body);
    if (!p)
        return false;
    body->InsertChild(p, run->GetID(), false);
    for (CElement* c = run; c && !c->m_block;) {
        CElement* next = c->m_nextSibling;
        body->RemoveChild(c->GetID(), false, false);
        p->AppendChild(c);
        c = next;
    }
    p->StyleChanged(1);
    return true;
}

// The blanks at the edges of the text of run's block are held (HoldEdgeBlanks)
// after a key put one there.
void HoldBlanksAtEdges(CElement* run)
{
    if (CElement* block = run->GetFirstBlockParent())
        HoldEdgeBlanks(block);
}

} // namespace

CElement* CTextElement::BreakElement(long, bool)
{
    if (!m_parent)
        return nullptr;
    CTextElement* run = NewRun(this);
    if (!run)
        return nullptr;
    run->CopyFromParent(this, 3);
    run->m_style = m_style;
    const int n = m_text.Length();
    const int at = static_cast<int>(std::clamp<long>(m_caretOffset, 0, n));
    run->m_text = m_text.Mid(at, n - at);
    run->m_caretOffset = 0;
    m_text = m_text.Left(at);
    m_parent->InsertInto(run, this, true);
    if (HoldsCaret(this))
        PutCaret(run, 0);
    StyleChanged(2);
    return run;
}

bool CTextElement::InsertText(const unsigned short* text)
{
    if (!text || !*text)
        return false;
    CSafeBuf add;
    if (IsElementUnderTag(kKindPre)) {
        // Line ends and TABs stay; what XML cannot hold goes.
        for (const unsigned short* s = text; *s; ++s) {
            if (IsXmlTextUnit(*s))
                add += *s;
        }
    } else {
        // Blanks collapse; line ends and TABs become one blank after a kept
        // character (or at the very start); the other control characters,
        // and what else XML cannot hold, go.
        bool afterSpace = false;
        bool afterKept = true;
        for (const unsigned short* s = text; *s; ++s) {
            const unsigned short c = *s;
            if (c == '\n' || c == '\r' || c == '\t') {
                if (afterKept && !afterSpace) {
                    add += static_cast<unsigned short>(' ');
                    afterSpace = true;
                }
                afterKept = false;
                continue;
            }
            if (!IsXmlTextUnit(c))
                continue;
            if (c == ' ' && afterSpace)
                continue;
            add += c;
            afterSpace = c == ' ';
            afterKept = c != ' ';
        }
    }
    if (add.IsEmpty())
        return false;
    if (HoldsPlaceHolder(this) && m_caretOffset <= 1) {
        m_text.Empty();
        m_caretOffset = 0;
    }
    const int at = static_cast<int>(std::clamp<long>(m_caretOffset, 0, m_text.Length()));
    m_text.Insert(at, static_cast<const unsigned short*>(add), add.Length());
    m_caretOffset = at + add.Length();
    if (add.GetAt(0) == ' ' || add.GetAt(add.Length() - 1) == ' ')
        HoldBlanksAtEdges(this);
    return true;
}

bool CTextElement::OnChar(unsigned int ch, unsigned int repeat, unsigned int, bool&, CPoint& caretPoint,
    int& caretLength, CElement*& caretElement, bool quiet)
{
    if (ch == kReturn && IsElementUnderTag(kKindImg))
        return false;
    m_caretOffset = std::clamp<long>(m_caretOffset, 0, m_text.Length());
    // Kept to tell, after the clean-up around the caret, whether this run
    // still exists.
    CXDocServices* doc = m_owner ? &m_owner->m_doc : nullptr;
    const long id = m_id;
    int notify = 0;
    bool handled = true;
    CElement* moved = nullptr;
    if (IsValidChar(static_cast<int>(ch)) && !CanType(ch, m_text, m_caretOffset)) {
        // Written, the character would make markup that cannot be read.
        if (m_owner)
            m_owner->m_keyRefused = 1;
        return false;
    }
    if (IsValidChar(static_cast<int>(ch))) {
        const unsigned short c = static_cast<unsigned short>(ch);
        const bool held = ReleaseHeldBlank(c);
        // A held blank that is all the text is no place holder.
        if (HoldsPlaceHolder(this) && m_caretOffset <= 1 && !(held && m_text.Length() == 1)) {
            m_text.Empty();
            m_text += c;
            m_caretOffset = 1;
            Lay().m_textFontStale = 1;
            notify = 2;
        } else {
            m_text.Insert(static_cast<int>(m_caretOffset), c);
            ++m_caretOffset;
            notify = 8;
        }
        if (c == ' ' || held)
            HoldBlanksAtEdges(this);
    } else if (ch == kReturn) {
        handled = ReturnKey(repeat, quiet, moved, notify);
    } else if (ch == kBackspace || ch == kDelete) {
        const bool forward = ch == kDelete;
        const bool inside = forward ? m_caretOffset < m_text.Length() : m_caretOffset > 0;
        if (inside) {
            if (!forward)
                --m_caretOffset;
            m_text.Delete(static_cast<int>(m_caretOffset), 1);
            // The last character of a cell or caption gives way to the
            // filler an empty one reads with, which the next character typed
            // replaces.
            if (m_text.IsEmpty() && m_parent
                && (IsCellKind(m_parent->m_kind) || m_parent->m_kind == kKindCaption)
                && OnlyEmptyRuns(m_parent)) {
                const unsigned short filler[] = {kNoBreakSpace, 0};
                m_text = filler;
                m_caretOffset = 0;
            }
            HoldBlanksAtEdges(this);
            notify = 2;
        } else {
            RemoveEmptyNeighbours(this, !forward);
            CElement* target = nullptr;
            bool changed = CutAndCombine(target, forward);
            if (forward && m_nextSibling && m_nextSibling->m_block && !changed)
                changed = CutAndCombine(target, forward);
            // The blocks joined at this run's start (its end, going forward).
            if (changed && m_parent && (!doc || doc->IsElementExist(id)))
                ReleaseSeamBlank(this, forward ? m_text.Length() : 0);
            notify = changed ? 6 : 2;
            if (target && target != this) {
                moved = target;
                // The character next to the caret goes when the caret only
                // crossed into the neighbouring run of the same block.
                if (CTextElement* run = dynamic_cast<CTextElement*>(target)) {
                    if (!changed && !run->m_text.IsEmpty()
                        && run->GetFirstBlockParent() == GetFirstBlockParent()) {
                        if (forward) {
                            run->m_text.Delete(0, 1);
                            PutCaret(run, 0);
                        } else {
                            run->m_text.Delete(run->m_text.Length() - 1, 1);
                            PutCaret(run, run->m_text.Length());
                        }
                        HoldBlanksAtEdges(run);
                        notify = 6;
                    }
                }
            }
            if (WrapLooseRun(this))
                notify = 6;
            CElement* caret = m_owner ? m_owner->m_doc.m_caretElement : this;
            if (caret && CleanKeyContext(caret, forward ? 2 : 1)) {
                notify = 6;
                moved = nullptr;
            }
        }
    } else if (ch == kLeft || ch == kRight) {
        moved = WordKeyHeld() ? MoveByWord(ch == kRight) : MoveByCharacter(ch == kRight);
    } else {
        handled = false;
    }
    if (!handled)
        return false;
    // The notification may lay the whole document out again, which joins
    // wrapped pieces of runs: this run (or the one the caret moved to) may
    // be gone afterwards, as it may be after the clean-up around the caret.
    // Only identifiers and the registry are trusted from here on.
    const bool movedLive = moved && (!doc || doc->IsElementExist(moved));
    const long movedId = movedLive ? moved->GetID() : 0;
    bool alive = !doc || doc->IsElementExist(id);
    if (notify) {
        if (alive)
            SendNotification(notify);
        else if (doc && doc->m_root)
            doc->m_root->SendNotification(6);
        alive = !doc || doc->IsElementExist(id);
    }
    CElement* holder = nullptr;
    if (movedId)
        holder = doc ? doc->FindElement(movedId) : moved;
    if (!holder && doc && doc->m_caretElement && doc->IsElementExist(doc->m_caretElement))
        holder = doc->m_caretElement;
    if (!holder && alive)
        holder = this;
    if (holder) {
        holder->GetKeyPos(caretPoint, -1);
        caretLength = holder->GetKeyLen();
        if (!alive || holder != this)
            caretElement = holder;
    }
    return true;
}

bool CTextElement::ReleaseHeldBlank(unsigned short typed)
{
    if (!m_owner)
        return false;
    CXDocServices& doc = m_owner->m_doc;
    const CElement* block = GetFirstBlockParent();
    // A record of another block waits for the caret to come back there.
    if (!block || doc.m_heldBlankBlock != block->GetID())
        return false;
    const long start = OffsetInBlock(this, 0);
    const long inBlock = doc.m_heldBlankAt;
    doc.m_heldBlankBlock = 0;
    doc.m_heldBlankAt = -1;
    if (start < 0 || inBlock < start || inBlock - start >= m_text.Length())
        return false;
    const int at = static_cast<int>(inBlock - start);
    if (m_text.GetAt(at) != kNoBreakSpace)
        return false;
    // The typed character comes between the no-break space and the edge of
    // the block's text: right after the space, or before it at the run's
    // start. What stands on the space's other side decides.
    const bool forward = m_caretOffset == at && at == 0;
    if (!forward && m_caretOffset != at + 1)
        return true;
    const int other = forward ? at + 1 : at - 1;
    unsigned short beside = 0; // none: the block's edge, or an object
    if (other >= 0 && other < m_text.Length()) {
        beside = m_text.GetAt(other);
    } else {
        CTextElement* run = forward ? NextRun(this, block, true) : PreviousRun(this, block, true);
        while (run && run->m_text.IsEmpty())
            run = forward ? NextRun(run, block, true) : PreviousRun(run, block, true);
        if (run)
            beside = run->m_text.GetAt(forward ? 0 : run->m_text.Length() - 1);
    }
    // A letter: the space becomes a blank again unless a blank stands
    // beside it. A blank: it takes the edge (and is held in turn), and the
    // space becomes a blank unless a plain blank stands beside it, with
    // which it would collapse. Where nothing stands beside it, the space may
    // still be at the block's edge: the caller holds the blanks there again.
    const bool collapses
        = IsBlankUnit(typed) ? IsBlankUnit(beside) && beside != kNoBreakSpace : IsBlankUnit(beside);
    if (!collapses)
        m_text.SetAt(at, ' ');
    return true;
}
