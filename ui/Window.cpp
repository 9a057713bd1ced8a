#include "ui/Window.h"

#include "base/text/Utf.h"

void TWindow::SetWindowText(const unsigned short* text)
{
    if (text == nullptr)
        return;
    try {
        m_window.SetTitle(ToUTF8String(text));
    } catch (...) { }
}

void TWindow::GetWindowText(CSafeBuf& out) const
{
    out.Empty();
    try {
        out.AssignUTF8(m_window.Title().c_str());
    } catch (...) {
        out.Empty();
    }
}

bool TWindow::SetWindowGroup(qm::ui::WindowGroup* group)
{
    if (qm::ui::WindowGroup* old = m_window.Group())
        old->Remove(m_window);
    if (group == nullptr)
        return true;
    try {
        group->Add(m_window);
        return true;
    } catch (...) {
        return false;
    }
}
