#pragma once
// For the engine's work outside a browser event (a timer tick, typed text):
// while a scope lives, the plug-in's port is current with a wide clip and
// the origin at minus the editing area's position, where the engine draws;
// the previous port comes back when it ends. Without a window record or a
// live port nothing changes.

#include "base/shims/PortShims.h"

struct NPWindow;

class CPluginPortScope
{
public:
    explicit CPluginPortScope(const NPWindow* window);
    ~CPluginPortScope();
    CPluginPortScope(const CPluginPortScope&) = delete;
    CPluginPortScope& operator=(const CPluginPortScope&) = delete;

private:
    GrafPtr m_oldPort = nullptr;
    Rect m_oldBounds{};
    RgnHandle m_oldClip = nullptr;
};
