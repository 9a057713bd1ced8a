#pragma once
// CMsgBox: the message dialog of the window layer. A caption (the window's
// title), a text, the OK button and up to two extra buttons, run through
// CDialog (see base/app/MessageDialog.h for the buttons' commands). Result
// codes: 0 until a command closes it (closing the window gives 0), 2 for
// the OK command, 1 for the first extra button, 3 for the second.

#include "base/app/MessageDialog.h"
#include "base/text/SafeBuf.h"
#include "ui/Dialog.h"

class CMsgBox : public CDialog
{
public:
    CMsgBox() : CDialog("message") { }

    // Each copies the text; null leaves the current one.
    void SetCaption(const unsigned short* caption) { SetWindowText(caption); }
    void SetText(const unsigned short* text);
    void SetOKLabel(const unsigned short* label);     // empty: "OK"
    void SetFirstLabel(const unsigned short* label);  // empty: button hidden
    void SetSecondLabel(const unsigned short* label); // empty: button hidden

    // The button that answers the Return key: 1 the first extra button,
    // 2 the OK button (the default), 3 the second extra button.
    void SetDefaultButton(int which) { m_content.defaultButton = which; }
    int GetDefaultButton() const { return m_content.defaultButton; }
    // A disabled OK button cannot be pressed.
    void EnableOKButton(bool enable) { m_content.okEnabled = enable; }

    // The window the dialog belongs to (CDialog::SetParent; null:
    // application-modal): the dialog shows above it and the driver sees its
    // title. DoModal runs the dialog (CDialog::DoModal).

protected:
    void OnInitDialog() override;
    int ResultForCommand(std::uint32_t command) const override;

private:
    // Keeps a copy of text in store and points field at it; null changes nothing.
    static void KeepText(CSafeBuf& store, const unsigned short*& field, const unsigned short* text);

    // What the dialog shows besides its caption; its texts live in the
    // buffers below.
    MessageDialogContent m_content;
    CSafeBuf m_text;
    CSafeBuf m_okLabel;
    CSafeBuf m_firstLabel;
    CSafeBuf m_secondLabel;
};
