#pragma once
// ShowMsg: shows the message dialog (CMsgBox) and answers its result code:
// 0 when it was closed without a command, 2 for OK, 3 for the second button.
// caption, text and the OK button's label are set when given; the second
// button is shown when secondLabel is given and not empty. With a parent the
// dialog belongs to that window and, while it runs, shares a new window group
// with it (the parent then goes back to its own group); without one it is
// application-modal.

class TWindow;

int ShowMsg(const unsigned short* caption, const unsigned short* text,
    const unsigned short* firstLabel = nullptr, TWindow* parent = nullptr,
    const unsigned short* secondLabel = nullptr);
