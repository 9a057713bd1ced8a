#pragma once
// A modal window at its simplest: a caption, texts, buttons and a command
// result. RunModal runs it through the events module's modal loop, so the
// host's UI driver answers it: the driver may change the texts (typing into a
// field), press a button, or close the window.
//
// Pressing a button sends the button's command to the window's event target;
// a handler installed by RunModal ends the loop with that command as the
// result. Closing the window ends it with result 0. Other handlers installed
// on Target() see the commands first and may end the loop themselves
// (events::ModalLoop::QuitFor).

#include "platform/events/EventTarget.h"
#include "platform/events/ModalLoop.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qm::ui {

struct DialogButton
{
    std::string label;         // UTF-8
    std::uint32_t command = 0; // sent when pressed; non-zero
};

class ModalDialog : public events::ModalSubject
{
public:
    explicit ModalDialog(std::string kind = "dialog");

    std::string ModalKind() const override { return m_kind; }
    events::EventTarget& ModalTarget() override { return m_target; }
    events::EventTarget& Target() { return m_target; }

    // UTF-8 texts; what each text means is the creator's convention (the
    // message dialog: its message; an input dialog: the prompt and the field).
    std::string caption;
    std::vector<std::string> texts;
    std::vector<DialogButton> buttons;

    // Runs the dialog modally. Answers the loop's status; Result() holds the
    // command that ended it (0 when it was closed or the loop failed).
    events::ModalStatus RunModal();
    int Result() const { return m_result; }
    bool IsRunning() const { return m_running; }

    // For the UI driver: presses the button at a 0-based index (false when
    // there is none) or sends a command to the window.
    bool Press(std::size_t index);
    void SendCommand(std::uint32_t command);
    // The index of the first button with that label, -1 when none.
    int FindButton(const std::string& label) const;

private:
    std::string m_kind;
    events::EventTarget m_target;
    int m_result = 0;
    bool m_running = false;
};

} // namespace qm::ui
