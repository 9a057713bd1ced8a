// The document's view: laying the tree out and painting it into the
// offscreen bitmap, copying the rows the window shows to the drawing port
// with the scroll offset applied, and the caret drawn on top.
//
// Placement. A rectangle drawn (the view) is in the port's local
// coordinates, y growing downward; the document point (x, y) shows at
// (view.left + x - scrollX, view.top + y - scrollY). The caret's foot is the
// row just below it: a caret of height h covers the document rows
// foot - h ... foot - 1, cut at the view's top edge. The contexts are those
// of CreateCGContext (y-up over the port's bounds); every rectangle is
// flipped into them here.
//
// Only the tiles of the bitmap near the window are resident: the part a
// copy reads is shown first (ShowDocumentArea), which paints the tiles
// that were not resident. What the bitmap does not cover is filled with
// the document's background colour.

#include "document/XDoc.h"

#include "base/shims/CGShims.h"
#include "element/Element.h"
#include "element/services/ControlServices.h"
#include "element/services/XHTMLServices.h"
#include "platform/cg/Context.h"
#include "platform/qd/Port.h"
#include "style/draw/DrawPrimitives.h"
#include "style/paint/OffscreenView.h"
#include "style/paint/PaintState.h"

#include <algorithm>
#include <cstdlib>

namespace {

bool WindowChangePending(const CXDoc& doc)
{
    const CControlServices* control = doc.Control();
    return control && control->m_windowChangePending;
}

bool IsEmpty(const CRect& r) { return r.right <= r.left || r.bottom <= r.top; }

CRect Intersect(const CRect& a, const CRect& b)
{
    return CRect(std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
        std::min(a.bottom, b.bottom));
}

// The browser's clip rectangle in the port's local coordinates.
CRect BrowserClip(const CXDoc& doc)
{
    return CRect(doc.m_clipLeft, doc.m_clipTop, doc.m_clipRight, doc.m_clipBottom);
}

bool ClippedAway(const CXDoc& doc) { return doc.m_clipTop == 0 && doc.m_clipBottom == 0; }

// A local rectangle of the port in the user space of a context made on it.
qm::cg::Rect UserRect(const qm::qd::Port& port, const CRect& r)
{
    const qm::qd::Rect bounds = port.Bounds();
    return qm::cg::Rect{double(r.left - bounds.left), double(port.Height() - (r.bottom - bounds.top)),
        double(r.right - r.left), double(r.bottom - r.top)};
}

// A context on a port, ended (flushed and freed) with this object.
class PortContext
{
public:
    explicit PortContext(qm::qd::Port* port) : m_port(port), m_context(CreateCGContext(port)) { }
    ~PortContext() { EndCGContext(m_port, &m_context); }
    PortContext(const PortContext&) = delete;
    PortContext& operator=(const PortContext&) = delete;
    CGContextRef Get() const { return m_context; }

private:
    qm::qd::Port* m_port;
    CGContextRef m_context;
};

// The part of the document the view shows becomes resident (painted where
// it was not).
void ShowViewRows(const CXDoc& doc, const CRect& view)
{
    ShowDocumentArea(doc.m_root, doc.m_scrollX, doc.m_scrollY, doc.m_scrollX + int(view.right - view.left),
        doc.m_scrollY + int(view.bottom - view.top));
}

// Copies the document's pixels that shown (a part of view) shows into the
// context; what the bitmap does not cover gets the document's background.
void CopyRows(
    const CXDoc& doc, const qm::qd::Port& port, qm::cg::Context& ctx, const CRect& view, const CRect& shown)
{
    if (IsEmpty(shown))
        return;
    const unsigned long background
        = doc.m_paintState ? doc.m_paintState->m_documentBackground : RGB(255, 255, 255);
    ctx.SaveGState();
    ctx.SetRGBFillColor(fRed(background), fGreen(background), fBlue(background), 1);
    ctx.FillRect(UserRect(port, shown));
    ctx.RestoreGState();
    const qm::cg::Context* bitmap = doc.m_root->m_dc.get();
    const int x = int(shown.left - view.left) + doc.m_scrollX;
    const int row = int(shown.top - view.top) + doc.m_scrollY;
    const qm::cg::ImageRef image
        = bitmap->CreateImage(x, row, int(shown.right - shown.left), int(shown.bottom - shown.top));
    if (!image)
        return;
    // Cut to the bitmap only at its right and bottom: the offsets are never
    // negative.
    const CRect placed(shown.left, shown.top, shown.left + image->Width(), shown.top + image->Height());
    ctx.DrawImage(UserRect(port, placed), *image);
}

// DisplayCursor on a given port (Draw's, or the document's own).
void DisplayCursorOn(CXDoc& doc, qm::qd::Port* port, void* context, const CRect& view, bool repaint)
{
    auto* ctx = static_cast<qm::cg::Context*>(context);
    if (!doc.m_root || WindowChangePending(doc) || !ctx || !doc.m_caretEnabled || !qm::qd::IsLivePort(port))
        return;
    if (doc.m_caretStale && !doc.UpdateKeyCursor())
        return;
    const CPoint foot = doc.m_caretPoint;
    const CRect rows(doc.m_scrollX, doc.m_scrollY, doc.m_scrollX + int(view.right - view.left),
        doc.m_scrollY + int(view.bottom - view.top));
    if (!rows.PtInRect(foot) && !rows.PtInRect(CPoint(foot.x, foot.y - doc.m_caretHeight)))
        return;
    // The rows above the foot that the view holds; none when the caret
    // ends at the view's top.
    const int height = std::min(doc.m_caretHeight, int(foot.y) - doc.m_scrollY);
    if (height <= 0)
        return;
    const CRect visible = Intersect(view, BrowserClip(doc));
    const int x = int(view.left + foot.x) - doc.m_scrollX;
    const int bottom = int(view.top + foot.y) - doc.m_scrollY;
    if (doc.m_caretPhase) {
        const CRect bar = Intersect(CRect(x, bottom - height, x + 1, bottom), visible);
        if (IsEmpty(bar))
            return;
        const qm::cg::Rect user = UserRect(*port, bar);
        xFillSolidRect(ctx,
            CRect(int(user.x), int(user.y), int(user.x + user.width), int(user.y + user.height)),
            doc.m_caretColor, nullptr);
    } else if (repaint && doc.m_root->m_dc && !ClippedAway(doc)) {
        // Erasing puts the document's own pixels back around the caret.
        ShowViewRows(doc, view);
        CopyRows(doc, *port, *ctx, view, Intersect(CRect(x - 4, view.top, x + 4, view.bottom), visible));
    }
}

} // namespace

CControlServices* CXDoc::Control() const { return m_owner ? m_owner->m_control : nullptr; }

void CXDoc::DrawDoc(int mode, void*)
{
    if (!m_root)
        return;
    try {
        if (mode == 2) {
            RepaintDocument(m_root);
            return;
        }
        if (!m_layoutFlags[kCombiningSuspended])
            CombineElement(0);
        m_root->Draw(nullptr);
        SetScrollBar();
    } catch (...) {
        WriteExcpInfo("DrawDoc");
    }
}

void CXDoc::Redraw()
{
    const CControlServices* control = Control();
    if (control && control->m_viewMode != 0)
        return;
    CRect rect = m_viewRect;
    rect.right = rect.left + m_viewWidth;
    Draw(m_port, &rect, false);
}

void CXDoc::Draw(void* portArgument, CRect* rect, bool)
{
    try {
        if (!m_root || !rect || WindowChangePending(*this))
            return;
        const CRect view = *rect;
        const int viewWidth = int(std::labs(view.right - view.left));
        const int viewHeight = int(std::labs(view.bottom - view.top));
        const CRect& box = m_root->Lay().m_sizeRect;
        const int docWidth = int(std::labs(box.right - box.left));
        const int docHeight = int(std::labs(box.bottom - box.top));
        // A window that grew, or a document that shrank, pulls the offset
        // back so that the document's edge meets the view's.
        if (docWidth < m_scrollX + viewWidth)
            m_scrollX = docWidth - viewWidth;
        if (docHeight < m_scrollY + viewHeight)
            m_scrollY = docHeight - viewHeight;
        m_scrollX = std::max(m_scrollX, 0);
        m_scrollY = std::max(m_scrollY, 0);

        auto* port = static_cast<qm::qd::Port*>(portArgument);
        if (!qm::qd::IsLivePort(port) || !m_root->m_dc || docWidth == 0 || docHeight == 0
            || ClippedAway(*this))
            return;
        const CRect shown = Intersect(view, BrowserClip(*this));
        if (IsEmpty(shown))
            return;
        PortContext context(port);
        if (!context.Get())
            return;
        ShowViewRows(*this, view);
        CopyRows(*this, *port, *context.Get(), view, shown);
        DisplayCursorOn(*this, port, context.Get(), view, true);
    } catch (...) {
        WriteExcpInfo("Draw");
    }
}

void CXDoc::DisplayCursor(void* context, RECT* rect, bool repaint)
{
    if (!rect)
        return;
    try {
        DisplayCursorOn(*this, m_port, context, CRect(*rect), repaint);
    } catch (...) {
        WriteExcpInfo("DisplayCursor");
    }
}

void CXDoc::DisplayCursorInView()
{
    if (!qm::qd::IsLivePort(m_port))
        return;
    PortContext context(m_port);
    CRect rect = m_viewRect;
    rect.right = rect.left + m_viewWidth;
    DisplayCursor(context.Get(), &rect, true);
}
