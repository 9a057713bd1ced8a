#pragma once
// CMsgBox: the message dialog of the window layer. A caption, a text, the OK
// button and up to two extra buttons, run modally through the platform's
// modal loop (see base/app/MessageDialog.h for the buttons' commands). Result
// codes: 0 until a command closes it (closing the window gives 0), 2 for
// the OK command, 1 for the first extra button, 3 for the second.

#include "base/app/MessageDialog.h"
#include "base/text/SafeBuf.h"

class TWindow;

class CMsgBox
{
public:
    CMsgBox() = default;
    virtual ~CMsgBox() = default;
    // The dialog's content points into the box's own copies of its texts.
    CMsgBox(const CMsgBox&) = delete;
    CMsgBox& operator=(const CMsgBox&) = delete;

    // Each copies the text; null leaves the current one.
    void SetCaption(const unsigned short* caption);
    void SetText(const unsigned short* text);
    void SetOKLabel(const unsigned short* label);     // empty: "OK"
    void SetFirstLabel(const unsigned short* label);  // empty: button hidden
    void SetSecondLabel(const unsigned short* label); // empty: button hidden

    // The button that answers the Return key: 1 the first extra button,
    // 2 the OK button (the default), 3 the second extra button.
    void SetDefaultButton(int which) { m_defaultButton = which; }
    int GetDefaultButton() const { return m_defaultButton; }
    // A disabled OK button cannot be pressed.
    void EnableOKButton(bool enable) { m_content.okEnabled = enable; }

    // The window the dialog belongs to (null: application-modal); the
    // dialog shows above it and the driver sees its title.
    void SetParent(TWindow* parent) { m_parent = parent; }
    TWindow* GetParent() const { return m_parent; }

    // Runs the dialog; answers the result code (also kept for GetResult).
    int DoModal();
    int GetResult() const { return m_result; }

private:
    // Keeps a copy of text in store and points field at it; null changes nothing.
    static void KeepText(CSafeBuf& store, const unsigned short*& field, const unsigned short* text);

    // What the dialog shows; its texts live in the buffers below.
    MessageDialogContent m_content;
    CSafeBuf m_caption;
    CSafeBuf m_text;
    CSafeBuf m_okLabel;
    CSafeBuf m_firstLabel;
    CSafeBuf m_secondLabel;
    TWindow* m_parent = nullptr;
    int m_defaultButton = 2;
    int m_result = 0;
};
