#pragma once
// TWindow: the window layer's window, over a platform window: its title and
// the window group it is in (a group keeps a dialog above the window it
// belongs to). Dialogs (CDialog) are windows too.

#include "base/text/SafeBuf.h"
#include "platform/ui/Window.h"

class TWindow
{
public:
    TWindow() = default;
    virtual ~TWindow() = default;
    TWindow(const TWindow&) = delete;
    TWindow& operator=(const TWindow&) = delete;

    // Sets the window's title; null leaves it.
    void SetWindowText(const unsigned short* text);
    void GetWindowText(CSafeBuf& out) const;

    // Puts the window in group, above the windows already there (it leaves
    // its old group); null takes it out of any. False when it could not be
    // put in the group: it is then in none.
    bool SetWindowGroup(qm::ui::WindowGroup* group);
    qm::ui::WindowGroup* GetWindowGroup() const { return m_window.Group(); }

    qm::ui::Window& GetWindowRef() { return m_window; }
    const qm::ui::Window& GetWindowRef() const { return m_window; }

private:
    qm::ui::Window m_window;
};
