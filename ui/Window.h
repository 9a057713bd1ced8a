#pragma once
// TWindow: the window layer's window, over a platform window. Only what the
// dialogs of this layer need so far: the title and the platform window that
// a dialog belongs to.

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

    qm::ui::Window& GetWindowRef() { return m_window; }
    const qm::ui::Window& GetWindowRef() const { return m_window; }

private:
    qm::ui::Window m_window;
};
