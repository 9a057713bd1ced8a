#pragma once
// The browser window the host shows the page in: a platform window with a
// port, at a position on the screen, painted as an empty page, and the
// plug-in's area in it (x, y, width, height in the port's coordinates)
// with its clip rectangle. It fills the window record and the port record
// the plug-in gets, converts points of the plug-in's area to the screen, and
// writes its pixels as a PNG.

#include "platform/np/Window.h"
#include "platform/ui/Window.h"

#include <string>

namespace qm::host {

struct WindowGeometry
{
    int screenH = 100; // the window's top-left corner on the screen
    int screenV = 80;
    int width = 640;
    int height = 480;
    std::string title = "Quillmark test host";
};

class BrowserWindow
{
public:
    // False when the window's port cannot be made.
    bool Create(const WindowGeometry& geometry);

    ui::Window& Window() { return m_window; }
    bool HasPort() const { return m_window.Port() != nullptr; }

    // Places the plug-in's area; the clip becomes the part of the area inside
    // the window.
    void Place(int x, int y, int width, int height);
    // The clip rectangle in the port's coordinates (top, left, bottom, right),
    // as the page scrolls the plug-in partly or wholly out of view.
    void SetClip(int top, int left, int bottom, int right);

    // The records handed to NPP_SetWindow.
    NPWindow* Record();

    // A point of the plug-in's area (h, v from its top-left corner) on the screen.
    void ToScreen(int h, int v, int& screenH, int& screenV) const;

    // Paints the empty page with a frame round the plug-in's area.
    void PaintPage();
    bool WritePNG(const std::string& path) const;

private:
    ui::Window m_window;
    NP_Port m_port{};
    NPWindow m_record{};
};

} // namespace qm::host
