#include "platform/qd/Port.h"

#include "platform/cg/Image.h"
#include "platform/events/Services.h"
#include "platform/qd/PortState.h"

#include <algorithm>
#include <new>
#include <unordered_set>

namespace qm::qd {

namespace {

PortState& State() { return events::Services::Get().Ports(); }

std::unordered_set<const Port*>& LivePorts() { return State().live; }

std::int16_t Clamp16(int v) { return static_cast<std::int16_t>(std::clamp(v, -32768, 32767)); }

} // namespace

Port* Port::Create(int width, int height)
{
    cairo_surface_t* s = cg::CreateImageSurface(width, height);
    if (!s)
        return nullptr;
    Port* port = new (std::nothrow) Port();
    if (!port) {
        cairo_surface_destroy(s);
        return nullptr;
    }
    port->m_surface = s;
    port->m_width = width;
    port->m_height = height;
    port->m_clip.SetRect(-32767, -32767, 32767, 32767);
    try {
        LivePorts().insert(port);
    } catch (...) {
        delete port;
        return nullptr;
    }
    return port;
}

Port::~Port()
{
    if (State().current == this)
        State().current = nullptr;
    LivePorts().erase(this);
    if (m_surface)
        cairo_surface_destroy(m_surface);
}

Rect Port::Bounds() const
{
    return Rect{m_origin.v, m_origin.h, Clamp16(m_origin.v + m_height), Clamp16(m_origin.h + m_width)};
}

void Port::SetOrigin(int h, int v) { m_origin = Point{Clamp16(v), Clamp16(h)}; }

void Port::SetScreenPosition(int h, int v) { m_screen = Point{Clamp16(v), Clamp16(h)}; }

bool Port::Resize(int width, int height)
{
    cairo_surface_t* s = cg::CreateImageSurface(width, height);
    if (!s)
        return false;
    cairo_t* cr = cairo_create(s);
    cairo_set_source_surface(cr, m_surface, 0, 0);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_destroy(m_surface);
    m_surface = s;
    m_width = width;
    m_height = height;
    return true;
}

void Port::LocalToGlobal(Point& pt) const
{
    pt.h = Clamp16(pt.h - m_origin.h + m_screen.h);
    pt.v = Clamp16(pt.v - m_origin.v + m_screen.v);
}

void Port::GlobalToLocal(Point& pt) const
{
    pt.h = Clamp16(pt.h - m_screen.h + m_origin.h);
    pt.v = Clamp16(pt.v - m_screen.v + m_origin.v);
}

Port* GetPort() { return State().current; }
void SetPort(Port* port) { State().current = port; }

bool IsLivePort(const Port* port) { return port && LivePorts().count(port) != 0; }

} // namespace qm::qd
