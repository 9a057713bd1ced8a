#pragma once
// CDialog: the window layer's dialog, a window (TWindow) whose content is a
// platform dialog (caption, texts, buttons, fields) that the host's UI
// driver answers. A derived dialog fills that content in OnInitDialog, which
// runs each time the dialog opens; the dialog's caption is then the window's
// title and its parent the parent's window.
//
// DoModal runs the dialog in a modal loop of its own until it closes: a
// button closes it with ResultForCommand(its command), by default the
// button's place counted from 1 (1 for the first action); EndDialog(code),
// called by a handler while it runs, with that code; closing the window, or
// a loop that fails because nobody answers, with 0.
//
// StartModalless(true) shows the dialog without a modal loop: the driver
// may press its buttons at any time, and their commands go to the handlers
// installed on DialogTarget() (the owner's), which end it with EndDialog.
// Closing the window ends it with 0.
//
// A skip-event flag (SetSkipEventVariable) is kept set while the dialog is
// open, modal or not, and gets its old value back when it closes: the
// control answers the browser's events as handled while the flag is set.

#include "platform/events/EventTarget.h"
#include "platform/ui/ModalDialog.h"
#include "ui/Window.h"

#include <cstdint>

class CDialog : public TWindow
{
public:
    // kind: what the driver sees the dialog as ("message", "dialog" ...).
    explicit CDialog(const char* kind = "dialog");
    ~CDialog() override;

    // The window the dialog belongs to and stays above; null: none.
    void SetParent(TWindow* parent) { m_parent = parent; }
    TWindow* GetParent() const { return m_parent; }

    // Runs the dialog modally and answers its result (also kept for
    // GetResult); 0 at once when it is open already. Never throws.
    int DoModal();
    int GetResult() const { return m_result; }

    // true: shows the dialog without a modal loop (false when it is open
    // already or cannot be shown); false: ends a dialog so shown, as
    // EndDialog(0) does (false when it was not).
    bool StartModalless(bool show);

    // Ends the open dialog with result; nothing when it is not open.
    void EndDialog(int result);
    bool IsOpen() const { return m_open; }

    // The flag to keep set while the dialog is open (null: none). Given
    // while the dialog is open, it takes effect when it next opens.
    void SetSkipEventVariable(unsigned char* flag) { m_skipEvent = flag; }

    // Where the dialog's commands and close events go.
    qm::events::EventTarget& DialogTarget() { return m_dialog.Target(); }

protected:
    // Fills the content (texts, buttons, fields) before the dialog opens.
    virtual void OnInitDialog() { }
    // The result for the command of the button that closed the dialog.
    virtual int ResultForCommand(std::uint32_t command) const;
    // The window of a dialog shown without a modal loop was closed; by
    // default that ends it with 0.
    virtual void OnWindowClose() { EndDialog(0); }

    qm::ui::ModalDialog& Dialog() { return m_dialog; }

private:
    // Fills the dialog and marks it open (window shown, flag set).
    void Open();
    // Marks it closed with result (window hidden, flag as it was).
    void Close(int result);

    qm::ui::ModalDialog m_dialog;
    TWindow* m_parent = nullptr;
    unsigned char* m_skipEvent = nullptr;
    unsigned char* m_heldFlag = nullptr; // the flag set while open (its old value: HoldFlag's table)
    qm::events::HandlerId m_modelessHandler = 0;
    bool m_open = false;
    bool m_ended = false; // EndDialog ended the modal loop with m_endResult
    int m_endResult = 0;
    int m_result = 0;
};
