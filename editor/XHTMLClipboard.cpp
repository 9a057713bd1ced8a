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
#include "element/services/ControlServices.h"
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
    bool inPre = false;
    engine.m_doc.GetSelectionCode(markup, 0, &inPre);
    if (markup.IsEmpty())
        return false;
    CSafeBuf text;
    SelectionPlainText(
        markup, engine.m_control ? engine.m_control->Namespaces : CSafeBuf(), &engine, text, inPre);
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

// Reading puts a blank that starts an inline element's text before the
// element, and one that ends it after. A cut may leave either at the caret,
// in the inline elements around it or beside them (" license" left of a
// link's text); moved out now, the value written reads back as it stands,
// so that undo after a later edit gives the cut's value back. The caret
// keeps its place in the text, outside the element when it stood beside
// the blank.
void MoveBlankOut(CXDoc& doc, CElement* e, bool after)
{
    CElement* caret = doc.m_caretElement;
    const bool edge = caret && caret->IsTextElement() && caret->m_parent == e
        && (after ? e->m_lastChild : e->m_firstChild) == caret;
    const int length = edge ? caret->m_text.Length() : 0;
    const int offset = edge ? caret->m_caretOffset : 0;
    qm::insert::BlankOutsideInline(e, after);
    if (!edge || caret->m_text.Length() == length)
        return;
    // The caret's run was divided: it kept all but the blank (after), or
    // the blank alone (before), the rest going on as e's first child.
    CElement* to
        = after ? (offset >= length ? e->m_nextSibling : nullptr) : (offset > 1 ? e->m_firstChild : nullptr);
    if (to && to->IsTextElement()) {
        to->m_caretOffset = after ? 1 : offset - 1;
        doc.m_caretElement = to;
    }
}

void MoveBlanksOutAtCaret(CXDoc& doc)
{
    CElement* caret = doc.m_caretElement;
    if (!caret || !caret->IsTextElement() || !doc.IsElementInTree(caret))
        return;
    for (CElement* e = caret; e && !e->m_block; e = e->m_parent) {
        if (e != caret) {
            MoveBlankOut(doc, e, false);
            MoveBlankOut(doc, e, true);
        }
        if (e->m_prevSibling)
            MoveBlankOut(doc, e->m_prevSibling, true);
        if (e->m_nextSibling)
            MoveBlankOut(doc, e->m_nextSibling, false);
    }
}

// Whether the clipboard holds anything a paste can bring in: without it a
// paste leaves the selection as it is rather than deleting it for nothing.
bool ClipboardHoldsPasteable(bool markupEnabled)
{
    CSafeBuf probe;
    return GetClipboardString(kOwnFlavor, probe, true)
        || (markupEnabled && GetClipboardString(kHtmlFlavor, probe, false))
        || GetClipboardString(kFileFlavor, probe, false) || GetClipboardString(kTextFlavor, probe, true);
}

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
    MoveBlanksOutAtCaret(m_doc);
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
    if (!ClipboardHoldsPasteable(m_control && m_control->PasteMarkupEnabled()))
        return;
    const bool pointSet = m_pastePoint.x >= 0;
    bool pointInside = false;
    if (m_doc.m_selectionPresent && pointSet && m_doc.m_root) {
        const CPoint at(m_pastePoint.x + m_doc.m_scrollX, m_pastePoint.y + m_doc.m_scrollY);
        pointInside = m_doc.m_root->IsCursorInsideSelection(at);
    }
    bool inImage = !m_doc.m_selectionPresent && IsCursorInImage();
    // What the paste replaces goes as typing over it would: the text left
    // of the blocks it ran across is one block, which the pasted blocks
    // then split.
    RemoveSelection(true);
    if (!inImage)
        inImage = IsCursorInImage();
    if (pointSet && !pointInside)
        ActAsLButDown(0, m_pastePoint);
    if (!m_doc.m_caretElement)
        return;

    CSafeBuf text;
    std::optional<CSafeBuf> preText; // the text of HTML a pre refused
    if (!inImage) {
        if (GetClipboardString(kOwnFlavor, text, true)) {
            if (!TakesMarkup(m_doc.m_caretElement) || text.IsEmpty())
                return;
            const long block = qm::insert::CaretBlockId(m_doc);
            InsertOwnMarkup(text);
            qm::insert::HoldSplitBlanks(m_doc, block);
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
            if (InsertForeignHTML(description.c_str(), &preText))
                return;
        }
    }
    if (GetClipboardString(kFileFlavor, text, false)) {
        PasteFiles();
        return;
    }
    if (GetClipboardString(kPictureFlavor, text, false))
        return;
    if (!GetClipboardString(kTextFlavor, text, true) || text.IsEmpty()) {
        if (!preText)
            return;
        if (preText->IsEmpty()) {
            DisplayMessageBox("message-box/cannot-insert-into-given-location");
            return;
        }
        text = *preText;
    }
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
    if (!throughRoot) {
        // As Backspace or Delete take it: a cell whose paragraphs the cut
        // joined into one loses that paragraph's wrapper, as reading the
        // value takes it off, so that undo after a later edit (a paste)
        // gives back the value the cut left.
        m_doc.DeleteSelection(true, false, true);
        return;
    }
    m_doc.DeleteMovedSelection();
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
