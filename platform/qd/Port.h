#pragma once
// A drawing port: a pixel surface (cairo ARGB32, premultiplied alpha) with
// a bounds rectangle in local coordinates, an origin, a clip region and the
// screen position of its top-left pixel. One port is current at a time.
//
// Local coordinates: the pixel at column c, row r of the surface has the
// local point (h = origin.h + c, v = origin.v + r). Changing the origin
// relabels the pixels; the clip region keeps its local coordinates, so it
// moves over the pixels, as drawing code expects. Global (screen)
// coordinates: pixel (0, 0) sits at the port's screen position.

#include <cairo.h>

#include "platform/qd/Region.h"

namespace qm::qd {

class Port
{
public:
    // A port of the given size, cleared to transparent, origin (0, 0), clip
    // wide open, at screen position (0, 0). Null when the size is not positive
    // or the surface cannot be allocated.
    static Port* Create(int width, int height);
    ~Port();
    Port(const Port&) = delete;
    Port& operator=(const Port&) = delete;

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    cairo_surface_t* Surface() const { return m_surface; }

    // Local rectangle covered by the pixel surface.
    Rect Bounds() const;
    Point Origin() const { return m_origin; }
    void SetOrigin(int h, int v);

    const Region& Clip() const { return m_clip; }
    void SetClip(const Region& clip) { m_clip.CopyFrom(clip); }

    Point ScreenPosition() const { return m_screen; }
    void SetScreenPosition(int h, int v);

    // New surface of the new size, content kept where it overlaps; false (and
    // nothing changed) when the size is not positive or allocation fails.
    bool Resize(int width, int height);

    void LocalToGlobal(Point& pt) const;
    void GlobalToLocal(Point& pt) const;

private:
    Port() = default;

    cairo_surface_t* m_surface = nullptr;
    int m_width = 0;
    int m_height = 0;
    Point m_origin{0, 0};
    Point m_screen{0, 0};
    Region m_clip;
};

// The current port; null until one is set. A port that is destroyed while
// current stops being current.
Port* GetPort();
void SetPort(Port* port);

// True while `port` names a port that exists (it was created and not yet
// destroyed), so saved port pointers can be checked before reuse.
bool IsLivePort(const Port* port);

} // namespace qm::qd
