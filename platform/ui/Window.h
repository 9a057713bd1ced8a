#pragma once
// Windows of the desktop and window groups.
//
// A window has a title, a rectangle on the screen, an event target (whose
// parent is the application's) and, once it is given a size, a drawing port
// of that size placed at its screen position. Every window that exists is
// listed process-wide (All), so a host can find the windows of the code it
// drives, and a port leads back to its window (FromPort).
//
// A window group keeps windows together so that a dialog stays above the
// window it belongs to. A window is in at most one group; it leaves the group
// when either goes away.

#include "platform/events/EventTarget.h"

#include <memory>
#include <string>
#include <vector>

namespace qm::qd {
class Port;
}

namespace qm::ui {

class WindowGroup;

class Window
{
public:
    explicit Window(std::string title = std::string());
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    const std::string& Title() const { return m_title; } // UTF-8
    void SetTitle(std::string title) { m_title = std::move(title); }

    events::EventTarget& Target() { return m_target; }

    // The top-left corner on the screen (global coordinates) and the size.
    int ScreenH() const { return m_h; }
    int ScreenV() const { return m_v; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // Moves the window (and its port) on the screen.
    void MoveTo(int h, int v);
    // Gives the window a size and a port of that size (a new port, cleared;
    // the old one, if any, goes). False, with nothing changed, when the size
    // is not positive or the port cannot be made.
    bool SetSize(int width, int height);
    // Null until the window has a size.
    qd::Port* Port() const { return m_port; }

    bool IsVisible() const { return m_visible; }
    void SetVisible(bool visible) { m_visible = visible; }

    WindowGroup* Group() const { return m_group; }

    // The window whose port this is; null when none.
    static Window* FromPort(const qd::Port* port);
    static const std::vector<Window*>& All();

private:
    friend class WindowGroup;

    std::string m_title;
    events::EventTarget m_target;
    int m_h = 0;
    int m_v = 0;
    int m_width = 0;
    int m_height = 0;
    qd::Port* m_port = nullptr;
    bool m_visible = false;
    WindowGroup* m_group = nullptr;
};

class WindowGroup
{
public:
    WindowGroup() = default;
    ~WindowGroup();
    WindowGroup(const WindowGroup&) = delete;
    WindowGroup& operator=(const WindowGroup&) = delete;

    // Puts the window in this group, above the others (it leaves its old one).
    void Add(Window& window);
    // False when the window is not in this group.
    bool Remove(Window& window);
    // Bottom first.
    const std::vector<Window*>& Windows() const { return m_windows; }

private:
    std::vector<Window*> m_windows;
};

} // namespace qm::ui
