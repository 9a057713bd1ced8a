// Copy, cut and paste of the WYSIWYG view through the system clipboard.
// The editor writes its own markup flavour beside plain text; pasting
// prefers its own markup, then other programs' HTML (when the page allows
// pasting markup), file URLs (uploaded), a picture (not pasted) and last
// plain text. In the source view the commands are relayed to that view.

#include "editor/XHTML.h"

#include "base/shims/Pasteboard.h"
#include "base/url/UrlPath.h"
#include "document/SrcElement.h"
#include "editor/InsertSupport.h"
#include "element/Element.h"
#include "element/TreeQueries.h"
#include "element/services/ControlServices.h"
#include "elements/TextElement.h"
#include "elements/TypingTree.h"
#include "platform/dnd/Pasteboard.h"
#include "platform/events/Services.h"

#include <string>
#include <vector>

namespace {

constexpr const char* kOwnFlavor = "public.quillmark";
constexpr const char* kTextFlavor = "public.utf16-plain-text";
constexpr const char* kHtmlFlavor = "public.html";
constexpr const char* kFileFlavor = "public.file-url";
constexpr const char* kPictureFlavor = "public.tiff";

// Edit guard action of a cut, and the source view's relayed commands.
constexpr int kActionCut = 4;
constexpr unsigned int kSourceCopy = 32832;
constexpr unsigned int kSourcePaste = 32833;
constexpr unsigned int kSourceCut = 32834;
// Upload error bit of a file URL that names no path.
constexpr int kErrorNoPath = 1;
constexpr int kErrorLocation = 4;

bool InSourceView(const CXHTML& engine) { return engine.m_control && engine.m_control->GetViewMode() == 1; }

void Relay(CXHTML& engine, unsigned int id)
{
    if (engine.m_control)
        engine.m_control->PostMessage(1, id, 0);
}

// Writes the selection to the clipboard; true when it reached it.
bool CopySelection(CXHTML& engine)
{
    CSafeBuf markup;
    engine.m_doc.GetSelectionCode(markup, 0);
    if (markup.IsEmpty())
        return false;
    CSafeBuf text;
    SelectionPlainText(markup, engine.m_control ? engine.m_control->Namespaces : CSafeBuf(), &engine, text);
    try {
        qm::dnd::Pasteboard& board = qm::events::Services::Get().Pasteboards().Clipboard();
        board.Clear();
        const auto* units = static_cast<const unsigned short*>(markup);
        if (!board.PutItemFlavor(1, kOwnFlavor, units, static_cast<std::size_t>(markup.Length()) * 2))
            return false;
        if (!text.IsEmpty()) {
            board.PutItemFlavor(1, kTextFlavor, static_cast<const unsigned short*>(text),
                static_cast<std::size_t>(text.Length()) * 2);
        }
    } catch (...) {
        return false;
    }
    engine.DisplayClipButton();
    return true;
}

// The blocks whose text a cut may join: paragraphs, headings, list items
// and definition entries.
bool IsTextBlock(const CElement* e)
{
    if (!e)
        return false;
    const long kind = e->m_kind;
    return kind == kKindP || IsHeadingKind(kind) || kind == kKindLi || kind == kKindDd || kind == kKindDt;
}

// Blocks that may hold other blocks after their text (a nested list).
bool HoldsBlocks(const CElement* e) { return e->m_kind == kKindLi || e->m_kind == kKindDd; }

// The structure of lists, which a join may reach through: items of two
// lists, or of a list nested in another, join as items of one list do.
bool IsListStructure(const CElement* e)
{
    const long kind = e->m_kind;
    return IsListKind(kind) || kind == kKindDl || kind == kKindLi || kind == kKindDd || kind == kKindDt;
}

// Between e and its ancestor top (neither included), every element is part
// of a list.
bool ListPathTo(const CElement* e, const CElement* top)
{
    for (e = e->m_parent; e && e != top; e = e->m_parent) {
        if (!IsListStructure(e))
            return false;
    }
    return e == top;
}

// The two blocks a selection starts and ends in when it runs from inside
// one paragraph, heading, list item or definition entry into the text of
// another: a cut leaves the text before the selection in the first and the
// text after it in the second, which then belong together again as one
// block. The second may lie in a list nested in the first, or in another
// list; the way from either up to the element holding both passes only
// through lists and their items, never through a table's cells or other
// containers. before: the children of the first block up to the one the
// selection starts in, which the second's content follows.
struct CutEdges
{
    CElement* first = nullptr;
    CElement* last = nullptr;
    std::vector<long> before;
};

CutEdges EdgesOfSelection(CElement* root)
{
    CutEdges edges;
    if (!root)
        return edges;
    CPtrList selected;
    root->GetAllChildren(&selected, 0, true, 0, 0);
    if (selected.GetCount() < 2)
        return edges;
    auto* head = static_cast<CElement*>(selected.GetHead());
    auto* tail = static_cast<CElement*>(selected.GetTail());
    if (!head->IsTextElement() || !tail->IsTextElement())
        return edges;
    CElement* first = head->GetFirstBlockParent();
    CElement* last = tail->GetFirstBlockParent();
    if (!IsTextBlock(first) || !IsTextBlock(last) || first == last || first->m_selected || last->m_selected
        || first->IsOneOfParent(last))
        return edges;
    CElement* top = FindSameParent(first, last);
    if (!top || !ListPathTo(last, top) || (top != first && !ListPathTo(first, top)))
        return edges;
    // A paragraph, heading or term cannot take the nested list an item
    // brings along.
    if (!HoldsBlocks(first) && IsThereBlockTypeChild(last, false))
        return edges;
    CElement* holder = head;
    while (holder->m_parent != first)
        holder = holder->m_parent;
    for (CElement* c = first->m_firstChild; c; c = c->m_nextSibling) {
        edges.before.push_back(c->GetID());
        if (c == holder)
            break;
    }
    edges.first = first;
    edges.last = last;
    return edges;
}

// A list, list item or entry that a join emptied: no child but empty text
// runs.
bool LeftEmpty(const CElement* e) { return IsListStructure(e) && OnlyEmptyRuns(e); }

// The first child of e that is not an empty text run; null when none.
CElement* FirstContent(const CElement* e)
{
    CElement* c = e->m_firstChild;
    while (c && IsEmptyRun(c))
        c = c->m_nextSibling;
    return c;
}

// What follows e in document order once its subtree is passed: its next
// sibling, else its parent's and so on (empty text runs passed over).
CElement* NextPast(const CElement* e)
{
    for (; e; e = e->m_parent) {
        CElement* n = e->m_nextSibling;
        while (n && IsEmptyRun(n))
            n = n->m_nextSibling;
        if (n)
            return n;
    }
    return nullptr;
}

// Nothing the deletion left stands between the text of first (up to and
// including its child anchor; null: none left) and last: only the starts
// of the lists and items that hold last. A block the deletion emptied but
// kept between them keeps the two apart.
bool NextToEachOther(const CElement* first, const CElement* anchor, const CElement* last)
{
    const CElement* n = anchor ? NextPast(anchor) : FirstContent(first);
    if (!anchor && !n)
        n = NextPast(first);
    while (n && n != last) {
        if (!last->IsOneOfParent(n))
            return false;
        n = FirstContent(n);
    }
    return n == last;
}

// Moves what the cut left of last to follow the child of first the
// selection started in (before: that child and the ones before it; the
// nearest the deletion left is taken), removes last and the lists and
// items emptied by that, and turns a blank held at the seam as a no-break
// space back into a plain blank.
void JoinCutEdges(CElement* first, CElement* last, const std::vector<long>& before)
{
    CElement* anchor = nullptr;
    for (auto it = before.rbegin(); it != before.rend() && !anchor; ++it)
        anchor = first->GetChild(*it, 0);
    if (!NextToEachOther(first, anchor, last))
        return;
    CElement* moved = last->m_firstChild;
    if (anchor)
        last->MoveChildrenTo(first, anchor->GetID(), true, 0, 0);
    else if (first->m_firstChild)
        last->MoveChildrenTo(first, first->m_firstChild->GetID(), false, 0, 0);
    else
        last->MoveChildrenTo(first, 0, true, 0, 0);
    CElement* parent = last->m_parent;
    parent->RemoveChild(last->GetID(), true, true);
    while (parent != first && !first->IsOneOfParent(parent) && LeftEmpty(parent) && parent->m_parent) {
        CElement* up = parent->m_parent;
        up->RemoveChild(parent->GetID(), true, true);
        parent = up;
    }
    if (moved && moved->m_parent == first && !moved->m_block) {
        if (CTextElement* run = PreviousRun(moved, first, true))
            ReleaseSeamBlank(run, run->m_text.Length());
    }
    first->StyleChanged(1);
}

// Removes every carriage return and line feed: text pasted or dropped
// into an image's text stays one line.
void JoinLines(CSafeBuf& text)
{
    text.Remove('\r');
    text.Remove('\n');
}

// The caret element takes pasted markup: a text run, or an element that
// takes the caret beside it.
bool TakesMarkup(const CElement* caret) { return caret && (caret->IsTextElement() || caret->m_edgeCaret); }

} // namespace

void CXHTML::OnCopy()
{
    if (!m_doc.m_selectionPresent)
        return;
    if (InSourceView(*this)) {
        Relay(*this, kSourceCopy);
        return;
    }
    CopySelection(*this);
}

void CXHTML::OnCut()
{
    if (!MayChange(kActionCut, nullptr, 0))
        return;
    if (InSourceView(*this)) {
        Relay(*this, kSourceCut);
        return;
    }
    // What did not reach the clipboard is not deleted.
    if (!m_doc.m_selectionPresent || !CopySelection(*this))
        return;
    DeleteTakenSelection(false);
    DocDrawDoc();
    DocUpdateKeyCursor();
    m_doc.Redraw();
    NotifyChange(true);
}

void CXHTML::OnPaste()
{
    if (!MayChange(qm::insert::kActionInsert, nullptr, 0))
        return;
    if (InSourceView(*this)) {
        Relay(*this, kSourcePaste);
        return;
    }
    const bool pointSet = m_pastePoint.x >= 0;
    bool pointInside = false;
    if (m_doc.m_selectionPresent && pointSet && m_doc.m_root) {
        const CPoint at(m_pastePoint.x + m_doc.m_scrollX, m_pastePoint.y + m_doc.m_scrollY);
        pointInside = m_doc.m_root->IsCursorInsideSelection(at);
    }
    bool inImage = !m_doc.m_selectionPresent && IsCursorInImage();
    RemoveSelection();
    if (!inImage)
        inImage = IsCursorInImage();
    if (pointSet && !pointInside)
        ActAsLButDown(0, m_pastePoint);
    if (!m_doc.m_caretElement)
        return;

    CSafeBuf text;
    if (!inImage) {
        if (GetClipboardString(kOwnFlavor, text, true)) {
            if (!TakesMarkup(m_doc.m_caretElement) || text.IsEmpty())
                return;
            InsertOwnMarkup(text);
            if (m_doc.m_root)
                m_doc.m_root->CheckDocument();
            DocDrawDoc();
            m_doc.Redraw();
            m_doc.SetLastKeyPos(m_doc.m_caretPoint);
            NotifyChange(true);
            return;
        }
        if (m_control && m_control->PasteMarkupEnabled() && GetClipboardString(kHtmlFlavor, text, false)) {
            if (!TakesMarkup(m_doc.m_caretElement))
                return;
            std::string description;
            description.reserve(static_cast<std::size_t>(text.Length()));
            for (int i = 0; i < text.Length(); ++i)
                description.push_back(static_cast<char>(text.GetAt(i) & 0xFF));
            // HTML that brings nothing in leaves the plain text to paste.
            if (InsertForeignHTML(description.c_str()))
                return;
        }
    }
    if (GetClipboardString(kFileFlavor, text, false)) {
        PasteFiles();
        return;
    }
    if (GetClipboardString(kPictureFlavor, text, false))
        return;
    if (!GetClipboardString(kTextFlavor, text, true) || text.IsEmpty())
        return;
    if (inImage)
        JoinLines(text);
    InsertText(text, true);
    DocDrawDoc();
    DocUpdateKeyCursor();
    DocAdjCursorPos();
    m_doc.Redraw();
    m_doc.SetLastKeyPos(m_doc.m_caretPoint);
    NotifyChange(true);
}

void CXHTML::DeleteTakenSelection(bool throughRoot)
{
    const CutEdges edges = EdgesOfSelection(m_doc.m_root);
    if (throughRoot) {
        if (m_doc.m_root)
            m_doc.m_root->DeleteSelection();
        m_doc.m_selectionPresent = 0;
    } else {
        m_doc.DeleteSelection(false);
    }
    // "Hello wor" and "ld again" left by taking "ld" to "Wor" out of
    // "Hello world" and "World again" become "Hello world again".
    if (edges.first && m_doc.IsElementInTree(edges.first) && m_doc.IsElementInTree(edges.last)
        && !edges.first->IsOneOfParent(edges.last))
        JoinCutEdges(edges.first, edges.last, edges.before);
    if (!m_doc.IsElementInTree(m_doc.m_caretElement))
        m_doc.ValidateKeyCursor();
}

void CXHTML::PasteFiles()
{
    // The items are copied first: an upload may run the event loop, and
    // with it whatever changes the clipboard.
    std::vector<CSafeBuf> locations;
    try {
        const qm::dnd::Pasteboard& board = qm::events::Services::Get().Pasteboards().Clipboard();
        for (std::size_t index = 1; index <= board.ItemCount(); ++index) {
            const qm::dnd::PasteboardItem* item = board.ItemAt(index);
            const qm::dnd::Flavor* flavor = nullptr;
            for (const qm::dnd::Flavor& f : item->flavors) {
                if (f.tag == qm::events::FourCC("furl")) {
                    flavor = &f;
                    break;
                }
            }
            if (!flavor)
                flavor = board.FindFlavor(item->id, kFileFlavor);
            CSafeBuf location;
            if (flavor)
                CopyDataFromCFData(flavor->data, location, false);
            locations.push_back(location);
        }
    } catch (...) {
        return;
    }
    int errors = 0;
    for (CSafeBuf& path : locations) {
        LocalPathOfFileURL(path);
        if (path.IsEmpty()) {
            errors |= kErrorNoPath;
            continue;
        }
        if (!m_doc.CanInsertTo(nullptr, nullptr, path, false)) {
            errors |= kErrorLocation;
            continue;
        }
        FileUpload(path, errors);
    }
    DisplayUploadErrorMsg(this, errors);
    m_doc.SetLastKeyPos(m_doc.m_caretPoint);
}

void CXHTML::LocalPathOfFileURL(CSafeBuf& location)
{
    DecodeURL(location);
    ParseLocalURL(location);
    if (!location.IsEmpty())
        CheckForLocalFile(location);
}
