#include "platform/ui/Window.h"

#include "platform/events/Services.h"
#include "platform/qd/Port.h"
#include "platform/ui/UiState.h"

#include <algorithm>

namespace qm::ui {

namespace {

std::vector<Window*>& Windows() { return events::Services::Get().Windows().windows; }

} // namespace

Window::Window(std::string title) : m_title(std::move(title)), m_target(&events::EventTarget::Application())
{
    Windows().push_back(this);
}

Window::~Window()
{
    if (m_group)
        m_group->Remove(*this);
    auto& all = Windows();
    all.erase(std::remove(all.begin(), all.end(), this), all.end());
    delete m_port;
}

void Window::MoveTo(int h, int v)
{
    m_h = h;
    m_v = v;
    if (m_port)
        m_port->SetScreenPosition(h, v);
}

bool Window::SetSize(int width, int height)
{
    qd::Port* port = qd::Port::Create(width, height);
    if (!port)
        return false;
    port->SetScreenPosition(m_h, m_v);
    delete m_port;
    m_port = port;
    m_width = width;
    m_height = height;
    return true;
}

Window* Window::FromPort(const qd::Port* port)
{
    if (!port)
        return nullptr;
    for (Window* w : Windows())
        if (w->m_port == port)
            return w;
    return nullptr;
}

const std::vector<Window*>& Window::All() { return Windows(); }

WindowGroup::~WindowGroup()
{
    for (Window* w : m_windows)
        w->m_group = nullptr;
}

void WindowGroup::Add(Window& window)
{
    if (window.m_group)
        window.m_group->Remove(window);
    m_windows.push_back(&window);
    window.m_group = this;
}

bool WindowGroup::Remove(Window& window)
{
    auto it = std::find(m_windows.begin(), m_windows.end(), &window);
    if (it == m_windows.end())
        return false;
    m_windows.erase(it);
    window.m_group = nullptr;
    return true;
}

} // namespace qm::ui
