#include "editor/PluginPortScope.h"

#include "platform/np/Window.h"
#include "platform/qd/Port.h"

CPluginPortScope::CPluginPortScope(const NPWindow* window)
{
    const auto* port = window ? static_cast<const NP_Port*>(window->window) : nullptr;
    if (port && qm::qd::IsLivePort(port->port))
        BackupOldPort(m_oldPort, m_oldBounds, m_oldClip, port->port, window->x, window->y);
}

CPluginPortScope::~CPluginPortScope() { RestoreOldPort(m_oldPort, m_oldBounds, m_oldClip); }
