// CDialog over the platform's modal dialog. A skip-event flag may be held by
// several open dialogs at once (a modal one opened from a modeless one, two
// modeless ones closed in any order): the holders of each flag are counted,
// and the flag gets back the value it had before the first once the last
// lets it go.

#include "ui/Dialog.h"

#include "platform/events/Event.h"
#include "platform/events/ModalLoop.h"

#include <map>

namespace {

struct HeldFlag
{
    int holders = 0;
    unsigned char before = 0;
};

std::map<unsigned char*, HeldFlag>& HeldFlags()
{
    static std::map<unsigned char*, HeldFlag> flags;
    return flags;
}

void HoldFlag(unsigned char* flag)
{
    HeldFlag& held = HeldFlags()[flag];
    if (held.holders++ == 0)
        held.before = *flag;
    *flag = 1;
}

void ReleaseFlag(unsigned char* flag)
{
    auto& flags = HeldFlags();
    const auto it = flags.find(flag);
    if (it == flags.end())
        return;
    if (--it->second.holders == 0) {
        *flag = it->second.before;
        flags.erase(it);
    }
}

} // namespace

CDialog::CDialog(const char* kind) : m_dialog(kind ? kind : "dialog") { }

CDialog::~CDialog()
{
    if (m_modelessHandler)
        m_dialog.Target().RemoveHandler(m_modelessHandler);
    m_dialog.HideModeless();
    if (m_open)
        Close(m_result);
}

int CDialog::ResultForCommand(std::uint32_t command) const
{
    const auto& buttons = m_dialog.buttons;
    for (std::size_t i = 0; i < buttons.size(); ++i)
        if (buttons[i].command == command)
            return static_cast<int>(i) + 1;
    return 0;
}

void CDialog::Open()
{
    OnInitDialog();
    m_dialog.caption = GetWindowRef().Title();
    m_dialog.parent = m_parent ? &m_parent->GetWindowRef() : nullptr;
    if (m_skipEvent)
        HoldFlag(m_skipEvent); // the last step that may fail
    m_heldFlag = m_skipEvent;
    m_ended = false;
    m_endResult = 0;
    m_open = true;
    GetWindowRef().SetVisible(true);
}

void CDialog::Close(int result)
{
    m_result = result;
    m_open = false;
    GetWindowRef().SetVisible(false);
    if (m_heldFlag)
        ReleaseFlag(m_heldFlag);
    m_heldFlag = nullptr;
}

int CDialog::DoModal()
{
    if (m_open)
        return 0;
    try {
        Open();
    } catch (...) {
        m_result = 0;
        return 0;
    }
    int result = 0;
    try {
        const qm::events::ModalStatus status = m_dialog.RunModal();
        if (m_ended)
            result = m_endResult;
        else if (status == qm::events::ModalStatus::kQuit)
            result = ResultForCommand(static_cast<std::uint32_t>(m_dialog.Result()));
    } catch (...) {
        result = 0;
    }
    Close(result);
    return result;
}

bool CDialog::StartModalless(bool show)
{
    if (!show) {
        if (!m_open || m_dialog.IsRunning())
            return false;
        EndDialog(0);
        return true;
    }
    if (m_open)
        return false;
    try {
        Open();
    } catch (...) {
        return false;
    }
    try {
        m_modelessHandler = m_dialog.Target().InstallHandler(
            {{qm::events::kEventClassWindow, qm::events::kEventWindowClose}},
            [this](const qm::events::NextHandler&, qm::events::Event&) {
                OnWindowClose();
                return qm::events::kNoErr;
            });
        if (m_dialog.ShowModeless())
            return true;
    } catch (...) { }
    if (m_modelessHandler)
        m_dialog.Target().RemoveHandler(m_modelessHandler);
    m_modelessHandler = 0;
    Close(0);
    return false;
}

void CDialog::EndDialog(int result)
{
    if (!m_open)
        return;
    if (m_dialog.IsRunning()) {
        m_ended = true;
        m_endResult = result;
        qm::events::ModalLoop::QuitFor(m_dialog.Target(), 0);
        return;
    }
    m_dialog.HideModeless();
    if (m_modelessHandler)
        m_dialog.Target().RemoveHandler(m_modelessHandler);
    m_modelessHandler = 0;
    Close(result);
}
