#pragma once
// The window record a browser hands the plug-in (NPP_SetWindow) and the port
// record it points to.
//
// The browser window draws through one drawing port; the plug-in's area sits
// in it at (x, y) of the port's local coordinates and is width by height
// pixels. clipRect is the part of that area the page shows, in the same
// coordinates; a clip empty in both directions means the plug-in is hidden.
// A window record whose window pointer is null brings no window yet.

#include "platform/np/Types.h"

#include <cstdint>

namespace qm::qd {
class Port;
}

// What NPWindow::window points to: the port the browser window draws
// through, and the plug-in's position in it.
struct NP_Port
{
    qm::qd::Port* port;
    std::int32_t portx;
    std::int32_t porty;
};

struct NPRect
{
    std::uint16_t top;
    std::uint16_t left;
    std::uint16_t bottom;
    std::uint16_t right;
};

enum NPWindowType
{
    NPWindowTypeWindow = 1,
    NPWindowTypeDrawable = 2
};

struct NPWindow
{
    void* window; // NP_Port*, or null before the page has a window for the plug-in
    std::int32_t x;
    std::int32_t y;
    std::uint32_t width;
    std::uint32_t height;
    NPRect clipRect;
    NPWindowType type;
};
