#pragma once
// A document read from case markup (with the marks of MarkedDocument) whose
// tree is the document's root, shown in a view of a given size on a drawing
// port of that size at the port's top-left corner: the view and window
// rectangles set as the engine sets them, the browser clip the whole view,
// laid out and painted through the view (ResizeWindow, DrawDoc).

#include "tests/element/support/MarkedDocument.h"

#include "document/XDoc.h"
#include "platform/qd/Port.h"

#include <cairo.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

namespace qmtest {

struct ViewedDocument
{
    MarkedDocument marked;
    CXDoc& doc = marked.engine.m_doc;
    std::unique_ptr<qm::qd::Port> port;

    // False when the markup does not parse or the port cannot be had.
    bool Show(const std::string& markup, int width, int height)
    {
        CSafeBuf error;
        if (!marked.Read(markup, error))
            return false;
        doc.m_root = marked.Body();
        if (!Resize(width, height))
            return false;
        doc.DrawDoc(0);
        return true;
    }

    // A new port and view of that size; the window laid out again when it
    // changed.
    bool Resize(int width, int height)
    {
        port.reset(qm::qd::Port::Create(width, height));
        doc.m_port = port.get();
        doc.m_viewWidth = width;
        doc.m_viewRect = CRect(0, 0, (width + 7) / 8 * 8, height);
        doc.m_clipTop = 0;
        doc.m_clipLeft = 0;
        doc.m_clipBottom = static_cast<short>(height);
        doc.m_clipRight = static_cast<short>(width);
        CRect window(0, 0, width, height);
        doc.ResizeWindow(window);
        return port != nullptr;
    }

    // The port's pixel at column x, row y as 0xAARRGGBB (premultiplied).
    std::uint32_t Pixel(int x, int y) const
    {
        cairo_surface_flush(port->Surface());
        const unsigned char* data = cairo_image_surface_get_data(port->Surface());
        const int stride = cairo_image_surface_get_stride(port->Surface());
        std::uint32_t pixel = 0;
        std::memcpy(&pixel, data + y * stride + x * 4, 4);
        return pixel;
    }

    ~ViewedDocument()
    {
        // The markup document owns the tree.
        doc.m_root = nullptr;
        doc.m_port = nullptr;
    }
};

} // namespace qmtest
