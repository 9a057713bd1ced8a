// Where markup, tags and files may go in, putting markup in at the caret, and
// reshaping the ancestors of an element the tag box has just applied.
//
// A definition term holds only inline content, and a pre block holds neither
// blocks nor pictures, objects or text that changes size or baseline; the
// rules below keep pasted markup, tags and dropped files out of them.

#include "document/XDoc.h"

#include "base/text/U16.h"
#include "document/SrcElement.h"
#include "element/Element.h"
#include "element/TreeQueries.h"
#include "element/ValidateTree.h"
#include "element/services/ControlServices.h"
#include "element/services/XHTMLServices.h"
#include "elements/TypingTree.h"

namespace {

// Tags a definition term may not take.
const char* const kBlockTagsForDt[] = {"pre", "p", "h1", "h2", "h3", "h4", "h5", "h6", "blockquote", "dl",
    "dd", "ul", "ol", "li", "table", "td", "th", "tr", "line", "form", "div", "hr"};
// Elements a pre may not hold, besides blocks.
const char* const kNotInPre[] = {"img", "object", "big", "small", "sup", "sub"};
// Extensions of picture files, which a pre may not take.
const char* const kPictureExtensions[] = {"jpg", "jpeg", "gif", "bmp", "png", "tiff"};
// Ancestors that keep their place after a tag was applied inside them; they
// only lose their style and class.
const char* const kKeptTags[] = {"p", "img", "html", "head", "title", "base", "link", "meta", "script",
    "style", "body", "form", "noscript", "legend", "optgroup", "option", "input", "object", "param", "label",
    "button", "textarea", "select", "caption", "col", "colgroup", "thead", "tbody", "tfoot", "td", "th", "tr",
    "table", "a", "li", "ul", "ol", "dl", "dt", "dd", "map"};
// With this option bit a div is judged like the other ancestors.
constexpr int kOptionReshapeDivs = 0x800;

template <size_t N>
bool IsOneOf(const unsigned short* name, const char* const (&list)[N], bool ignoreCase)
{
    if (!name)
        return false;
    for (const char* item : list) {
        if ((ignoreCase ? U16icmp(name, item) : U16cmp(name, item)) == 0)
            return true;
    }
    return false;
}

// The file name's extension (after its last "." that follows every path
// separator) is that of a picture, ASCII case ignored.
bool IsPictureFileName(const unsigned short* fileName)
{
    const int length = U16len(fileName);
    int dot = -1;
    for (int i = length - 1; i >= 0; --i) {
        const unsigned short c = fileName[i];
        if (c == '/' || c == '\\' || c == ':')
            break;
        if (c == '.') {
            dot = i;
            break;
        }
    }
    return dot >= 0 && IsOneOf(fileName + dot + 1, kPictureExtensions, true);
}

// Markup read as the content of a body fits in a definition term (no block)
// or, with pre, in a pre block (no block, nor any element a pre refuses).
// Markup that does not read holds nothing, so it fits: its insertion finds
// nothing to insert.
bool MarkupFits(const unsigned short* markup, bool pre, CXHTMLServices* owner)
{
    CSafeBuf wrapped("<body>");
    wrapped += markup;
    wrapped += "</body>";
    CSrcElement body("body", owner);
    if (!body.LoadDoc(wrapped))
        return true;
    if (body.IsThereBlockTypeChild())
        return false;
    if (pre) {
        for (const char* name : kNotInPre) {
            if (body.FindChild(name, true))
                return false;
        }
    }
    return true;
}

bool LockedBySelf(CElement* e) { return IsElementLocked(e, true, 0, false); }

// The caret at the start of next, else after what was inserted (at the end
// of its last text run), else wherever the document finds a place.
void PlaceCaretNear(CXDoc& doc, CElement* next, CElement* inserted)
{
    CElement* run = nullptr;
    long offset = 0;
    if (next && doc.IsElementInTree(next))
        run = next->IsTextElement() ? next : next->GetFirstOrLastInputElement(true);
    if (!run && inserted && doc.IsElementInTree(inserted)) {
        run = inserted->IsTextElement() ? inserted : inserted->GetFirstOrLastInputElement(false);
        offset = run ? run->m_text.Length() : 0;
    }
    if (run) {
        run->m_caretOffset = offset;
        doc.m_caretElement = run;
    } else {
        doc.m_caretElement = nullptr;
        doc.CheckKeyFocus();
    }
}

// a's children take its place, and those of the other pieces of a wrapped
// inline a; the parents are restyled.
void UnwrapAncestor(CXDoc& doc, CElement* a)
{
    CElement* parent = a->m_parent;
    CPtrList pieces;
    a->GetWrappedInlineBrothers(&pieces);
    for (void* pos = pieces.GetHeadPosition(); pos;) {
        CElement* piece = static_cast<CElement*>(pieces.GetNext(pos));
        if (piece == a || !doc.IsElementExist(piece) || !piece->m_parent)
            continue;
        CElement* holder = piece->m_parent;
        if (doc.m_caretElement == piece)
            doc.m_caretElement = nullptr;
        holder->RemoveChildNodeOnly(piece->GetID());
        if (holder != parent)
            holder->StyleChanged(0);
    }
    if (doc.m_caretElement == a)
        doc.m_caretElement = nullptr;
    parent->RemoveChildNodeOnly(a->GetID());
    parent->StyleChanged(0);
    if (!doc.IsElementInTree(doc.m_caretElement))
        PlaceCaretNear(doc, parent, nullptr);
}

// A new p after a takes a's children (the line ends of a pre's text kept as
// breaks) and a goes; the parent is restyled.
void ReplaceByParagraph(CXDoc& doc, CElement* a)
{
    CElement* parent = a->m_parent;
    CElement* p = NewElement("p", parent);
    if (!p)
        return;
    parent->InsertChild(p, a->GetID(), true);
    if (!parent->IsLinkedChild(p)) {
        delete p;
        return;
    }
    p->CopyFromParent(parent, 1);
    a->MoveChildrenTo(p, 0, true, 0, 0);
    if (a->m_kind == kKindPre)
        ValidateTextChildFromPre(p, 2);
    if (doc.m_caretElement == a)
        doc.m_caretElement = nullptr;
    parent->RemoveChild(a->GetID(), true, false);
    parent->StyleChanged(0);
    if (!doc.IsElementInTree(doc.m_caretElement))
        PlaceCaretNear(doc, p, nullptr);
}

} // namespace

bool CXDoc::CanInsertTo(
    const unsigned short* markup, const unsigned short* tag, const unsigned short* fileName, bool tell)
{
    CElement* caret = m_caretElement;
    if (!IsInTree(caret))
        return true;
    bool allowed = true;
    try {
        const bool inDt = caret->IsElementUnderTag(kKindDt) != nullptr;
        const bool inPre = !inDt && caret->IsElementUnderTag(kKindPre) != nullptr;
        if (inDt && IsOneOf(tag, kBlockTagsForDt, true))
            allowed = false;
        if (allowed && markup && (inDt || inPre))
            allowed = MarkupFits(markup, inPre, m_owner);
        if (allowed && inPre && fileName && IsPictureFileName(fileName))
            allowed = false;
    } catch (...) {
        // Without the memory to judge, nothing goes in.
        WriteExcpInfo("CanInsertTo");
        allowed = false;
    }
    if (!allowed && tell && m_owner) {
        // The control ignores events while the message shows.
        CControlServices* control = m_owner->m_control;
        const bool wasShowing = control && control->IsPopupShowing();
        if (control && !wasShowing)
            control->SetPopupShowing(true);
        m_owner->DisplayMessageBox("message-box/cannot-insert-into-given-location");
        if (control && !wasShowing)
            control->SetPopupShowing(false);
    }
    return allowed;
}

CElement* CXDoc::InsertTagText(
    const char* markup, CElement* before, bool paragraph, bool second, bool third, bool emptyCell)
{
    if (!markup)
        return nullptr;
    CSafeBuf wide;
    wide.AssignUTF8(markup);
    return InsertTagText(
        static_cast<const unsigned short*>(wide), before, paragraph, second, third, emptyCell);
}

CElement* CXDoc::InsertTagText(
    const unsigned short* markup, CElement* before, bool paragraph, bool second, bool third, bool emptyCell)
{
    if (!markup)
        return nullptr;
    try {
        if (!CanInsert(true, false) || !m_caretElement)
            return nullptr;
        CElement* caret = m_caretElement;
        long emptyRunId = 0;
        if (caret->m_edgeCaret) {
            CElement* run = caret->InsertEmptyText(caret->m_caretOffset == 0);
            if (!run)
                return nullptr;
            run->m_caretOffset = 0;
            m_caretElement = run;
            caret = run;
        } else if (emptyCell && caret->IsTextElement() && caret->m_text.IsEmpty() && caret->m_parent
            && (caret->m_parent->m_kind == kKindDd || IsCellKind(caret->m_parent->m_kind))) {
            emptyRunId = caret->GetID();
        }
        const long beforeId = before && IsElementExist(before) ? before->GetID() : 0;

        CElement* result = nullptr;
        bool inserted = false;
        CElement* p = paragraph ? caret->IsElementUnderTag(kKindP) : nullptr;
        if (p && p->IsEmptyTag(false)) {
            // An empty paragraph gives way to what goes in at its place.
            const long pId = p->GetID();
            result = caret->InsertTagText(markup, beforeId, second, false, paragraph, third);
            CElement* still = FindElement(pId);
            if (still && still->m_parent && still->IsEmptyTag(false) && IsInTree(still)) {
                CElement* next = still->m_nextSibling;
                const bool caretInside = m_caretElement
                    && (m_caretElement == still || IsDescendantOf(still, m_caretElement->GetID()));
                still->m_parent->RemoveChild(pId, true, false);
                if (caretInside)
                    PlaceCaretNear(*this, next, result);
            }
            inserted = true;
        } else if (p) {
            CElement* block = nullptr;
            if (caret->IsTextElement() && caret->m_caretOffset == 0
                && caret->IsFirstEleOfBlock(&block, true, false) && block && block != m_root
                && block->m_parent) {
                // At the very start of a block the markup goes before it.
                result = block->m_parent->InsertTagText(markup, block->GetID(), false, false, false, third);
                inserted = true;
            }
        }
        if (!inserted)
            result = caret->InsertTagText(markup, beforeId, second, false, paragraph, third);

        if (emptyRunId && m_caretElement && m_caretElement->GetID() != emptyRunId) {
            CElement* run = FindElement(emptyRunId);
            if (run && run->m_parent && run->IsTextElement() && run->m_text.IsEmpty())
                run->m_parent->RemoveChild(emptyRunId, true, false);
        }
        return result;
    } catch (...) {
        WriteExcpInfo("InsertTagText");
        return nullptr;
    }
}

void CXDoc::RemoveUnexpectTag(CElement* e)
{
    if (!IsInTree(e))
        return;
    try {
        const bool reshapeDivs = m_owner && (m_owner->Options() & kOptionReshapeDivs) != 0;
        for (CElement* a = e->m_parent; a && a != m_root;) {
            CElement* parent = a->m_parent;
            if (!parent || LockedBySelf(a)) {
                a = parent;
                continue;
            }
            if (IsOneOf(a->GetTagName(), kKeptTags, false)) {
                a->SetAttrString("style", "");
                a->SetAttrString("class", "");
                a->StyleChanged(1);
                a = parent;
                continue;
            }
            const bool div = a->m_kind == kKindDiv;
            if (div && !reshapeDivs) {
                a = parent;
                continue;
            }
            const bool becomesParagraph
                = a->m_kind == kKindLi || IsHeadingKind(a->m_kind) || div || a->m_kind == kKindPre;
            if (!becomesParagraph || (div && CountChildBlockEle(a) > 0))
                UnwrapAncestor(*this, a);
            else
                ReplaceByParagraph(*this, a);
            a = parent;
        }
    } catch (...) {
        WriteExcpInfo("RemoveUnexpectTag");
    }
}

bool CXDoc::IsThereTagInString(const unsigned short* text, const unsigned short* opening, int from)
{
    if (!text || !opening || !*opening)
        return false;
    const int length = U16len(text);
    const int openingLength = U16len(opening);
    for (int i = from < 0 ? 0 : from; i + openingLength < length; ++i) {
        if (text[i] != opening[0] || U16ncmp(text + i, opening, openingLength) != 0)
            continue;
        const unsigned short next = text[i + openingLength];
        if (next == ' ' || next == '\t' || next == '/' || next == '>')
            return true;
    }
    return false;
}
