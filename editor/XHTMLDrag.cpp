// Drags over the plug-in window, for the WYSIWYG and the source view. The
// tracking handler moves the caret (or the source view's drop caret) with
// the pointer; the receive handler inserts what is dropped: the editor's
// markup ('QMRK'), text ('utxt') or files ('furl', uploaded). A drag whose
// token ('QMD1') is this editor's own is a move; any other drag is a copy.
// A drop onto the dragged selection is refused only for the editor's own
// drags, a drop where the edit guard refuses a change whatever its source.

#include "editor/XHTML.h"

#include "base/shims/Pasteboard.h"
#include "base/shims/PortShims.h"
#include "document/SrcElement.h"
#include "editor/InsertSupport.h"
#include "editor/PluginPortScope.h"
#include "element/EdgeBlanks.h"
#include "element/Element.h"
#include "element/services/ControlServices.h"
#include "platform/np/Window.h"
#include "source_view/ColoringEditor.h"

#include <cstdint>
#include <vector>

namespace {

constexpr int kRefused = 1;
// Edit guard: a drag moving to an element, asked without a message.
constexpr int kActionDragMove = 0x8007;
constexpr long kSubCodeDrag = 9;
constexpr int kErrorLocation = 4;

// The token of the drag's first item, 0 when it has none.
std::uint32_t DragTokenOf(qm::dnd::DragSession& drag, qm::dnd::DragItemRef item)
{
    unsigned char token[4] = {0, 0, 0, 0};
    if (!GetDragData(&drag, item, kFlavorEditorTag, token, nullptr))
        return 0;
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value |= static_cast<std::uint32_t>(token[i]) << (8 * i);
    return value;
}

// The drag's pointer in the editing area's coordinates: the plug-in's port
// is current with its origin at minus the editing area's position.
CPoint DragPoint(const qm::dnd::DragSession& drag)
{
    const qm::events::Point mouse = drag.Mouse();
    Point local{static_cast<std::int16_t>(mouse.v), static_cast<std::int16_t>(mouse.h)};
    dGlobalToLocal(&local);
    return CPoint(local.h, local.v);
}

} // namespace

bool CXHTML::MoveDrag(CPoint point)
{
    const DragCheck check = PlaceDragCaret(point);
    return check.onSelection || check.guarded;
}

CXHTML::DragCheck CXHTML::PlaceDragCaret(CPoint point)
{
    DragCheck check;
    point.x += m_doc.m_scrollX;
    point.y += m_doc.m_scrollY;
    if (point.x < 0 || point.y < 0 || !m_doc.m_root)
        return check;
    m_doc.m_caretEnabled = 1;
    CElement* previous = m_doc.m_caretElement;
    CElement* under = m_doc.m_root->WhereCursorOn(point);
    m_doc.m_pointerElement = under;
    m_doc.m_caretElement = under;
    m_doc.SetKeyToPosition(point, 0);
    if (!m_doc.m_caretElement) {
        m_doc.m_caretElement = previous;
        DocUpdateKeyCursor();
    }
    CElement* caret = m_doc.m_caretElement;
    if (caret && m_doc.IsElementInTree(caret) && caret->m_selected
        && (!caret->IsTextElement()
            || (caret->m_caretOffset >= 0 && caret->m_caretOffset <= caret->m_text.Length()))
        && m_doc.m_root->IsCursorInsideSelection(point))
        check.onSelection = true;
    else if (under && m_doc.IsElementInTree(under) && under->IsCursorInsideSelection(point))
        check.onSelection = true;
    check.guarded = !m_doc.CanDocumentBeChanged(kActionDragMove, caret, kSubCodeDrag, 0, nullptr);
    return check;
}

int CXHTML::MyDragTrackingHandler(
    short message, qm::dnd::WindowKey, CXHTML* engine, qm::dnd::DragSession& drag)
{
    if (!engine)
        return kRefused;
    if (!engine->m_control || engine->m_control->GetViewMode() > 1 || !engine->CanDisplay())
        return kDragRefusedInView;
    const bool source = engine->m_control->GetViewMode() == 1;
    CColoringEditor* view = source ? engine->m_control->SourceView() : nullptr;
    if (message != qm::dnd::kDragTrackingInWindow
        && !(source && message == qm::dnd::kDragTrackingLeaveHandler))
        return 0;
    CPluginPortScope port(engine->m_window);
    qm::dnd::DragItemRef item = 0;
    drag.GetItemReference(1, item);
    const std::uint32_t token = DragTokenOf(drag, item);
    if (source) {
        if (!view)
            return 0;
        if (message == qm::dnd::kDragTrackingLeaveHandler) {
            view->HideDragCursor(true);
            return 0;
        }
        return view->MoveDrag(DragPoint(drag)) && token == view->DragToken() ? kRefused : 0;
    }
    const DragCheck check = engine->PlaceDragCaret(DragPoint(drag));
    const bool own = token == engine->m_doc.m_dragToken;
    return (check.onSelection && own) || check.guarded ? kRefused : 0;
}

int CXHTML::MyDragReceiveHandler(qm::dnd::WindowKey, CXHTML* engine, qm::dnd::DragSession& drag)
{
    if (!engine)
        return kRefused;
    if (!engine->m_control || engine->m_control->GetViewMode() > 1 || !engine->CanDisplay())
        return kDragRefusedInView;
    CPluginPortScope port(engine->m_window);
    return engine->ReceiveDrop(drag, DragPoint(drag));
}

int CXHTML::ReceiveDrop(qm::dnd::DragSession& drag, CPoint point)
{
    if (!m_control)
        return kRefused;
    const bool source = m_control->GetViewMode() == 1;
    CColoringEditor* view = source ? m_control->SourceView() : nullptr;
    if (source && !view)
        return kRefused;
    if (!source && m_control->HasKeyboardFocus()) {
        m_doc.m_caretEnabled = 1;
        m_doc.m_caretPhase = 1;
    }
    const std::size_t count = drag.CountItems();
    qm::dnd::DragItemRef first = 0;
    drag.GetItemReference(1, first);
    const std::uint32_t token = DragTokenOf(drag, first);
    bool own = false;
    if (source) {
        own = token == view->DragToken();
        if (view->MoveDrag(point) && own) {
            view->HideDragCursor(true);
            return kRefused;
        }
    } else {
        own = token == m_doc.m_dragToken;
        const DragCheck check = PlaceDragCaret(point);
        if ((check.onSelection && own) || check.guarded)
            return kRefused;
    }
    if (point.x < 0 || point.y < 0 || !m_window
        || point.x > m_window->clipRect.right - m_window->clipRect.left
        || point.y > m_window->clipRect.bottom - m_window->clipRect.top) {
        if (view)
            view->HideDragCursor(true);
        return kRefused;
    }
    const bool inImage = !source && IsCursorInImage();

    CSafeBuf text;
    if (!source && !inImage && GetDragData(&drag, first, kFlavorEditorMarkup, &text, nullptr)) {
        // A move deletes the dragged selection before its copy goes in: a
        // copy the drop point would refuse must not cost the original.
        if (own && !MayTakeMarkup(text))
            return kRefused;
        // The typing before the drop is an undo step of its own.
        m_doc.TakePendingChange();
        // The blocks the move takes text out of.
        std::vector<long> blocks;
        if (own && m_doc.m_root) {
            CPtrList selected;
            m_doc.m_root->GetAllChildren(&selected, 0, true, 0, 0);
            for (void* pos = selected.GetHeadPosition(); pos;) {
                const auto* e = static_cast<const CElement*>(selected.GetNext(pos));
                CElement* block = e->m_block ? nullptr : e->GetFirstBlockParent();
                if (block && (blocks.empty() || blocks.back() != block->GetID()))
                    blocks.push_back(block->GetID());
            }
            // A move: the dragged selection goes before its copy comes in.
            DeleteTakenSelection(true);
        }
        // As a paste holds them: a blank left at the edge of the text of
        // the block the drop point splits, or of what went in there.
        const long block = qm::insert::CaretBlockId(m_doc);
        InsertOwnMarkup(text);
        qm::insert::HoldSplitBlanks(m_doc, block);
        // A blank the move left at the edge of a block's text reads back
        // only as a no-break space.
        for (long id : blocks) {
            CElement* block = m_doc.FindElement(id);
            if (block && m_doc.IsElementInTree(block))
                HoldEdgeBlanks(block);
        }
        if (m_doc.m_root)
            m_doc.m_root->CheckDocument();
        DocDrawDoc();
        m_doc.Redraw();
        m_doc.SetLastKeyPos(m_doc.m_caretPoint);
        NotifyChange(true);
        return 0;
    }
    if (GetDragData(&drag, first, kFlavorUnicodeText, &text, nullptr)) {
        if (inImage) {
            text.Remove('\r');
            text.Remove('\n');
        }
        if (source) {
            view->DragTextTo(text, own);
            return 0;
        }
        m_doc.TakePendingChange();
        InsertText(text, true);
        DocDrawDoc();
        m_doc.Redraw();
        NotifyEdit();
        return 0;
    }
    if (source)
        return kRefused;
    if (!GetDragData(&drag, first, kFlavorFileURL, &text, nullptr))
        return kRefused;
    int errors = 0;
    for (std::size_t index = 1; index <= count; ++index) {
        qm::dnd::DragItemRef item = 0;
        if (!drag.GetItemReference(index, item))
            continue;
        CSafeBuf path;
        GetDragData(&drag, item, kFlavorFileURL, &path, nullptr);
        LocalPathOfFileURL(path);
        if (!path.IsEmpty() && m_doc.CanInsertTo(nullptr, nullptr, path, false))
            FileUpload(path, errors);
        else
            errors |= kErrorLocation;
    }
    DisplayUploadErrorMsg(this, errors);
    return 0;
}

bool CXHTML::MayTakeMarkup(const CSafeBuf& markup)
{
    if (!MayChange(qm::insert::kActionInsert, nullptr, 0)
        || !m_doc.CanInsertTo(markup, nullptr, nullptr, true))
        return false;
    CSrcElement tree("body", this);
    if (!qm::insert::LoadFragment(this, markup, tree))
        return false;
    return !tree.IsThereBlockTypeChild()
        || MayChange(qm::insert::kActionCommand, nullptr, qm::insert::kSubCodeBlocks);
}
