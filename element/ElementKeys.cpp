// Keys with the caret before (offset 0) or after (offset 1) an element that
// takes the caret whole, and the empty text runs that make typing possible
// beside such elements. Typing itself happens in text runs: a printable key
// here first makes the run (InsertTextBlock) and hands the key on to it.

#include "element/Caret.h"
#include "element/Element.h"
#include "element/ElementUtilities.h"
#include "element/markup/MarkupWriter.h"

#include "base/shims/Keys.h"
#include "base/text/XmlChars.h"
#include "element/factory/ElementFactory.h"
#include "element/services/XHTMLServices.h"
#include "platform/common/Utf8.h"

namespace {

const unsigned short kNoTag[] = {0};
constexpr unsigned int kKeyLeft = 28;
constexpr unsigned int kKeyRight = 29;
constexpr unsigned int kKeyDelete = 127;
constexpr unsigned int kKeyBackspace = 8;
constexpr unsigned int kKeyEnter = 13;
constexpr int kNotifyStructure = 6;

CElement* NewRun(CElement* beside)
{
    return CreateElement(kNoTag, beside->m_rules, beside->m_root, beside->m_owner);
}

CElement* EnclosingLink(CElement* e)
{
    CElement* a = e->IsElementUnderTag(kKindA);
    return a && a->m_parent ? a : nullptr;
}

} // namespace

CElement* CElement::InsertTextBlock()
{
    if (!m_parent)
        return nullptr;
    const bool after = m_caretOffset != 0;
    CElement* run = nullptr;
    if (m_kind != kKindImg) {
        run = ParagraphBeside(this, after);
    } else {
        // Typing beside an image that begins (ends) its link goes outside
        // the link, so that the link does not grow.
        CElement* beside = this;
        CElement* link = EnclosingLink(this);
        if (link && IsFirstOrLastElementOf(link, !after, true))
            beside = link;
        run = NewRun(this);
        if (run && !beside->AddBrother(run, after, false)) {
            delete run;
            run = nullptr;
        }
        if (run)
            run->StyleChanged(1);
    }
    if (!run)
        return nullptr;
    run->m_caretOffset = 0;
    SetKeyOnElement(run);
    run->SendNotification(kNotifyStructure);
    if (m_owner)
        m_owner->DisplayTagBox();
    return run;
}

bool CElement::OnChar(unsigned int ch, unsigned int repeat, unsigned int modifiers, bool& flag,
    CPoint& caretPoint, int& caretLength, CElement*& caretElement, bool quiet)
{
    if (!m_edgeCaret || !m_parent)
        return false;
    CElement* answer = nullptr;
    if (IsExtKey(kKeyLeft, ch, modifiers) || IsExtKey(kKeyRight, ch, modifiers)) {
        answer = MoveKeyFocusToNext(m_id, IsExtKey(kKeyRight, ch, modifiers) ? 1 : 0);
        if (!answer)
            return false;
    } else if ((ch >= 32 && !IsExtKey(kKeyDelete, ch, modifiers) && IsXmlTextUnit(ch)
                   && !qm::utf8::IsLowSurrogate(ch))
        || (ch == kKeyEnter && m_kind == kKindImg)) {
        // A character that a new text run could take (not what XML cannot
        // hold, nor the second half of a surrogate pair). Enter beside an
        // image goes to a text run beside it too, which splits the block
        // the image stands in: a paragraph beside an image would land
        // inside the image's own paragraph.
        CElement* run = InsertTextBlock();
        if (!run)
            return false;
        return run->OnChar(ch, repeat, modifiers, flag, caretPoint, caretLength, caretElement, quiet);
    } else {
        CElement* before = GetKeyOnElement();
        if (ch == kKeyEnter) {
            CElement* run = ParagraphBeside(this, m_caretOffset != 0);
            if (!run)
                return false;
            if (m_caretOffset != 0)
                SetKeyOnElement(run);
        } else if (ch == kKeyDelete || ch == kKeyBackspace) {
            const bool forward = ch == kKeyDelete;
            if (m_kind == kKindImg || m_caretOffset != (forward ? 1 : 0))
                return false;
            CElement* side = forward ? m_nextSibling : m_prevSibling;
            if (!side || !side->m_parent || !side->IsEmptyTag(false))
                return false;
            side->m_parent->RemoveChild(side->GetID(), true, false);
        } else {
            return false;
        }
        GetKeyPos(caretPoint, -1);
        caretLength = GetKeyLen();
        SendNotification(kNotifyStructure);
        CElement* now = GetKeyOnElement();
        if (now != before && now)
            answer = now;
        if (!answer)
            return true;
    }
    caretElement = answer;
    answer->GetKeyPos(caretPoint, -1);
    caretLength = answer->GetKeyLen();
    return true;
}
