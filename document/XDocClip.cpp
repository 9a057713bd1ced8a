// Clipping a graphics context to the document's editing area.

#include "document/XDoc.h"

#include "platform/cg/Context.h"
#include "platform/qd/Port.h"

void CXDoc::SetClipRect(qm::cg::Context* context)
{
    if (!context || !qm::qd::IsLivePort(m_port))
        return;
    // The view rectangle is measured from the port's top-left corner; the
    // context's user space is y-up with the port's bottom-left corner at
    // (0, 0).
    const int height = m_viewRect.bottom - m_viewRect.top;
    const int bottom = m_port->Height() - (m_viewRect.top + height);
    context->ClipToRect(qm::cg::Rect{static_cast<double>(m_viewRect.left), static_cast<double>(bottom),
        static_cast<double>(m_viewWidth), static_cast<double>(height)});
}
