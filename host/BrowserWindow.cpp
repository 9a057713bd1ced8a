#include "host/BrowserWindow.h"

#include "platform/cg/PngExport.h"
#include "platform/qd/Port.h"

#include <algorithm>

namespace qm::host {

namespace {

std::uint16_t Edge(int v) { return static_cast<std::uint16_t>(std::clamp(v, 0, 65535)); }

} // namespace

bool BrowserWindow::Create(const WindowGeometry& g)
{
    m_window.SetTitle(g.title);
    m_window.MoveTo(g.screenH, g.screenV);
    if (!m_window.SetSize(g.width, g.height))
        return false;
    m_window.SetVisible(true);
    m_port.port = m_window.Port();
    m_record.window = &m_port;
    m_record.type = NPWindowTypeDrawable;
    PaintPage();
    return true;
}

void BrowserWindow::Place(int x, int y, int width, int height)
{
    m_record.x = x;
    m_record.y = y;
    m_record.width = static_cast<std::uint32_t>(std::max(0, width));
    m_record.height = static_cast<std::uint32_t>(std::max(0, height));
    m_port.portx = x;
    m_port.porty = y;
    SetClip(std::max(0, y), std::max(0, x), std::min(m_window.Height(), y + height),
        std::min(m_window.Width(), x + width));
    PaintPage();
}

void BrowserWindow::SetClip(int top, int left, int bottom, int right)
{
    m_record.clipRect
        = NPRect{Edge(top), Edge(left), Edge(std::max(top, bottom)), Edge(std::max(left, right))};
}

NPWindow* BrowserWindow::Record() { return &m_record; }

void BrowserWindow::ToScreen(int h, int v, int& screenH, int& screenV) const
{
    screenH = m_window.ScreenH() + m_record.x + h;
    screenV = m_window.ScreenV() + m_record.y + v;
}

void BrowserWindow::PaintPage()
{
    qd::Port* port = m_window.Port();
    if (!port)
        return;
    cairo_surface_flush(port->Surface());
    cairo_t* cr = cairo_create(port->Surface());
    cairo_set_source_rgb(cr, 0.93, 0.93, 0.93);
    cairo_paint(cr);
    if (m_record.width > 0 && m_record.height > 0) {
        cairo_set_source_rgb(cr, 0.55, 0.55, 0.55);
        cairo_set_line_width(cr, 1);
        cairo_rectangle(cr, m_record.x - 0.5, m_record.y - 0.5, m_record.width + 1.0, m_record.height + 1.0);
        cairo_stroke(cr);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_rectangle(cr, m_record.x, m_record.y, m_record.width, m_record.height);
        cairo_fill(cr);
    }
    cairo_destroy(cr);
    cairo_surface_mark_dirty(port->Surface());
}

bool BrowserWindow::WritePNG(const std::string& path) const
{
    qd::Port* port = m_window.Port();
    if (!port)
        return false;
    cairo_surface_flush(port->Surface());
    return cg::WritePNG(port->Surface(), path);
}

} // namespace qm::host
