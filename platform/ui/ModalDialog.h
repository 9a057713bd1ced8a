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
//
// A dialog may belong to a window (parent; the driver sees its title), name
// the button that Return presses, and carry named fields (a property page's
// attributes) that the driver can edit. It can also be shown without a
// modal loop (ShowModeless): it is then listed process-wide until it is
// hidden or destroyed, and the driver may press its buttons at any time;
// its owner's handlers on Target() do the work.

#include "platform/events/EventTarget.h"
#include "platform/events/ModalLoop.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qm::ui {

class Window;

struct DialogButton
{
    std::string label;         // UTF-8
    std::uint32_t command = 0; // sent when pressed; non-zero
};

struct DialogField
{
    std::string name;  // e.g. an attribute name
    std::string value; // UTF-8
};

class ModalDialog : public events::ModalSubject
{
public:
    explicit ModalDialog(std::string kind = "dialog");
    ~ModalDialog() override;
    ModalDialog(const ModalDialog&) = delete;
    ModalDialog& operator=(const ModalDialog&) = delete;

    std::string ModalKind() const override { return m_kind; }
    events::EventTarget& ModalTarget() override { return m_target; }
    events::EventTarget& Target() { return m_target; }

    // UTF-8 texts; what each text means is the creator's convention (the
    // message dialog: its message; an input dialog: the prompt and the field).
    std::string caption;
    std::vector<std::string> texts;
    std::vector<DialogButton> buttons;
    std::vector<DialogField> fields;
    const Window* parent = nullptr; // null: application-modal
    int defaultButton = -1;         // index of the button Return presses; -1: none

    // The parent's title; empty without a parent.
    std::string ParentTitle() const;
    // Sets the value of the first field of that name; false when none.
    bool SetField(const std::string& name, const std::string& value);
    // The value of the first field of that name; null when none.
    const std::string* Field(const std::string& name) const;

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

    // Shows the dialog without a modal loop (false when it is already shown
    // or running modally); hiding it (or destroying it) takes it off the list.
    bool ShowModeless();
    void HideModeless();
    // Tells the driver that a dialog shown without a modal loop changed
    // (its caption, buttons or fields), so that it shows it anew.
    void ModelessUpdated();
    bool IsModeless() const { return m_modeless; }
    // The dialogs shown modelessly, in the order they were shown.
    static const std::vector<ModalDialog*>& Modeless();

private:
    std::string m_kind;
    events::EventTarget m_target;
    int m_result = 0;
    bool m_running = false;
    bool m_modeless = false;
};

} // namespace qm::ui
