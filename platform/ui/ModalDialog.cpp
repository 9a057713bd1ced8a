#include "platform/ui/ModalDialog.h"

#include "platform/events/Services.h"
#include "platform/ui/UiState.h"
#include "platform/ui/Window.h"

#include <algorithm>

namespace qm::ui {

namespace {

std::vector<ModalDialog*>& ModelessList() { return events::Services::Get().Windows().modeless; }

} // namespace

ModalDialog::ModalDialog(std::string kind)
    : m_kind(std::move(kind)), m_target(&events::EventTarget::Application())
{ }

ModalDialog::~ModalDialog() { HideModeless(); }

std::string ModalDialog::ParentTitle() const { return parent ? parent->Title() : std::string(); }

bool ModalDialog::SetField(const std::string& name, const std::string& value)
{
    for (DialogField& f : fields) {
        if (f.name == name) {
            f.value = value;
            return true;
        }
    }
    return false;
}

const std::string* ModalDialog::Field(const std::string& name) const
{
    for (const DialogField& f : fields)
        if (f.name == name)
            return &f.value;
    return nullptr;
}

bool ModalDialog::ShowModeless()
{
    if (m_modeless || m_running)
        return false;
    try {
        ModelessList().push_back(this);
    } catch (...) {
        return false;
    }
    m_modeless = true;
    try {
        events::Services::Get().Ui().ModelessChanged(*this, true);
    } catch (...) { }
    return true;
}

void ModalDialog::HideModeless()
{
    if (!m_modeless)
        return;
    m_modeless = false;
    auto& list = ModelessList();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    try {
        events::Services::Get().Ui().ModelessChanged(*this, false);
    } catch (...) { }
}

void ModalDialog::ModelessUpdated()
{
    if (!m_modeless)
        return;
    try {
        events::Services::Get().Ui().ModelessChanged(*this, true);
    } catch (...) { }
}

const std::vector<ModalDialog*>& ModalDialog::Modeless() { return ModelessList(); }

events::ModalStatus ModalDialog::RunModal()
{
    if (m_running || m_modeless)
        return events::ModalStatus::kNotRun;
    m_result = 0;
    events::ModalLoop loop(*this);
    const auto handler = m_target.InstallHandler({{events::kEventClassCommand, events::kEventCommandProcess},
                                                     {events::kEventClassWindow, events::kEventWindowClose}},
        [this, &loop](const events::NextHandler&, events::Event& e) {
            if (e.Class() == events::kEventClassWindow) {
                loop.Quit(0);
                return events::kNoErr;
            }
            std::uint32_t command = 0;
            if (!e.GetParam(events::kParamCommandId, command) || command == 0)
                return events::kEventNotHandledErr;
            for (const DialogButton& b : buttons) {
                if (b.command == command) {
                    loop.Quit(static_cast<int>(command));
                    return events::kNoErr;
                }
            }
            return events::kEventNotHandledErr;
        });
    m_running = true;
    const events::ModalStatus status = loop.Run();
    m_running = false;
    m_target.RemoveHandler(handler);
    m_result = status == events::ModalStatus::kQuit ? loop.Result() : 0;
    return status;
}

bool ModalDialog::Press(std::size_t index)
{
    if (index >= buttons.size())
        return false;
    SendCommand(buttons[index].command);
    return true;
}

void ModalDialog::SendCommand(std::uint32_t command)
{
    events::Event e(events::kEventClassCommand, events::kEventCommandProcess);
    e.SetParam(events::kParamCommandId, command);
    m_target.SendEvent(e);
}

int ModalDialog::FindButton(const std::string& label) const
{
    for (std::size_t i = 0; i < buttons.size(); ++i)
        if (buttons[i].label == label)
            return static_cast<int>(i);
    return -1;
}

} // namespace qm::ui
